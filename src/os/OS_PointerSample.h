#pragma once

#include "os/OS_Geometry.h"
#include "os/OS_X11Display.h"

#include <optional>

// Internal to the OS layer. Every question to the X display is a round trip
// to its server, so the pointer is asked once a frame: at the end of each
// pump, for its buttons, its position and where a window stands together.
// Until the next pump the position is read from that answer; a warp of the
// game's own makes it stale.
namespace os::detail {

// Asks the display now and keeps its answer; nothing off X11.
std::optional<x11::PointerReading> SamplePointer();
// The kept position, asked anew when none is kept.
std::optional<Point> SampledPointerPosition();
// The pointer was put elsewhere, or video started again.
void ForgetPointerSample();

}  // namespace os::detail
