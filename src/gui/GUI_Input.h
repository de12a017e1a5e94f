#pragma once

#include "math/Math_Vector2D.h"

// What the GUI reads of the process-wide mouse and keyboard. Without a
// device (a test that made none) the frame sees no input: no button, no key,
// the mouse at (0, 0) inside the window.
namespace GUI::input {

// The mouse's integer client position (y from the bottom) as floats.
Vector2D GetMousePosition();
bool IsMouseInWindow();
bool IsMouseMoved();
// Buttons 0 left, 1 middle, 2 right.
bool IsMouseButtonPressed(int button);
bool IsMouseButtonDown(int button);
bool IsMouseButtonUp(int button);
bool IsAnyMouseButtonPressed();
bool IsAnyMouseButtonDown();
bool IsAnyMouseButtonUp();
bool IsKeyTriggered(int keyId);
// Nothing without a mouse.
void ShowSystemCursor(bool show);
// Moves the cursor to a GUI point: a non-finite point is ignored, a finite
// one clamped to the client area before it becomes whole pixels.
void WarpMouse(const Vector2D& position);

}  // namespace GUI::input
