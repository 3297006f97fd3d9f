#pragma once

// The view of the board: the resting camera of the side to move, and the camera that swings
// half a turn about the board between turns. Both multiply the current model-view matrix;
// the caller loads the identity first.

// Looks from White's eye (4, 10, -13) while White is to move or the camera is fixed, else
// from Black's eye (4, 10, 5).
void setRestingCamera();

// Looks from the turning camera at the running phase's progress.
void setTurningCamera();
