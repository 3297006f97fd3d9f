#include "scene/animation.h"

#include <GL/gl.h>

#include <cmath>

#include "app/core/state.h"
#include "app/core/turn.h"
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
    turnBlackPiece(moveAnim.movingPiece);
    drawPieceMesh(moveAnim.movingPiece);
    glPopMatrix();
}

void drawSinkingPiece(float t) {
    const int code = moveAnim.capturedPiece;
    if (!isPieceCode(code)) return;
    glPushMatrix();
    glTranslatef(squareX(moveAnim.captureFile), -2.0f * t, squareZ(moveAnim.captureRank));
    turnBlackPiece(code);
    drawPieceMesh(code);
    glPopMatrix();
}

void drawSpinningPiece(float t) {
    // The promoting side is still the application's side to move: the turn has not passed
    // yet. The pawn and the chosen piece take its colour and its half turn.
    const int side = anyAppBit(AppBlackTurn) ? -1 : 1;
    glPushMatrix();
    glTranslatef(squareX(moveAnim.fromFile), arcHeight(t), squareZ(moveAnim.fromRank));
    glTranslatef(0.5f, 0.0f, -0.5f);
    glRotatef(t * 360.0f, 0.0f, 1.0f, 0.0f);
    glTranslatef(-0.5f, 0.0f, 0.5f);
    turnBlackPiece(side);
    if (t < 0.5f) {
        drawPieceMesh(side * typeOf(moveAnim.movingPiece));
    } else if (isPieceCode(moveAnim.newPiece)) {
        drawPieceMesh(side * typeOf(moveAnim.newPiece));
    }
    glPopMatrix();
}

} // namespace

void drawMoveAnim() {
    drawStillPieces();
    if (!isPieceCode(moveAnim.movingPiece)) return;
    const float t = phaseProgress();
    drawFlyingPiece(t);
    drawSinkingPiece(t);
}

void drawPromotionAnim() {
    drawStillPieces();
    if (isPieceCode(moveAnim.movingPiece)) drawSpinningPiece(phaseProgress());
}
