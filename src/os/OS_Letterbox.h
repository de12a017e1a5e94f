#pragma once

#include "os/OS_Geometry.h"

// A picture of one size shown as large as it fits in a window of another,
// its aspect kept and centred between bars, and points carried between the
// two. Internal to the OS layer (full screen at the desktop size).
namespace os::detail {

// Where the picture lands in the window (window coordinates, y down).
Rect LetterboxArea(Size picture, Size window);

// A window point in picture coordinates (points on the bars lie outside
// the picture), and back.
Point WindowToPicture(Point point, Size picture, Size window);
Point PictureToWindow(Point point, Size picture, Size window);

}  // namespace os::detail
