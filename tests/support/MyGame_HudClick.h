#pragma once

#include "math/Math_Vector2D.h"

// The game's own HUD used as a player uses it: the headless cursor and the
// left mouse button, read by the game's mouse at each frame's poll, over
// frames of the game of the running test (MyGameTest).
namespace mygametest {

// A HUD point (origin at the centre of the 1024 x 768 view, y up) as the
// client pixel the menus read (x from the left, y from the bottom).
Vector2D ClientPixelOf(const Vector2D& hudPoint);

// The cursor over the HUD point from the next poll on; false without a
// running game.
bool PointAt(const Vector2D& hudPoint);
// The left button held or let go from the next poll on.
void HoldLeftButton(bool down);
// On SDL's offscreen driver: the window's events taken, as the program's
// loop does before each frame, a held button pressed again first (no button
// stays down there). The game fixture's steps do it. Nothing on the
// headless backend, whose keys and cursor act at once.
void PumpOffscreenInput();

// The left button goes down for a frame and comes up in the next, wherever
// the cursor is.
void PressAndRelease();
// A click in three frames: the cursor enters at the point, the left button
// goes down, then comes up there. False without a running game.
bool ClickAt(const Vector2D& hudPoint);

}  // namespace mygametest
