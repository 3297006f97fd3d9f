#pragma once

// The 3D content of a game frame at rest: the board mesh, the pieces of the game board on
// their squares and the highlight quads of the selection, in the world frame of world.h.

class Mesh;

// The loaded mesh of piece type 1..6 or of the board (7); null for any other slot or before
// the models are loaded.
Mesh* meshOf(int slot);

// Turns a Black piece (a negative code) half a turn about its square's centre, on the current
// model-view matrix; a White one stays as modelled.
void turnBlackPiece(int code);

// Draws the mesh of the type of piece `code` (1..6 White, -1..-6 Black) in its colour's
// material (0 Black, 1 White) on the current model-view matrix, leaving the mesh as it was.
// A piece is a closed solid, so its back faces are culled: they lie behind its front faces,
// and skipping them nearly halves the triangles a frame rasterizes.
void drawPieceMesh(int code);

// Draws the piece `code` (1..6 White, -1..-6 Black) standing on (file, rank).
void placePiece(int code, int file, int rank);

// Draws the board mesh and every piece except those standing on the given squares.
struct SkippedSquares {
    int file[3];
    int rank[3];
};
void drawPiecesExcept(const SkippedSquares& skipped);

// Draws the board mesh and every piece of the game board.
void drawPieces();

// One flat textured quad covering the square; the caller binds the texture and sets the colour.
void drawSquareQuad(int file, int rank);

// The selected square and its legal destinations in the highlight picture, in white.
void drawHighlights();
