#include "scene/pieces.h"
#include "scene/world.h"

#include <GL/gl.h>

#include "app/core/turn.h"
#include "assets/loading.h"
#include "assets/mesh.h"
#include "assets/texture.h"
#include "chess/board.h"

namespace {

constexpr int boardSlot = 7;

bool onBoard(int file, int rank) { return file >= 1 && file <= 8 && rank >= 1 && rank <= 8; }

bool isSkipped(const SkippedSquares& skipped, int file, int rank) {
    for (int i = 0; i < 3; ++i)
        if (skipped.file[i] == file && skipped.rank[i] == rank) return true;
    return false;
}

} // namespace

Mesh* meshOf(int slot) {
    if (!meshTable || slot < 1 || slot > boardSlot) return nullptr;
    return meshTable[slot];
}

void turnBlackPiece(int code) {
    if (code >= 0) return;
    glTranslatef(1.0f, 0.0f, -1.0f);
    glRotatef(180.0f, 0.0f, 1.0f, 0.0f);
}

void drawPieceMesh(int code) {
    const int type = typeOf(code);
    const Mesh* const mesh = type == boardSlot ? nullptr : meshOf(type);
    if (!mesh) return;
    glEnable(GL_CULL_FACE);
    mesh->drawInMaterial(code < 0 ? 0 : 1);
    glDisable(GL_CULL_FACE);
}

void placePiece(int code, int file, int rank) {
    if (!isPieceCode(code)) return;
    glPushMatrix();
    glTranslatef(squareX(file), 0.0f, squareZ(rank));
    turnBlackPiece(code);
    drawPieceMesh(code);
    glPopMatrix();
}

// The board goes to the renderer on its own: a software renderer rasterises it on its other
// threads while this one transforms the pieces, instead of all at the buffer swap.
void drawPiecesExcept(const SkippedSquares& skipped) {
    if (Mesh* const boardMesh = meshOf(boardSlot)) boardMesh->draw();
    glFlush();
    for (int file = 1; file <= 8; ++file)
        for (int rank = 1; rank <= 8; ++rank) {
            if (isSkipped(skipped, file, rank)) continue;
            const int code = board.squares[squareIndex(file, rank)].piece;
            if (isPieceCode(code)) placePiece(code, file, rank);
        }
}

void drawPieces() { drawPiecesExcept({{-1, -1, -1}, {-1, -1, -1}}); }

void drawSquareQuad(int file, int rank) {
    const float x0 = squareX(file), x1 = x0 + 1.0f;
    const float z1 = squareZ(rank), z0 = z1 - 1.0f;
    glBegin(GL_QUADS);
    glTexCoord2f(0.0f, 0.0f);
    glVertex3f(x0, 0.0f, z1);
    glTexCoord2f(0.0f, 1.0f);
    glVertex3f(x0, 0.0f, z0);
    glTexCoord2f(1.0f, 1.0f);
    glVertex3f(x1, 0.0f, z0);
    glTexCoord2f(1.0f, 0.0f);
    glVertex3f(x1, 0.0f, z1);
    glEnd();
}

// Only squares on the board are highlighted: a selection or target outside it draws nothing.
void drawHighlights() {
    glColor3f(1.0f, 1.0f, 1.0f);
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, pictureTextures[PictureHighlight]);
    if (onBoard(selection.selFile, selection.selRank))
        drawSquareQuad(selection.selFile, selection.selRank);
    for (const MoveTarget* target = selection.targets; target; target = target->next)
        if (onBoard(target->file, target->rank)) drawSquareQuad(target->file, target->rank);
    glDisable(GL_TEXTURE_2D);
}
