#pragma once

// The timed phases that show a move: the piece flying to its square while a captured piece
// sinks, and a promoted pawn rising, spinning and changing. Each draws the board and the
// pieces in place of drawPieces at the running phase's progress; the advance of the game
// ends the phases.

// Draws the move animation.
void drawMoveAnim();

// Draws the promotion animation.
void drawPromotionAnim();
