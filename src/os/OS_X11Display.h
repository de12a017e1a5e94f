#pragma once

#include "os/OS_Geometry.h"

#include <cstdint>
#include <optional>

struct SDL_Window;
union SDL_Event;

// Internal to the OS layer: what is asked of the X display itself, where
// SDL keeps cached copies that go stale (the pointer, its buttons, a
// window's place) or makes requests that race the window manager. On any
// other video driver every query answers nothing and nothing is done.
namespace os::detail::x11 {

// Whether SDL's video runs on the X11 driver.
bool UsesX11();

// Called before video starts. A lost connection to the display then ends
// the process at once, whichever thread meets it: one line on stderr
// saying so, status 1, and no exit handlers. Xlib's own ending runs them:
// SDL's shutdown among them would wait on the dead connection for ever,
// and OpenAL's cleanup would race the sound threads still running.
void EndTheProcessOnALostDisplay();

// Called whenever video starts. An error the display reports about a window
// that no longer is what a request took it for (the window manager dropped
// or replaced its frame, or unmapped the window, between two requests of
// SDL's) leaves the program running; any other error is reported as
// before, and a lost connection still ends the program.
void TolerateVanishedWindows();

// The pointer on the desktop and the buttons the display holds down, as
// SDL_BUTTON masks (left, middle, right; the display does not report the
// side buttons); and, for a window of the game, where its client area
// stands on the desktop.
struct PointerReading {
    Point position;
    std::uint32_t buttons = 0;
    SDL_Window* window = nullptr;
    Point clientOrigin;
};
// All of it as the display has it now, in one round trip.
std::optional<PointerReading> ReadPointer();
// The pointer on the desktop, as the display has it now.
std::optional<Point> PointerPosition();
// Where the window's client area stands on the desktop now.
std::optional<Point> ClientOrigin(SDL_Window* window);
// Whether a window manager announces itself and takes a window to full
// screen when asked (_NET_WM_STATE_FULLSCREEN); any other leaves placing
// and sizing the window to the game.
bool WindowManagerFullScreens();
// The window manager's frame around the window, the X border included, in
// desktop coordinates: the window the game's one was reparented into.
// Nothing while the window is not reparented.
std::optional<Rect> FrameRect(SDL_Window* window);
// Asks the display to move the window (its frame, to most window managers)
// there, whatever SDL's copy of its state: SDL moves a window it holds full
// screen only once it leaves.
void MoveWindow(SDL_Window* window, Point place);
// Waits until the window manager has let go of a window the game withdrew
// (it removes the window's WM_STATE or marks it withdrawn), as a window is
// only mapped again after that: a manager still handling the withdrawal
// would take the new map for part of it and withdraw the window for good.
// Waits a second at most.
void AwaitWithdrawal(SDL_Window* window);

// Keeps the pointer where it stands on the desktop across SDL calls that
// put it back where it was within the window (entering or leaving full
// screen, showing or hiding a window): a window changing its place or its
// mode never moves the player's pointer. A pointer the player moved
// meanwhile is left where the player took it.
class PointerKeeper {
public:
    explicit PointerKeeper(SDL_Window* window);
    ~PointerKeeper();
    PointerKeeper(const PointerKeeper&) = delete;
    PointerKeeper& operator=(const PointerKeeper&) = delete;

private:
    SDL_Window* m_window;
    std::optional<Point> m_position;
};

// The SDL button (SDL_BUTTON_LEFT ...) a raw display event presses (true
// in *down) or releases over a window of the game; nothing for any other
// event. Raw events come before SDL's own handling, which drops a press it
// thinks is already held and, by default, the press that focuses a window.
std::optional<std::uint8_t> ButtonOfRawEvent(const SDL_Event& event, bool* down);

}  // namespace os::detail::x11
