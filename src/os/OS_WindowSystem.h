#pragma once

// Internal to the OS layer: the interface each window backend implements and
// the record behind a window handle. Nothing outside src/os includes this.

#include "os/OS_Message.h"
#include "os/OS_PixelFormat.h"
#include "os/OS_Window.h"

#include <memory>
#include <string>
#include <vector>

struct SDL_Surface;

namespace os::detail {

class WindowSystem;

// The backend-independent part of a window; each backend derives its own.
struct WindowRecord {
    virtual ~WindowRecord() = default;

    WindowHandle handle = kNoWindow;
    WindowSystem* system = nullptr;
    WindowProc procedure = nullptr;
    void* userData = nullptr;
    std::uint32_t style = 0;
    std::int32_t pixelFormat = 0;
    bool destroying = false;
    // While the window shows its picture scaled to fit: the size of what is
    // drawn, which is the client area's (the full-screen mode's while it
    // covers the desktop, or a size the work area cannot hold). 0 x 0 while
    // it is drawn directly.
    Size drawable;
    bool coversDesktop = false;

    bool IsDrawnScaled() const { return drawable.width > 0 && drawable.height > 0; }
};

// Frame thickness around the client area on each side.
struct Borders {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;
    std::int32_t bottom = 0;
};

// One entry of a backend's event queue, before it becomes a message.
struct RawEvent {
    enum class Kind : std::uint8_t { Window, SystemQuit, Quit, Posted };
    Kind kind = Kind::Posted;
    WindowHandle window = kNoWindow;
    WindowEvent event = WindowEvent::Exposed;
    Message posted;
};

// A failing call sets the thread's last error and returns false (or null).
class WindowSystem {
public:
    virtual ~WindowSystem() = default;

    virtual std::unique_ptr<WindowRecord> Create(const Rect& clientRect, std::uint32_t style) = 0;
    virtual void Destroy(WindowRecord& window) = 0;

    virtual bool Show(WindowRecord& window, bool show) = 0;
    virtual bool IsVisible(const WindowRecord& window) const = 0;
    virtual bool SetTitle(WindowRecord& window, const std::string& title) = 0;
    virtual std::string GetTitle(const WindowRecord& window) const = 0;
    virtual bool SetIcon(WindowRecord& window, const std::string& nativePath) = 0;
    // window.style already holds the new bits.
    virtual bool ApplyStyle(WindowRecord& window, std::uint32_t oldStyle) = 0;
    virtual bool SetTopMost(WindowRecord& window, bool topMost) = 0;
    virtual bool IsTopMost(const WindowRecord& window) const = 0;
    virtual bool SetShowState(WindowRecord& window, ShowState state) = 0;

    virtual Point ClientOrigin(const WindowRecord& window) const = 0;
    // 0 x 0 while minimised.
    virtual Size ClientSize(const WindowRecord& window) const = 0;
    virtual Borders FrameBorders(const WindowRecord& window) const = 0;
    virtual bool MoveClient(WindowRecord& window, Point origin) = 0;
    virtual bool ResizeClient(WindowRecord& window, Size size) = 0;

    // Prepares the native window for contexts of the format.
    virtual bool UsePixelFormat(WindowRecord& window, const PixelFormat& format) = 0;
    // A new native window in the old one's place (same title, place, size,
    // state and format): drivers whose GL drawable keeps the size it was
    // made with (the offscreen one) then draw at the present size.
    virtual bool RemakeNative(WindowRecord& window) = 0;
    virtual SDL_Window* Native(const WindowRecord& window) const = 0;
    virtual bool SupportsOpenGL(const WindowRecord& window) const = 0;

    virtual bool WorkAreaSize(Size* size) = 0;
    // The next queued event, without waiting.
    virtual bool NextEvent(RawEvent* event) = 0;
    virtual void QueueQuit() = 0;
};

// Decodes an icon image file; null, with the image library's reason as the
// last error, when it cannot. The caller frees the surface.
SDL_Surface* LoadIconImage(const std::string& nativePath);

WindowSystem& SdlWindowSystem();
WindowSystem& HeadlessWindowSystem();
// The backend selected for the process (os::SelectBackend).
WindowSystem& CurrentWindowSystem();

// The record of a live window; null (and the last error set) otherwise.
WindowRecord* FindWindow(WindowHandle window);
// The native window behind a live handle; null for a stale handle or a
// headless window. Unlike FindWindow it leaves the last error alone.
SDL_Window* NativeWindowOf(WindowHandle window);
// Live windows in handle order (oldest first).
std::vector<WindowRecord*> LiveWindows();
// The program's main window: the one the current context draws into (a
// window being switched is hidden meanwhile), else the first shown one (the
// renderer's throw-away windows stay hidden); null when there is none.
WindowRecord* MainWindow();

// Headless queue access for the message calls.
void QueueHeadlessEvent(const RawEvent& event);
// Empties the headless queue and restores the virtual screen.
void ResetHeadlessScreen();

}  // namespace os::detail
