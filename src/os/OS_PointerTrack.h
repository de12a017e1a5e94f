#pragma once

#include "os/OS_Geometry.h"

struct SDL_Window;

// Internal to the OS layer. Where the pointer stands on the desktop while it
// is over a window of the game, as that window's own motion events place it.
// The display server reports motion to the window under the pointer whatever
// moved it (a device, XTest input from a remote desktop, another program's
// warp); SDL's desktop query is refreshed only by a physical device's raw
// events. Each motion is placed with the window's origin as it was when the
// motion came, so a window that moves later under a still pointer leaves the
// point where the pointer is.
namespace os::detail {

// Follows the motion SDL takes from now on; called whenever video starts.
void WatchPointer();
// The desktop point of the last motion over the window; without one, SDL's
// position within the window from the window's origin.
Point PointerOverWindow(SDL_Window* window);
// A warp puts the pointer at once, before its motion comes from the display.
void NotePointerWarp(SDL_Window* window, Point position);

}  // namespace os::detail
