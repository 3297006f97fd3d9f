#pragma once

// The timed phases that show a move: the piece flying to its square while a captured piece
// sinks, and a promoted pawn rising, spinning and changing. Each draws the board and the
// pieces in place of drawPieces and, in its first frame with progress 1, ends its phase.

// Draws the move animation; at its end raises the promotion prompt or hands the turn over.
void drawMoveAnim();

// Draws the promotion animation; at its end hands the turn over.
void drawPromotionAnim();

// Passes the turn to the other side and starts the camera turn when the game board has
// passed the move but the application's turn bits have not yet followed.
void handOver();
