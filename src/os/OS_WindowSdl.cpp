#include "os/OS_Error.h"
#include "os/OS_FittedWindow.h"
#include "os/OS_HeldButtons.h"
#include "os/OS_KeyLatch.h"
#include "os/OS_KeyMap.h"
#include "os/OS_PointerSample.h"
#include "os/OS_SdlVideo.h"
#include "os/OS_WindowSystem.h"
#include "os/OS_X11Display.h"

#include <SDL.h>
#include <SDL_image.h>

#include <algorithm>
#include <cerrno>
#include <optional>

// The real window system: one SDL window per handle. SDL positions and
// sizes are those of the client area; the frame comes from the window
// manager and is only known once the window is mapped.
namespace os::detail {
namespace {

// Taken events: SDL's copy of a window's place is refreshed by them.
unsigned g_pumps = 0;

// When the display was last asked where a window's client area stands:
// after the same pump, with SDL's own copy of its place, size and state the
// same. The game's own changes show in SDL's copy at once, the window
// manager's only through events, so the answer holds until one changes. The
// pump's question about the pointer answers it for one window.
struct OriginAsked {
    unsigned pump = 0;
    Point position;
    Size size;
    Uint32 flags = 0;

    friend bool operator==(const OriginAsked&, const OriginAsked&) = default;
};

struct SdlWindow : WindowRecord {
    SDL_Window* window = nullptr;
    bool openGL = false;
    // The pixel format SDL made the window for.
    PixelFormat format;
    // The display's last answer, asked once a frame at most.
    mutable OriginAsked originAsked;
    mutable std::optional<Point> origin;
    // The frame, asked only when wanted and again once the origin is.
    mutable std::optional<Rect> frame;
    mutable bool frameAsked = false;
    // Withdrawn by the game, and not mapped again since.
    bool withdrawn = false;
    // Where the game last put the client area, and how often it was put
    // there again once the window manager had framed it.
    std::optional<Point> placed;
    int replacements = 0;
    // The frame's borders as the window last stood windowed, and whether it
    // has left full screen without standing windowed at its place since:
    // meanwhile the window manager may still be changing the frame, and
    // the window's earlier place is counted with the borders it had there.
    mutable std::optional<Borders> windowedBorders;
    bool leavingDesktop = false;
    // The place last asked of the display for the window, and where the
    // client area stood when it was asked.
    Point requested;
    std::optional<Point> seenAtRequest;
};

SdlWindow& Of(WindowRecord& window) { return static_cast<SdlWindow&>(window); }
const SdlWindow& Of(const WindowRecord& window) { return static_cast<const SdlWindow&>(window); }

// Whether the work area holds the whole of the rectangle.
bool Holds(const SDL_Rect& area, const Rect& rect) {
    return rect.left >= area.x && rect.top >= area.y && rect.right <= area.x + area.w &&
           rect.bottom <= area.y + area.h;
}

OriginAsked AskedNow(SDL_Window* window) {
    OriginAsked now{g_pumps, {}, {}, SDL_GetWindowFlags(window)};
    SDL_GetWindowPosition(window, &now.position.x, &now.position.y);
    SDL_GetWindowSize(window, &now.size.width, &now.size.height);
    return now;
}

bool HasCaption(std::uint32_t style) { return (style & WS_CAPTION) == WS_CAPTION; }
bool HasThickFrame(std::uint32_t style) { return (style & WS_THICKFRAME) != 0; }

// Registered once per process; SDL never hands the number out twice.
Uint32 QuitEventType() {
    static const Uint32 type = SDL_RegisterEvents(1);
    return type;
}

bool TranslateWindowEvent(Uint8 sdlEvent, WindowEvent* event) {
    switch (sdlEvent) {
        case SDL_WINDOWEVENT_SHOWN: *event = WindowEvent::Shown; return true;
        case SDL_WINDOWEVENT_HIDDEN: *event = WindowEvent::Hidden; return true;
        case SDL_WINDOWEVENT_EXPOSED: *event = WindowEvent::Exposed; return true;
        case SDL_WINDOWEVENT_MINIMIZED: *event = WindowEvent::Minimized; return true;
        case SDL_WINDOWEVENT_MAXIMIZED: *event = WindowEvent::Maximized; return true;
        case SDL_WINDOWEVENT_RESTORED: *event = WindowEvent::Restored; return true;
        case SDL_WINDOWEVENT_FOCUS_GAINED: *event = WindowEvent::FocusGained; return true;
        case SDL_WINDOWEVENT_FOCUS_LOST: *event = WindowEvent::FocusLost; return true;
        case SDL_WINDOWEVENT_CLOSE: *event = WindowEvent::Close; return true;
        case SDL_WINDOWEVENT_SIZE_CHANGED: *event = WindowEvent::SizeChanged; return true;
        default: return false;
    }
}

// Key and button events only feed the tap latches: input is polled
// (OS_Keyboard, OS_Cursor). False for any other event.
bool NoteInputEvent(const SDL_Event& event) {
    switch (event.type) {
        case SDL_KEYDOWN:
        case SDL_KEYUP: {
            const SDL_Keysym& keysym = event.key.keysym;
            const VirtualKey key = VirtualKeyFromSdl(keysym.scancode, keysym.sym, (keysym.mod & KMOD_NUM) != 0);
            if (key != 0) {
                NoteKeyEvent(key, event.type == SDL_KEYDOWN);
            }
            return true;
        }
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP:
            NoteSdlButtonEvent(event.button.button, event.type == SDL_MOUSEBUTTONDOWN,
                               event.button.which == SDL_TOUCH_MOUSEID);
            return true;
        default: return false;
    }
}

// Events that may follow a frame the window manager gave the window, or a
// change of work area, since it was last fitted; focus and pointer events
// change neither.
bool MayBeNewlyFramed(Uint8 windowEvent) {
    switch (windowEvent) {
    case SDL_WINDOWEVENT_SHOWN:
    case SDL_WINDOWEVENT_EXPOSED:
    case SDL_WINDOWEVENT_MOVED:
    case SDL_WINDOWEVENT_RESIZED:
    case SDL_WINDOWEVENT_SIZE_CHANGED:
    case SDL_WINDOWEVENT_RESTORED:
    case SDL_WINDOWEVENT_MAXIMIZED:
        return true;
    default:
        return false;
    }
}

WindowRecord* RecordOfSdlWindow(Uint32 windowId) {
    for (WindowRecord* record : LiveWindows()) {
        if (record->system == &SdlWindowSystem() && SDL_GetWindowID(Of(*record).window) == windowId) {
            return record;
        }
    }
    return nullptr;
}

// The pump's question about the pointer told where one window stands.
void KeepOrigin(const x11::PointerReading& pointer) {
    if (WindowRecord* record = RecordOfSdlWindow(SDL_GetWindowID(pointer.window))) {
        SdlWindow& window = Of(*record);
        window.origin = pointer.clientOrigin;
        window.frameAsked = false;
        window.originAsked = AskedNow(window.window);
    }
}

class Sdl final : public WindowSystem {
public:
    std::unique_ptr<WindowRecord> Create(const Rect& clientRect, std::uint32_t style) override {
        if (!sdl::AcquireVideo()) {
            return nullptr;
        }
        Uint32 flags = SDL_WINDOW_HIDDEN;
        if (!HasCaption(style)) {
            flags |= SDL_WINDOW_BORDERLESS;
        }
        if (HasThickFrame(style)) {
            flags |= SDL_WINDOW_RESIZABLE;
        }
        auto record = std::make_unique<SdlWindow>();
        RequestSdlPixelFormat(record->format);
        // Named after the program until given a title: the desktop (a box
        // over it, a check looking for it) never meets a nameless window.
        const char* name = program_invocation_short_name;
        record->window = SDL_CreateWindow(name, clientRect.left, clientRect.top, clientRect.Width(),
                                          clientRect.Height(), flags | SDL_WINDOW_OPENGL);
        record->openGL = record->window != nullptr;
        // Some video drivers (dummy) have no OpenGL at all; the window is still
        // useful, and a context made on it later fails with SDL's reason.
        if (record->window == nullptr) {
            record->window = SDL_CreateWindow(name, clientRect.left, clientRect.top, clientRect.Width(),
                                              clientRect.Height(), flags);
        }
        if (record->window == nullptr) {
            sdl::SetLastErrorFromSdl();
            sdl::ReleaseVideo();
            return nullptr;
        }
        record->placed = Point{clientRect.left, clientRect.top};
        record->requested = *record->placed;
        return record;
    }

    void Destroy(WindowRecord& window) override {
        SDL_DestroyWindow(Of(window).window);
        Of(window).window = nullptr;
        sdl::ReleaseVideo();
    }

    bool Show(WindowRecord& window, bool show) override {
        SdlWindow& record = Of(window);
        const x11::PointerKeeper keeper(record.window);
        if (show) {
            if (record.withdrawn) {
                x11::AwaitWithdrawal(record.window);
            }
            SDL_ShowWindow(record.window);
        } else {
            SDL_HideWindow(record.window);
        }
        record.withdrawn = !show;
        return true;
    }

    bool IsVisible(const WindowRecord& window) const override {
        return (SDL_GetWindowFlags(Of(window).window) & SDL_WINDOW_SHOWN) != 0;
    }

    bool SetTitle(WindowRecord& window, const std::string& title) override {
        SDL_SetWindowTitle(Of(window).window, title.c_str());
        return true;
    }

    std::string GetTitle(const WindowRecord& window) const override { return SDL_GetWindowTitle(Of(window).window); }

    bool SetIcon(WindowRecord& window, const std::string& nativePath) override {
        SDL_Surface* icon = LoadIconImage(nativePath);
        if (icon == nullptr) {
            return false;
        }
        SDL_SetWindowIcon(Of(window).window, icon);
        SDL_FreeSurface(icon);
        return true;
    }

    // SDL keeps the client size when the frame comes or goes.
    bool ApplyStyle(WindowRecord& window, std::uint32_t) override {
        SDL_SetWindowBordered(Of(window).window, HasCaption(window.style) ? SDL_TRUE : SDL_FALSE);
        SDL_SetWindowResizable(Of(window).window, HasThickFrame(window.style) ? SDL_TRUE : SDL_FALSE);
        return true;
    }

    bool SetTopMost(WindowRecord& window, bool topMost) override {
        SDL_SetWindowAlwaysOnTop(Of(window).window, topMost ? SDL_TRUE : SDL_FALSE);
        return true;
    }

    bool IsTopMost(const WindowRecord& window) const override {
        return (SDL_GetWindowFlags(Of(window).window) & SDL_WINDOW_ALWAYS_ON_TOP) != 0;
    }

    bool SetShowState(WindowRecord& window, ShowState state) override {
        switch (state) {
            case ShowState::Minimized: SDL_MinimizeWindow(Of(window).window); break;
            case ShowState::Maximized: SDL_MaximizeWindow(Of(window).window); break;
            case ShowState::Restored: SDL_RestoreWindow(Of(window).window); break;
        }
        return true;
    }

    // SDL's copy lags behind while the window manager frames or moves the
    // window; the display knows.
    Point ClientOrigin(const WindowRecord& window) const override {
        const SdlWindow& record = Of(window);
        const OriginAsked now = AskedNow(record.window);
        if (!record.origin || record.originAsked != now) {
            record.origin = x11::ClientOrigin(record.window);
            record.frameAsked = false;
            record.originAsked = now;
        }
        return record.origin.value_or(now.position);
    }

    Size ClientSize(const WindowRecord& window) const override {
        if ((SDL_GetWindowFlags(Of(window).window) & SDL_WINDOW_MINIMIZED) != 0) {
            return {};
        }
        Size size;
        SDL_GetWindowSize(Of(window).window, &size.width, &size.height);
        return size;
    }

    // The frame the window stands in on the display, which a window manager
    // that does not announce its frames (twm) has too; else as the window
    // manager announces it. Unknown (none) before the window is framed.
    Borders FrameBorders(const WindowRecord& window) const override {
        const Point origin = ClientOrigin(window);
        const SdlWindow& record = Of(window);
        if (!record.frameAsked) {
            record.frame = x11::FrameRect(record.window);
            record.frameAsked = true;
        }
        if (record.leavingDesktop && record.windowedBorders) {
            return *record.windowedBorders;
        }
        if (!record.frame) {
            return AnnouncedBorders(record);
        }
        const Size size = ClientSize(window);
        const Borders borders{origin.x - record.frame->left, origin.y - record.frame->top,
                              record.frame->right - origin.x - size.width,
                              record.frame->bottom - origin.y - size.height};
        if (!window.coversDesktop && !record.withdrawn && !record.leavingDesktop) {
            record.windowedBorders = borders;
        }
        return borders;
    }

    bool MoveClient(WindowRecord& window, Point origin) override {
        SdlWindow& record = Of(window);
        record.placed = origin;
        record.replacements = 0;
        Place(record, origin);
        return true;
    }

    bool ResizeClient(WindowRecord& window, Size size) override {
        SDL_SetWindowSize(Of(window).window, size.width, size.height);
        return true;
    }

    // SDL fixes the visual when it makes a window, so another format needs a
    // new native window in the old one's place.
    bool UsePixelFormat(WindowRecord& window, const PixelFormat& format) override {
        SdlWindow& record = Of(window);
        if (!record.openGL || record.format == format) {
            return true;
        }
        return Replace(record, format);
    }

    bool RemakeNative(WindowRecord& window) override {
        SdlWindow& record = Of(window);
        return !record.openGL || Replace(record, record.format);
    }

    SDL_Window* Native(const WindowRecord& window) const override { return Of(window).window; }
    bool SupportsOpenGL(const WindowRecord& window) const override { return Of(window).openGL; }

    // The query works before any window exists, so video may have to start for it.
    bool WorkAreaSize(Size* size) override {
        if (!sdl::AcquireVideo()) {
            return false;
        }
        SDL_Rect bounds;
        const bool ok = SDL_GetDisplayUsableBounds(0, &bounds) == 0;
        if (ok) {
            *size = {bounds.w, bounds.h};
        } else {
            sdl::SetLastErrorFromSdl();
        }
        sdl::ReleaseVideo();
        return ok;
    }

    bool NextEvent(RawEvent* event) override {
        if (!sdl::IsVideoActive()) {
            return false;
        }
        BeginInputPump();
        ++g_pumps;
        SDL_Event sdlEvent;
        while (SDL_PollEvent(&sdlEvent) != 0) {
            if (NoteInputEvent(sdlEvent)) {
                continue;
            }
            if (sdlEvent.type == SDL_QUIT) {
                event->kind = RawEvent::Kind::SystemQuit;
                return true;
            }
            if (sdlEvent.type == QuitEventType()) {
                event->kind = RawEvent::Kind::Quit;
                return true;
            }
            WindowRecord* record =
                sdlEvent.type == SDL_WINDOWEVENT ? RecordOfSdlWindow(sdlEvent.window.windowID) : nullptr;
            if (record == nullptr) {
                continue;
            }
            if (MayBeNewlyFramed(sdlEvent.window.event)) {
                FitAgain(*record);
                KeepPlace(*record);
            }
            if (TranslateWindowEvent(sdlEvent.window.event, &event->event)) {
                event->kind = RawEvent::Kind::Window;
                event->window = record->handle;
                return true;
            }
        }
        // One question to the display: the buttons it holds, where the
        // pointer is for this frame's reads, where a window stands.
        if (const std::optional<x11::PointerReading> pointer = SamplePointer()) {
            ReleaseButtonsHeldUp(pointer->buttons);
            KeepOrigin(*pointer);
        }
        return false;
    }

    // Without video the request waits in the message layer's flag instead.
    void QueueQuit() override {
        if (!sdl::IsVideoActive()) {
            return;
        }
        SDL_Event quit{};
        quit.type = QuitEventType();
        SDL_PushEvent(&quit);
    }

    // Once the window manager has framed or moved the window: the client
    // area goes where the game put it, asked again now that the frame is
    // known (a frame that came later or was not announced took the asked
    // place as its own); a window the game put where its frame would leave
    // the work area is centred in it. A window manager that keeps the
    // window elsewhere is asked three times at most.
    void KeepPlace(WindowRecord& window) {
        SdlWindow& record = Of(window);
        if (!record.placed || record.withdrawn || record.replacements >= 3 ||
            (window.coversDesktop && x11::WindowManagerFullScreens()) ||
            (SDL_GetWindowFlags(record.window) & (SDL_WINDOW_MINIMIZED | SDL_WINDOW_MAXIMIZED)) != 0) {
            return;
        }
        // Asked afresh: several events may come in one pump.
        const std::optional<Point> seen = x11::ClientOrigin(record.window);
        const std::optional<Rect> frame = x11::FrameRect(record.window);
        // Nothing to do before the frame comes; after a request, nothing
        // until the window manager has answered it.
        if (!seen || !frame || seen == record.seenAtRequest) {
            return;
        }
        const Point origin = *seen;
        Point wanted = *record.placed;
        SDL_Rect area;
        if (!window.coversDesktop && SDL_GetDisplayUsableBounds(0, &area) == 0) {
            const Size framed{frame->Width(), frame->Height()};
            // A frame the work area cannot hold is one still leaving full
            // screen (the client area is always fitted to it): later events
            // bring the frame it is to have.
            if (framed.width > area.w || framed.height > area.h) {
                return;
            }
            const Size client = ClientSize(window);
            const Borders borders = record.leavingDesktop && record.windowedBorders
                                        ? *record.windowedBorders
                                        : Borders{origin.x - frame->left, origin.y - frame->top,
                                                  frame->right - origin.x - client.width,
                                                  frame->bottom - origin.y - client.height};
            const Rect around{wanted.x - borders.left, wanted.y - borders.top, wanted.x + client.width + borders.right,
                              wanted.y + client.height + borders.bottom};
            if (!Holds(area, around)) {
                wanted = {area.x + std::max(0, (area.w - around.Width()) / 2) + borders.left,
                          area.y + std::max(0, (area.h - around.Height()) / 2) + borders.top};
                // The centre is the window's place from now on.
                record.placed = wanted;
            }
        }
        // Window managers differ in what a requested place is (the frame's
        // corner, the client area's): the request moves by what is missing.
        if (origin == wanted) {
            record.leavingDesktop = false;
        } else {
            ++record.replacements;
            record.requested = {record.requested.x + wanted.x - origin.x, record.requested.y + wanted.y - origin.y};
            record.seenAtRequest = origin;
            x11::MoveWindow(record.window, record.requested);
        }
    }

private:
    static Borders AnnouncedBorders(const SdlWindow& record) {
        Borders borders;
        if (SDL_GetWindowBordersSize(record.window, &borders.top, &borders.left, &borders.bottom, &borders.right) !=
            0) {
            return {};
        }
        return borders;
    }

    // SDL asks for its place less the borders it knows of, and the window
    // manager puts its frame's corner there: the frame's own size is what
    // counts.
    void Place(SdlWindow& record, Point origin) {
        const Borders known = AnnouncedBorders(record);
        const Borders frame = FrameBorders(record);
        record.requested = {origin.x - frame.left, origin.y - frame.top};
        record.seenAtRequest.reset();
        SDL_SetWindowPosition(record.window, record.requested.x + known.left, record.requested.y + known.top);
    }

    // A native window of the format in the old one's place: same title,
    // place, size and state (the icon is not carried over).
    static bool Replace(SdlWindow& record, const PixelFormat& format) {
        const Uint32 kept = SDL_WINDOW_SHOWN | SDL_WINDOW_BORDERLESS | SDL_WINDOW_RESIZABLE | SDL_WINDOW_ALWAYS_ON_TOP;
        Uint32 flags = (SDL_GetWindowFlags(record.window) & kept) | SDL_WINDOW_OPENGL;
        if ((flags & SDL_WINDOW_SHOWN) == 0) {
            flags |= SDL_WINDOW_HIDDEN;
        }
        int x = 0;
        int y = 0;
        int width = 0;
        int height = 0;
        SDL_GetWindowPosition(record.window, &x, &y);
        SDL_GetWindowSize(record.window, &width, &height);
        RequestSdlPixelFormat(format);
        SDL_Window* replacement = SDL_CreateWindow(SDL_GetWindowTitle(record.window), x, y, width, height, flags);
        RequestSdlPixelFormat(PixelFormat{});
        if (replacement == nullptr) {
            sdl::SetLastErrorFromSdl();
            return false;
        }
        SDL_DestroyWindow(record.window);
        record.window = replacement;
        record.format = format;
        return true;
    }
};

}  // namespace

SDL_Surface* LoadIconImage(const std::string& nativePath) {
    SDL_Surface* icon = IMG_Load(nativePath.c_str());
    if (icon == nullptr) {
        SetLastErrorWithText(ERROR_SDL_FAILURE, IMG_GetError());
    }
    return icon;
}

void NoteLeavingDesktop(WindowRecord& window) {
    SdlWindow& record = Of(window);
    record.leavingDesktop = true;
    record.replacements = 0;
}

WindowSystem& SdlWindowSystem() {
    static Sdl system;
    return system;
}

}  // namespace os::detail
