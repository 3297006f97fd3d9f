#include "scene/animation.h"

#include <GL/gl.h>

#include <cmath>

#include "app/core/state.h"
#include "app/core/turn.h"
#include "assets/mesh.h"
#include "chess/board.h"
#include "scene/pieces.h"
#include "scene/world.h"

namespace {

// The pieces at rest, without the ones the animation draws itself.
void drawStillPieces() {
    drawPiecesExcept({{moveAnim.fromFile, moveAnim.toFile, moveAnim.captureFile},
                      {moveAnim.fromRank, moveAnim.toRank, moveAnim.captureRank}});
}

// Height of the arc, highest (2 units) halfway through the phase.
float arcHeight(float t) { return 2.0f * std::sin(pi * t); }

void drawFlyingPiece(float t) {
    const float file = moveAnim.fromFile * (1.0f - t) + moveAnim.toFile * t;
    const float rank = moveAnim.fromRank * (1.0f - t) + moveAnim.toRank * t;
    glPushMatrix();
    glTranslatef(squareX(file), arcHeight(t), squareZ(rank));
    orientAndColour(moveAnim.movingPiece);
    drawPieceMesh(typeOf(moveAnim.movingPiece));
    glPopMatrix();
}

void drawSinkingPiece(float t) {
    const int code = moveAnim.capturedPiece;
    if (!isPieceCode(code)) return;
    glPushMatrix();
    glTranslatef(squareX(moveAnim.captureFile), -2.0f * t, squareZ(moveAnim.captureRank));
    orientAndColour(code);
    drawPieceMesh(typeOf(code));
    glPopMatrix();
}

void endMoveAnim() {
    clearAppBits(AppMoveAnim);
    if (board.status & PromotionPending) {
        setAppBits(AppPromotionPrompt);
        return;
    }
    handOver();
}

// The promoting side is still the application's side to move: the turn has not passed yet.
void colourPromotedPiece(Mesh* pawn, Mesh* chosen) {
    const int material = anyAppBit(AppBlackTurn) ? 0 : 1;
    if (material == 0) {
        glTranslatef(1.0f, 0.0f, -1.0f);
        glRotatef(180.0f, 0.0f, 1.0f, 0.0f);
    }
    if (pawn) pawn->setPartMaterial(material, 0);
    if (chosen) chosen->setPartMaterial(material, 0);
}

void drawSpinningPiece(float t) {
    Mesh* const pawn = meshOf(typeOf(moveAnim.movingPiece));
    Mesh* const chosen =
        isPieceCode(moveAnim.newPiece) ? meshOf(typeOf(moveAnim.newPiece)) : nullptr;
    glPushMatrix();
    glTranslatef(squareX(moveAnim.fromFile), arcHeight(t), squareZ(moveAnim.fromRank));
    glTranslatef(0.5f, 0.0f, -0.5f);
    glRotatef(t * 360.0f, 0.0f, 1.0f, 0.0f);
    glTranslatef(-0.5f, 0.0f, 0.5f);
    colourPromotedPiece(pawn, chosen);
    if (t < 0.5f) {
        drawPieceMesh(typeOf(moveAnim.movingPiece));
    } else if (chosen) {
        drawPieceMesh(typeOf(moveAnim.newPiece));
    }
    glPopMatrix();
}

} // namespace

void drawMoveAnim() {
    drawStillPieces();
    const float t = phaseProgress();
    if (!isPieceCode(moveAnim.movingPiece)) {
        endMoveAnim();
        return;
    }
    drawFlyingPiece(t);
    drawSinkingPiece(t);
    if (t < 1.0f) return;
    endMoveAnim();
}

void drawPromotionAnim() {
    drawStillPieces();
    const float t = phaseProgress();
    if (isPieceCode(moveAnim.movingPiece)) drawSpinningPiece(t);
    if (t < 1.0f) return;
    clearAppBits(AppPromotionAnim);
    handOver();
}

void handOver() {
    const bool boardHasPassed = (anyAppBit(AppBlackTurn) && board.sideToMove == 1) ||
                                (anyAppBit(AppWhiteTurn) && board.sideToMove == -1);
    if (!boardHasPassed) return;
    switchTurn();
    startCameraTurn();
}
