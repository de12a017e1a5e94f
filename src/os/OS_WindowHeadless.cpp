#include "os/OS_HeadlessInput.h"
#include "os/OS_KeyLatch.h"
#include "os/OS_WindowSystem.h"
#include "os/OS_HeadlessWindowHooks.h"

#include <SDL.h>

#include <algorithm>
#include <deque>
#include <variant>

// The headless window system: windows on a virtual screen that only moves
// when the program or a test moves it. Frames follow the style bits so that
// decoration changes alter the client area as on a real desktop.
namespace os::detail {
namespace {

constexpr Size kDefaultWorkArea{1920, 1040};
constexpr std::int32_t kThickFrame = 8;
constexpr std::int32_t kThinFrame = 3;
constexpr std::int32_t kCaptionHeight = 23;

// A key or button event, taken by the pump like the display's own.
struct KeyEvent {
    VirtualKey key = 0;
    bool down = false;
};

struct HeadlessWindow : WindowRecord {
    Point origin;
    Size size;
    std::string title;
    std::string iconPath;
    bool visible = false;
    bool minimized = false;
    bool topMost = false;
};

Borders BordersFor(std::uint32_t style) {
    const bool caption = (style & WS_CAPTION) == WS_CAPTION;
    const std::int32_t frame = (style & WS_THICKFRAME) != 0 ? kThickFrame : (caption ? kThinFrame : 0);
    return {frame, frame + (caption ? kCaptionHeight : 0), frame, frame};
}

class Headless final : public WindowSystem {
public:
    std::unique_ptr<WindowRecord> Create(const Rect& clientRect, std::uint32_t) override {
        auto window = std::make_unique<HeadlessWindow>();
        window->origin = {clientRect.left, clientRect.top};
        window->size = {clientRect.Width(), clientRect.Height()};
        return window;
    }

    void Destroy(WindowRecord&) override {}

    bool Show(WindowRecord& window, bool show) override {
        Of(window).visible = show;
        Queue(window.handle, show ? WindowEvent::Shown : WindowEvent::Hidden);
        return true;
    }

    bool IsVisible(const WindowRecord& window) const override { return Of(window).visible; }

    bool SetTitle(WindowRecord& window, const std::string& title) override {
        Of(window).title = title;
        return true;
    }

    std::string GetTitle(const WindowRecord& window) const override { return Of(window).title; }

    // The file is decoded as the real backend would, so a bad icon fails here too.
    bool SetIcon(WindowRecord& window, const std::string& nativePath) override {
        SDL_Surface* icon = LoadIconImage(nativePath);
        if (icon == nullptr) {
            return false;
        }
        SDL_FreeSurface(icon);
        Of(window).iconPath = nativePath;
        return true;
    }

    // The outer rectangle stays; the client area takes what the new frame leaves.
    bool ApplyStyle(WindowRecord& window, std::uint32_t oldStyle) override {
        HeadlessWindow& headless = Of(window);
        const Borders before = BordersFor(oldStyle);
        const Borders after = BordersFor(window.style);
        const Rect outer{headless.origin.x - before.left, headless.origin.y - before.top,
                         headless.origin.x + headless.size.width + before.right,
                         headless.origin.y + headless.size.height + before.bottom};
        headless.origin = {outer.left + after.left, outer.top + after.top};
        headless.size = {std::max(0, outer.Width() - after.left - after.right),
                         std::max(0, outer.Height() - after.top - after.bottom)};
        return true;
    }

    bool SetTopMost(WindowRecord& window, bool topMost) override {
        Of(window).topMost = topMost;
        return true;
    }

    bool IsTopMost(const WindowRecord& window) const override { return Of(window).topMost; }

    bool SetShowState(WindowRecord& window, ShowState state) override {
        switch (state) {
            case ShowState::Minimized: Report(window, WindowEvent::Minimized, {}); break;
            case ShowState::Maximized: Report(window, WindowEvent::Maximized, {}); break;
            case ShowState::Restored: Report(window, WindowEvent::Restored, {}); break;
        }
        return true;
    }

    Point ClientOrigin(const WindowRecord& window) const override { return Of(window).origin; }

    Size ClientSize(const WindowRecord& window) const override {
        const HeadlessWindow& headless = Of(window);
        return headless.minimized ? Size{} : headless.size;
    }

    Borders FrameBorders(const WindowRecord& window) const override { return BordersFor(window.style); }

    bool MoveClient(WindowRecord& window, Point origin) override {
        Of(window).origin = origin;
        return true;
    }

    bool ResizeClient(WindowRecord& window, Size size) override {
        Of(window).size = size;
        return true;
    }

    bool UsePixelFormat(WindowRecord&, const PixelFormat&) override { return true; }
    bool RemakeNative(WindowRecord&) override { return true; }
    SDL_Window* Native(const WindowRecord&) const override { return nullptr; }
    bool SupportsOpenGL(const WindowRecord&) const override { return false; }

    bool WorkAreaSize(Size* size) override {
        *size = m_workArea;
        return true;
    }

    bool NextEvent(RawEvent* event) override {
        BeginInputPump();
        while (!m_queue.empty()) {
            const std::variant<RawEvent, KeyEvent> entry = m_queue.front();
            m_queue.pop_front();
            if (const KeyEvent* key = std::get_if<KeyEvent>(&entry)) {
                headless::SetKey(key->key, key->down);
                NoteKeyEvent(key->key, key->down);
                continue;
            }
            *event = std::get<RawEvent>(entry);
            return true;
        }
        return false;
    }

    void QueueQuit() override {
        RawEvent quit;
        quit.kind = RawEvent::Kind::Quit;
        m_queue.push_back(quit);
    }

    void Push(const RawEvent& event) { m_queue.push_back(event); }
    void Push(const KeyEvent& event) { m_queue.push_back(event); }

    void Reset() {
        m_queue.clear();
        m_workArea = kDefaultWorkArea;
    }

    void SetWorkArea(Size size) { m_workArea = size; }

    // The window system changes the window's state, then tells the program.
    void Report(WindowRecord& window, WindowEvent event, Size size) {
        HeadlessWindow& headless = Of(window);
        switch (event) {
            case WindowEvent::Shown: headless.visible = true; break;
            case WindowEvent::Hidden: headless.visible = false; break;
            case WindowEvent::Minimized: headless.minimized = true; break;
            case WindowEvent::Maximized:
            case WindowEvent::Restored: headless.minimized = false; break;
            case WindowEvent::SizeChanged: headless.size = size; break;
            default: break;
        }
        Queue(window.handle, event);
    }

private:
    static HeadlessWindow& Of(WindowRecord& window) { return static_cast<HeadlessWindow&>(window); }
    static const HeadlessWindow& Of(const WindowRecord& window) {
        return static_cast<const HeadlessWindow&>(window);
    }

    void Queue(WindowHandle window, WindowEvent kind) {
        RawEvent event;
        event.kind = RawEvent::Kind::Window;
        event.window = window;
        event.event = kind;
        m_queue.push_back(event);
    }

    std::deque<std::variant<RawEvent, KeyEvent>> m_queue;
    Size m_workArea = kDefaultWorkArea;
};

Headless& TheHeadlessSystem() {
    static Headless system;
    return system;
}

// The headless record of a live headless window, or null.
WindowRecord* HeadlessRecord(WindowHandle window) {
    WindowRecord* record = FindWindow(window);
    return record != nullptr && record->system == &TheHeadlessSystem() ? record : nullptr;
}

}  // namespace

WindowSystem& HeadlessWindowSystem() { return TheHeadlessSystem(); }

void QueueHeadlessEvent(const RawEvent& event) { TheHeadlessSystem().Push(event); }

void ResetHeadlessScreen() { TheHeadlessSystem().Reset(); }

}  // namespace os::detail

namespace os::headless {

void SetWorkAreaSize(Size size) { detail::TheHeadlessSystem().SetWorkArea(size); }

void InjectWindowEvent(WindowHandle window, WindowEvent event, Size size) {
    if (detail::WindowRecord* record = detail::HeadlessRecord(window)) {
        detail::TheHeadlessSystem().Report(*record, event, size);
    }
}

void InjectKeyEvent(VirtualKey key, bool down) { detail::TheHeadlessSystem().Push(detail::KeyEvent{key, down}); }

void InjectSystemQuit() {
    detail::RawEvent event;
    event.kind = detail::RawEvent::Kind::SystemQuit;
    detail::QueueHeadlessEvent(event);
}

std::string WindowIconPath(WindowHandle window) {
    const detail::WindowRecord* record = detail::HeadlessRecord(window);
    return record != nullptr ? static_cast<const detail::HeadlessWindow*>(record)->iconPath : std::string();
}

}  // namespace os::headless
