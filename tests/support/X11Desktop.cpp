#include "support/X11Desktop.h"

// Kept apart from the tests: the X11 headers define macros (None, Bool)
// that clash with GoogleTest.
#include <SDL.h>
#include <SDL_syswm.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace testsupport {
namespace {

constexpr int kNotInstalled = 127;

// The 32-bit items of a window property; empty when it is not set.
std::vector<unsigned long> ListProperty(Display* display, Window window, const char* name, Atom type) {
    Atom actualType = 0;
    int format = 0;
    unsigned long count = 0;
    unsigned long remaining = 0;
    unsigned char* data = nullptr;
    std::vector<unsigned long> items;
    if (XGetWindowProperty(display, window, XInternAtom(display, name, False), 0, 4096, False, type, &actualType,
                           &format, &count, &remaining, &data) == Success &&
        data != nullptr) {
        if (format == 32) {
            const auto* values = reinterpret_cast<const unsigned long*>(data);
            items.assign(values, values + count);
        }
        XFree(data);
    }
    return items;
}

// SDL's X connection and X window behind an SDL window; false when it is
// not on X11.
bool X11InfoOf(SDL_Window* window, SDL_SysWMinfo* info) {
    SDL_VERSION(&info->version);
    return window != nullptr && SDL_GetWindowWMInfo(window, info) && info->subsystem == SDL_SYSWM_X11;
}

}  // namespace

const char* ManagerName(Manager manager) {
    switch (manager) {
        case Manager::Openbox: return "openbox";
        case Manager::Icewm: return "icewm";
        case Manager::I3: return "i3";
        case Manager::Twm: return "twm";
    }
    return "";
}

WindowManager::WindowManager(const std::string& display, Manager manager) {
    // A home of its own: the manager's defaults, never a user's configuration.
    const TempDirectory& home = m_configuration.emplace();
    std::vector<std::string> command{ManagerName(manager)};
    if (manager == Manager::Openbox) {
        command.push_back("--sm-disable");
    }
    if (manager == Manager::I3) {
        // No bar; its socket in the home. A window of a fixed size (the
        // game's) floats, as in i3's default configuration.
        command.push_back("-c");
        command.push_back(home.WriteFile("i3.conf", "# i3 config file (v4)\n"
                                                    "font pango:monospace 8\n"
                                                    "floating_modifier Mod1\n"
                                                    "ipc-socket " + home.Path() + "/i3.sock\n"));
    }
    std::vector<char*> argv;
    for (std::string& word : command) {
        argv.push_back(word.data());
    }
    argv.push_back(nullptr);
    m_pid = fork();
    if (m_pid == 0) {
        prctl(PR_SET_PDEATHSIG, SIGTERM);
        const int null = open("/dev/null", O_WRONLY);
        dup2(null, STDOUT_FILENO);
        dup2(null, STDERR_FILENO);
        setenv("DISPLAY", display.c_str(), 1);
        setenv("HOME", home.Path().c_str(), 1);
        unsetenv("XDG_CONFIG_HOME");
        execvp(argv[0], argv.data());
        _exit(kNotInstalled);
    }
    if (m_pid < 0) {
        return;
    }
    const X11Observer observer(display);
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(240);
    while (observer.Connected() && !m_managing && std::chrono::steady_clock::now() < end) {
        int status = 0;
        if (waitpid(m_pid, &status, WNOHANG) == m_pid) {
            m_installed = !WIFEXITED(status) || WEXITSTATUS(status) != kNotInstalled;
            m_pid = -1;
            return;
        }
        m_managing = observer.WindowManagerRunning() && (manager == Manager::Twm || observer.WindowManagerAnnounced());
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

WindowManager::~WindowManager() {
    if (m_pid <= 0) {
        return;
    }
    kill(m_pid, SIGTERM);
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (waitpid(m_pid, nullptr, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > end) {
            kill(m_pid, SIGKILL);
            waitpid(m_pid, nullptr, 0);
            return;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

X11Observer::X11Observer(const std::string& display) : m_display(XOpenDisplay(display.c_str())) {}

X11Observer::~X11Observer() {
    if (m_display != nullptr) {
        XCloseDisplay(m_display);
    }
}

ScreenImage X11Observer::ReadScreen() const {
    ScreenImage screen;
    const int number = DefaultScreen(m_display);
    screen.width = DisplayWidth(m_display, number);
    screen.height = DisplayHeight(m_display, number);
    XImage* image = XGetImage(m_display, RootWindow(m_display, number), 0, 0, static_cast<unsigned>(screen.width),
                              static_cast<unsigned>(screen.height), AllPlanes, ZPixmap);
    if (image == nullptr) {
        return {};
    }
    screen.pixels.reserve(static_cast<std::size_t>(screen.width) * screen.height);
    for (int y = 0; y < screen.height; ++y) {
        for (int x = 0; x < screen.width; ++x) {
            screen.pixels.push_back(static_cast<std::uint32_t>(XGetPixel(image, x, y) & 0xFFFFFFu));
        }
    }
    XDestroyImage(image);
    return screen;
}

bool X11Observer::WindowManagerRunning() const {
    // Only one client may redirect them; a manager that has ended no longer does.
    XWindowAttributes root;
    return XGetWindowAttributes(m_display, DefaultRootWindow(m_display), &root) != 0 &&
           (root.all_event_masks & SubstructureRedirectMask) != 0;
}

bool X11Observer::WindowManagerAnnounced() const {
    const std::vector<unsigned long> named =
        ListProperty(m_display, DefaultRootWindow(m_display), "_NET_SUPPORTING_WM_CHECK", XA_WINDOW);
    return named.size() == 1 &&
           ListProperty(m_display, named.front(), "_NET_SUPPORTING_WM_CHECK", XA_WINDOW) == named;
}

std::vector<XWindowId> X11Observer::StackedWindows() const {
    return ListProperty(m_display, DefaultRootWindow(m_display), "_NET_CLIENT_LIST_STACKING", XA_WINDOW);
}

XWindowId X11Observer::ActiveWindow() const {
    const std::vector<unsigned long> active =
        ListProperty(m_display, DefaultRootWindow(m_display), "_NET_ACTIVE_WINDOW", XA_WINDOW);
    return active.empty() ? 0 : active.front();
}

bool X11Observer::HasState(XWindowId window, const char* state) const {
    const std::vector<unsigned long> states = ListProperty(m_display, window, "_NET_WM_STATE", XA_ATOM);
    return std::find(states.begin(), states.end(), XInternAtom(m_display, state, False)) != states.end();
}

XWindowId X11Observer::TransientFor(XWindowId window) const {
    Window owner = 0;
    return XGetTransientForHint(m_display, window, &owner) != 0 ? owner : 0;
}

os::Rect X11Observer::ClientRect(XWindowId window) const {
    XWindowAttributes attributes;
    Window child = 0;
    int x = 0;
    int y = 0;
    if (XGetWindowAttributes(m_display, window, &attributes) == 0 ||
        XTranslateCoordinates(m_display, window, DefaultRootWindow(m_display), 0, 0, &x, &y, &child) == 0) {
        return {};
    }
    return {x, y, x + attributes.width, y + attributes.height};
}

os::Rect X11Observer::FramedRect(XWindowId window) const {
    os::Rect rect = ClientRect(window);
    // left, right, top, bottom
    const std::vector<unsigned long> frame = ListProperty(m_display, window, "_NET_FRAME_EXTENTS", XA_CARDINAL);
    if (frame.size() == 4) {
        rect.left -= static_cast<std::int32_t>(frame[0]);
        rect.right += static_cast<std::int32_t>(frame[1]);
        rect.top -= static_cast<std::int32_t>(frame[2]);
        rect.bottom += static_cast<std::int32_t>(frame[3]);
        return rect;
    }
    const Window root = DefaultRootWindow(m_display);
    Window topLevel = window;
    for (;;) {
        Window rootOut = 0;
        Window parent = 0;
        Window* children = nullptr;
        unsigned int count = 0;
        if (XQueryTree(m_display, topLevel, &rootOut, &parent, &children, &count) == 0) {
            return rect;
        }
        if (children != nullptr) {
            XFree(children);
        }
        if (parent == root || parent == 0) {
            break;
        }
        topLevel = parent;
    }
    if (topLevel == window) {
        return rect;
    }
    // The frame's own X border is part of what the user sees of it.
    XWindowAttributes attributes;
    const os::Rect inside = ClientRect(topLevel);
    const int border = XGetWindowAttributes(m_display, topLevel, &attributes) != 0 ? attributes.border_width : 0;
    return {inside.left - border, inside.top - border, inside.right + border, inside.bottom + border};
}

bool X11Observer::Viewable(XWindowId window) const {
    XWindowAttributes attributes;
    return XGetWindowAttributes(m_display, window, &attributes) != 0 && attributes.map_state == IsViewable;
}

bool X11Observer::Close(XWindowId window) const {
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(m_display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(m_display, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    const bool sent = XSendEvent(m_display, window, False, NoEventMask, &event) != 0;
    XFlush(m_display);
    return sent;
}

void X11Observer::WarpPointer(os::Point screen) const {
    XWarpPointer(m_display, 0, DefaultRootWindow(m_display), 0, 0, 0, 0, screen.x, screen.y);
    XSync(m_display, False);
}

os::Point X11Observer::PointerPosition() const {
    Window root = 0;
    Window child = 0;
    os::Point screen;
    os::Point inWindow;
    unsigned int mask = 0;
    XQueryPointer(m_display, DefaultRootWindow(m_display), &root, &child, &screen.x, &screen.y, &inWindow.x,
                  &inWindow.y, &mask);
    return screen;
}

void X11Observer::LeftButton(bool down) const {
    XTestFakeButtonEvent(m_display, Button1, down ? True : False, CurrentTime);
    XSync(m_display, False);
}

void X11Observer::SendLeftButton(XWindowId window, bool down) const {
    XEvent event{};
    event.xbutton.type = down ? ButtonPress : ButtonRelease;
    event.xbutton.window = window;
    event.xbutton.root = DefaultRootWindow(m_display);
    event.xbutton.time = CurrentTime;
    event.xbutton.x = 10;
    event.xbutton.y = 10;
    event.xbutton.state = down ? 0 : Button1Mask;
    event.xbutton.button = Button1;
    event.xbutton.same_screen = True;
    XSendEvent(m_display, window, True, down ? ButtonPressMask : ButtonReleaseMask, &event);
    XSync(m_display, False);
}

XWindowId X11Observer::OpenWindow(const os::Rect& area) const {
    const Window window = XCreateSimpleWindow(m_display, DefaultRootWindow(m_display), area.left, area.top,
                                              static_cast<unsigned int>(area.Width()),
                                              static_cast<unsigned int>(area.Height()), 0, 0, 0xFFFFFF);
    XSizeHints hints{};
    hints.flags = USPosition | USSize;
    hints.x = area.left;
    hints.y = area.top;
    hints.width = area.Width();
    hints.height = area.Height();
    XSetWMNormalHints(m_display, window, &hints);
    XMapRaised(m_display, window);
    XSync(m_display, False);
    return window;
}

void X11Observer::RequestAboutAVanishedWindow() const {
    const Window window = XCreateSimpleWindow(m_display, DefaultRootWindow(m_display), 0, 0, 1, 1, 0, 0, 0);
    XDestroyWindow(m_display, window);
    Window child = 0;
    int x = 0;
    int y = 0;
    XTranslateCoordinates(m_display, window, DefaultRootWindow(m_display), 0, 0, &x, &y, &child);
    XSync(m_display, False);
}

void X11Observer::RequestAboutAMissingAtom() const {
    char* name = XGetAtomName(m_display, static_cast<Atom>(0x1FFFFFFF));
    if (name != nullptr) {
        XFree(name);
    }
    XSync(m_display, False);
}

namespace {

constexpr const char* kMarkAtom = "EMBERLINE_TEST_MARK";

struct MarkWatch {
    Atom atom = 0;
    bool seen = false;
};

int SDLCALL NoteMark(void* data, SDL_Event* event) {
    auto* watch = static_cast<MarkWatch*>(data);
    if (event->type == SDL_SYSWMEVENT && event->syswm.msg->subsystem == SDL_SYSWM_X11) {
        const XEvent& x = event->syswm.msg->msg.x11.event;
        watch->seen = watch->seen || (x.type == ClientMessage && x.xclient.message_type == watch->atom);
    }
    return 1;
}

}  // namespace

bool X11Observer::PumpPastSentEvents(SDL_Window* window, const std::function<void()>& pump) const {
    MarkWatch watch{XInternAtom(m_display, kMarkAtom, False)};
    const Uint8 wasShown = SDL_EventState(SDL_SYSWMEVENT, SDL_ENABLE);
    SDL_AddEventWatch(&NoteMark, &watch);
    XEvent mark{};
    mark.xclient.type = ClientMessage;
    mark.xclient.window = X11WindowOf(window);
    mark.xclient.message_type = watch.atom;
    mark.xclient.format = 32;
    XSendEvent(m_display, mark.xclient.window, False, NoEventMask, &mark);
    XSync(m_display, False);
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(240);
    while (!watch.seen && std::chrono::steady_clock::now() < end) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        pump();
    }
    SDL_DelEventWatch(&NoteMark, &watch);
    SDL_EventState(SDL_SYSWMEVENT, wasShown);
    return watch.seen;
}

XWindowId X11WindowOf(SDL_Window* window) {
    SDL_SysWMinfo info;
    return X11InfoOf(window, &info) ? info.info.x11.window : 0;
}

bool SendWindowManagerClose(SDL_Window* window) {
    SDL_SysWMinfo info;
    if (!X11InfoOf(window, &info)) {
        return false;
    }
    const X11Observer observer(DisplayString(info.info.x11.display));
    return observer.Connected() && observer.Close(info.info.x11.window);
}

}  // namespace testsupport
