#pragma once

#include "gui/GUI_NRectangle.h"
#include "math/Math_Color.h"
#include "math/Math_Vector2D.h"

namespace GUI {

class Control;

// Lays the control's text out in its font from origin (the first line's
// lower-left), clipped to clip, in colour at the control's effective opacity
// just in front of the control (depth + 0.1), and queues it. Nothing without
// text, font or the GUI graphics object.
void DrawControlText(const Control& control, const Vector2D& origin, const NRectangle& clip, const Color& color);

}  // namespace GUI
