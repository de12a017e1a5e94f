#include "os/OS_X11Display.h"

#include "os/OS_WindowSystem.h"
#include "os/OS_X11DisplayTestHooks.h"

// Xlib's macros (None, Status, Bool) would break the files batched after
// this one; it is compiled alone.
#include <SDL.h>
#include <SDL_syswm.h>
#include <X11/Xlib.h>
#include <X11/Xatom.h>
#include <X11/Xproto.h>
#include <X11/Xutil.h>

#include <algorithm>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <unistd.h>

namespace os::detail::x11 {
namespace {

// Xlib's error handler is one for the process; the one in place before
// ours (SDL's, which restores the desktop's mode and passes on to Xlib's
// own, which ends the program) still gets every other error.
XErrorHandler g_previousHandler = nullptr;

bool AboutAVanishedWindow(const XErrorEvent& error) {
    switch (error.error_code) {
        case BadWindow:
        case BadDrawable:
            return true;
        case BadMatch:
            // Focus given to, or a window stacked against, one unmapped meanwhile.
            return error.request_code == X_SetInputFocus || error.request_code == X_ConfigureWindow;
        default:
            return false;
    }
}

int TolerateOrPassOn(Display* display, XErrorEvent* error) {
    if (AboutAVanishedWindow(*error)) {
        return 0;
    }
    return g_previousHandler != nullptr ? g_previousHandler(display, error) : 0;
}

// Made before any connection can be lost: the handler runs amid whatever
// the thread that met the loss was doing, so it only writes and ends.
char g_lostDisplayLine[256] = {};
int g_lostDisplayLineLength = 0;

int EndOnLostConnection(Display*) {
    // A reader gone from a piped stderr must not turn the ending into a signal.
    std::signal(SIGPIPE, SIG_IGN);
    // Straight to the descriptor: the interrupted code may hold stderr's lock.
    [[maybe_unused]] const ssize_t written =
        ::write(STDERR_FILENO, g_lostDisplayLine, static_cast<std::size_t>(g_lostDisplayLineLength));
    ::_exit(1);
}

bool WmInfo(SDL_Window* window, SDL_SysWMinfo* info) {
    SDL_VERSION(&info->version);
    return window != nullptr && SDL_GetWindowWMInfo(window, info) == SDL_TRUE && info->subsystem == SDL_SYSWM_X11;
}

// Any window of the game, with SDL's X11 details of it; null without one or off X11.
SDL_Window* AnyWindow(SDL_SysWMinfo* info) {
    for (const WindowRecord* record : LiveWindows()) {
        SDL_Window* window = record->system->Native(*record);
        if (WmInfo(window, info)) {
            return window;
        }
    }
    return nullptr;
}

// SDL's connection, reached through any window of the game; null without one or off X11.
Display* Connection() {
    SDL_SysWMinfo info;
    return AnyWindow(&info) != nullptr ? info.info.x11.display : nullptr;
}

bool IsWindowOfTheGame(::Window window) {
    for (const WindowRecord* record : LiveWindows()) {
        SDL_SysWMinfo info;
        if (WmInfo(record->system->Native(*record), &info) && info.info.x11.window == window) {
            return true;
        }
    }
    return false;
}

struct PointerState {
    Point position;
    unsigned int mask = 0;
    SDL_Window* window = nullptr;
    Point clientOrigin;
};

// Asked on the main thread only.
int g_pointerQueries = 0;
int g_originQueries = 0;

std::optional<PointerState> QueryPointer() {
    SDL_SysWMinfo info;
    PointerState state;
    state.window = AnyWindow(&info);
    if (state.window == nullptr) {
        return std::nullopt;
    }
    ++g_pointerQueries;
    ::Window root = 0;
    ::Window child = 0;
    Point withinWindow;
    // Asked about a window, the display also tells where the pointer is
    // within it. False while the pointer is on another screen of the display.
    if (!XQueryPointer(info.info.x11.display, info.info.x11.window, &root, &child, &state.position.x,
                       &state.position.y, &withinWindow.x, &withinWindow.y, &state.mask)) {
        return std::nullopt;
    }
    state.clientOrigin = {state.position.x - withinWindow.x, state.position.y - withinWindow.y};
    return state;
}

// A property of a window as the display has it, 32-bit items of the type
// asked; none when it is missing or of another type.
class WindowProperty {
public:
    WindowProperty(Display* display, ::Window window, Atom property, Atom type, long items) {
        Atom actual = 0;
        int format = 0;
        unsigned long after = 0;
        if (XGetWindowProperty(display, window, property, 0, items, False, type, &actual, &format, &m_count, &after,
                               &m_data) != Success ||
            actual != type || format != 32) {
            m_count = 0;
        }
    }
    ~WindowProperty() {
        if (m_data != nullptr) {
            XFree(m_data);
        }
    }
    WindowProperty(const WindowProperty&) = delete;
    WindowProperty& operator=(const WindowProperty&) = delete;

    // Xlib hands 32-bit items over as longs.
    const unsigned long* begin() const {
        return m_count > 0 ? reinterpret_cast<const unsigned long*>(m_data) : nullptr;
    }
    const unsigned long* end() const { return begin() + m_count; }
    unsigned long Count() const { return m_count; }

private:
    unsigned char* m_data = nullptr;
    unsigned long m_count = 0;
};

// The window a window manager names on the root window, if it names itself there too.
::Window SupportingWindow(Display* display, ::Window window, Atom check) {
    const WindowProperty named(display, window, check, XA_WINDOW, 1);
    return named.Count() == 1 ? *named.begin() : 0;
}

// Whether the window manager lists the _NET_WM_STATE among those it supports.
bool SupportsState(Display* display, Atom state) {
    const WindowProperty supported(display, DefaultRootWindow(display),
                                   XInternAtom(display, "_NET_SUPPORTED", False), XA_ATOM, 4096);
    return std::find(supported.begin(), supported.end(), state) != supported.end();
}

// 0 when the window is gone.
::Window ParentOf(Display* display, ::Window window) {
    ::Window root = 0;
    ::Window parent = 0;
    ::Window* children = nullptr;
    unsigned int count = 0;
    if (XQueryTree(display, window, &root, &parent, &children, &count) == 0) {
        return 0;
    }
    if (children != nullptr) {
        XFree(children);
    }
    return parent;
}

// Whether the window manager still holds the window: its WM_STATE says
// normal or iconic (ICCCM). Asked after a round trip.
bool ManagedState(Display* display, ::Window window) {
    XSync(display, False);
    const Atom wmState = XInternAtom(display, "WM_STATE", False);
    const WindowProperty state(display, window, wmState, wmState, 1);
    return state.Count() == 1 && static_cast<long>(*state.begin()) != WithdrawnState;
}

}  // namespace

bool UsesX11() {
    const char* driver = SDL_GetCurrentVideoDriver();
    return driver != nullptr && SDL_strcmp(driver, "x11") == 0;
}

void EndTheProcessOnALostDisplay() {
    const int length = std::snprintf(g_lostDisplayLine, sizeof g_lostDisplayLine, "%s: the display was lost\n",
                                     program_invocation_short_name);
    g_lostDisplayLineLength = std::clamp(length, 0, static_cast<int>(sizeof g_lostDisplayLine) - 1);
    XSetIOErrorHandler(&EndOnLostConnection);
}

void TolerateVanishedWindows() {
    if (!UsesX11()) {
        return;
    }
    const XErrorHandler previous = XSetErrorHandler(&TolerateOrPassOn);
    if (previous != &TolerateOrPassOn) {
        g_previousHandler = previous;
    }
}

int PointerQueryCount() { return g_pointerQueries; }

int OriginQueryCount() { return g_originQueries; }

std::optional<Point> PointerPosition() {
    const std::optional<PointerState> state = QueryPointer();
    return state ? std::optional<Point>(state->position) : std::nullopt;
}

std::optional<PointerReading> ReadPointer() {
    const std::optional<PointerState> state = QueryPointer();
    if (!state) {
        return std::nullopt;
    }
    PointerReading reading{state->position, 0, state->window, state->clientOrigin};
    reading.buttons |= (state->mask & Button1Mask) != 0 ? SDL_BUTTON_LMASK : 0u;
    reading.buttons |= (state->mask & Button2Mask) != 0 ? SDL_BUTTON_MMASK : 0u;
    reading.buttons |= (state->mask & Button3Mask) != 0 ? SDL_BUTTON_RMASK : 0u;
    return reading;
}

std::optional<Point> ClientOrigin(SDL_Window* window) {
    SDL_SysWMinfo info;
    if (!WmInfo(window, &info)) {
        return std::nullopt;
    }
    ++g_originQueries;
    Display* display = info.info.x11.display;
    Point origin;
    ::Window child = 0;
    if (!XTranslateCoordinates(display, info.info.x11.window, DefaultRootWindow(display), 0, 0, &origin.x, &origin.y,
                               &child)) {
        return std::nullopt;
    }
    return origin;
}

bool WindowManagerFullScreens() {
    Display* display = Connection();
    if (display == nullptr) {
        return false;
    }
    const Atom check = XInternAtom(display, "_NET_SUPPORTING_WM_CHECK", False);
    const ::Window named = SupportingWindow(display, DefaultRootWindow(display), check);
    return named != 0 && SupportingWindow(display, named, check) == named &&
           SupportsState(display, XInternAtom(display, "_NET_WM_STATE_FULLSCREEN", False));
}

std::optional<Rect> FrameRect(SDL_Window* window) {
    SDL_SysWMinfo info;
    if (!WmInfo(window, &info)) {
        return std::nullopt;
    }
    Display* display = info.info.x11.display;
    const ::Window root = DefaultRootWindow(display);
    ::Window topLevel = info.info.x11.window;
    for (::Window parent = ParentOf(display, topLevel); parent != root; parent = ParentOf(display, topLevel)) {
        if (parent == 0) {
            return std::nullopt;
        }
        topLevel = parent;
    }
    XWindowAttributes frame;
    if (topLevel == info.info.x11.window || XGetWindowAttributes(display, topLevel, &frame) == 0) {
        return std::nullopt;
    }
    // The frame's geometry counts from the outer edge of its X border.
    return Rect{frame.x, frame.y, frame.x + frame.width + 2 * frame.border_width,
                frame.y + frame.height + 2 * frame.border_width};
}

void MoveWindow(SDL_Window* window, Point place) {
    SDL_SysWMinfo info;
    if (WmInfo(window, &info)) {
        XMoveWindow(info.info.x11.display, info.info.x11.window, place.x, place.y);
        XFlush(info.info.x11.display);
    }
}

void AwaitWithdrawal(SDL_Window* window) {
    SDL_SysWMinfo info;
    if (!WmInfo(window, &info)) {
        return;
    }
    Display* display = info.info.x11.display;
    const Uint64 end = SDL_GetTicks64() + 1000;
    while (ManagedState(display, info.info.x11.window) && SDL_GetTicks64() < end) {
        SDL_Delay(1);
    }
}

PointerKeeper::PointerKeeper(SDL_Window* window) : m_window(window), m_position(PointerPosition()) {}

PointerKeeper::~PointerKeeper() {
    const std::optional<Point> now = m_position ? PointerPosition() : std::nullopt;
    if (!now || now == m_position) {
        return;
    }
    const std::optional<Point> origin = ClientOrigin(m_window);
    if (!origin) {
        return;
    }
    // SDL puts it at its last place within the window, counted from where
    // the window stands now.
    Point withinWindow;
    SDL_GetMouseState(&withinWindow.x, &withinWindow.y);
    if (now == Point{origin->x + withinWindow.x, origin->y + withinWindow.y}) {
        SDL_WarpMouseGlobal(m_position->x, m_position->y);
    }
}

std::optional<std::uint8_t> ButtonOfRawEvent(const SDL_Event& event, bool* down) {
    if (event.type != SDL_SYSWMEVENT || event.syswm.msg == nullptr || event.syswm.msg->subsystem != SDL_SYSWM_X11) {
        return std::nullopt;
    }
    const XEvent& raw = event.syswm.msg->msg.x11.event;
    if ((raw.type != ButtonPress && raw.type != ButtonRelease) || !IsWindowOfTheGame(raw.xbutton.window)) {
        return std::nullopt;
    }
    std::uint8_t button = 0;
    switch (raw.xbutton.button) {
        case Button1: button = SDL_BUTTON_LEFT; break;
        case Button2: button = SDL_BUTTON_MIDDLE; break;
        case Button3: button = SDL_BUTTON_RIGHT; break;
        // 4 to 7 turn the wheel; 8 and 9 are the side buttons.
        case 8: button = SDL_BUTTON_X1; break;
        case 9: button = SDL_BUTTON_X2; break;
        default: return std::nullopt;
    }
    *down = raw.type == ButtonPress;
    return button;
}

}  // namespace os::detail::x11
