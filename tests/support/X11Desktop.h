#pragma once

#include "os/OS_Geometry.h"
#include "support/TempDirectory.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <sys/types.h>
#include <vector>

struct SDL_Window;
struct _XDisplay;

// A desktop on a test's own X server as a user would meet it: a window
// manager, and what the user sees of the windows (the screen's pixels, the
// stacking, the frames).
namespace testsupport {

// X window identifiers.
using XWindowId = unsigned long;

// Window managers players run: openbox, icewm (a task bar, a frame with a
// title), i3 (tiling; a window of a fixed size floats, framed with a title)
// and twm (a frame with a title, announced nowhere: no EWMH).
enum class Manager { Openbox, Icewm, I3, Twm };

// The manager's program name.
const char* ManagerName(Manager manager);

// A window manager managing the display while it lives, in its default
// configuration (i3 in a minimal one of its own: it starts none without);
// it ends with its owner (is killed if it has not ended 10 s after being
// asked), or with the test's process.
class WindowManager {
public:
    explicit WindowManager(const std::string& display, Manager manager = Manager::Openbox);
    ~WindowManager();
    WindowManager(const WindowManager&) = delete;
    WindowManager& operator=(const WindowManager&) = delete;

    bool Installed() const { return m_installed; }
    // Whether it took the display over (redirects the root window's
    // children and, but for twm, announced itself on the root window).
    bool Managing() const { return m_managing; }

private:
    std::optional<TempDirectory> m_configuration;
    pid_t m_pid = -1;
    bool m_installed = true;
    bool m_managing = false;
};

// The screen as 0xRRGGBB pixels, rows from the top.
struct ScreenImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;

    std::uint32_t At(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
};

// A connection of the test's own to the display; one thread uses it.
class X11Observer {
public:
    explicit X11Observer(const std::string& display);
    ~X11Observer();
    X11Observer(const X11Observer&) = delete;
    X11Observer& operator=(const X11Observer&) = delete;

    bool Connected() const { return m_display != nullptr; }
    ScreenImage ReadScreen() const;
    // Whether a window manager runs: a client redirects the root window's
    // children (announced or not).
    bool WindowManagerRunning() const;
    // Whether a window manager announces itself on the root window
    // (_NET_SUPPORTING_WM_CHECK, naming a window that names itself).
    bool WindowManagerAnnounced() const;
    // The managed windows, bottom to top, as the window manager stacks them.
    std::vector<XWindowId> StackedWindows() const;
    // The window the window manager has given the focus; 0 when none.
    XWindowId ActiveWindow() const;
    // Whether the window manager keeps the window in the state
    // ("_NET_WM_STATE_FULLSCREEN", "_NET_WM_STATE_ABOVE", ...).
    bool HasState(XWindowId window, const char* state) const;
    // The window the given one is transient for; 0 when none.
    XWindowId TransientFor(XWindowId window) const;
    // The window's own area, and that with the window manager's frame
    // around it (when it has one: as announced in _NET_FRAME_EXTENTS, else
    // the window it was reparented into), in screen coordinates.
    os::Rect ClientRect(XWindowId window) const;
    os::Rect FramedRect(XWindowId window) const;
    // Whether the window is shown: mapped, and all its ancestors too.
    bool Viewable(XWindowId window) const;
    // Asks the window to close, as the window manager's close button does.
    bool Close(XWindowId window) const;
    // Puts the pointer on the screen as a remote desktop's server or another
    // program does: no input device moves, so the display sends the windows
    // motion but no raw device event.
    void WarpPointer(os::Point screen) const;
    // Where the display has the pointer.
    os::Point PointerPosition() const;
    // Presses or lets go the left button where the pointer is, as a remote
    // desktop's server does (XTest).
    void LeftButton(bool down) const;
    // Sends the window a press or release of the left button, as automation
    // and accessibility tools do (xdotool's --window): no device moves, so
    // the display holds no button.
    void SendLeftButton(XWindowId window, bool down) const;
    // Maps a window of this connection's own over the given screen area
    // (it goes with the connection).
    XWindowId OpenWindow(const os::Rect& area) const;
    // Makes a request about a window that no longer exists, as SDL does when
    // the window manager drops a frame between two of its requests; the
    // display answers with an error.
    void RequestAboutAVanishedWindow() const;
    // A request naming an atom that does not exist: an error of the program's own.
    void RequestAboutAMissingAtom() const;
    // Pumps until every event the display sent the SDL window before the
    // call has reached SDL: a message sent to the window after them comes
    // back through SDL's queue. False when it never came (a hang guard).
    bool PumpPastSentEvents(SDL_Window* window, const std::function<void()>& pump) const;

private:
    _XDisplay* m_display = nullptr;
};

// The X window behind an SDL window; 0 when it is not on X11.
XWindowId X11WindowOf(SDL_Window* window);
// Sends the SDL window the close request a window manager sends when its
// close button is clicked. False when the window is not on X11.
bool SendWindowManagerClose(SDL_Window* window);

}  // namespace testsupport
