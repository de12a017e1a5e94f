#include "os/OS_Window.h"

#include "os/OS_Backend.h"
#include "os/OS_Error.h"
#include "os/OS_FittedWindow.h"
#include "os/OS_FullScreenWindow.h"
#include "os/OS_GLContext.h"
#include "os/OS_HeadlessWindowHooks.h"
#include "os/OS_Letterbox.h"
#include "os/OS_Message.h"
#include "os/OS_Path.h"
#include "os/OS_PixelFormat.h"
#include "os/OS_WindowSystem.h"

#include <algorithm>
#include <cstdint>
#include <map>

namespace os {
namespace detail {
namespace {

struct WindowTable {
    std::map<std::uint32_t, std::unique_ptr<WindowRecord>> windows;
    std::map<std::string, WindowProc> classes;
    std::uint32_t nextHandle = 1;
    int classRegistrations = 0;
};

WindowTable& Table() {
    static WindowTable table;
    return table;
}

}  // namespace

WindowSystem& CurrentWindowSystem() { return IsHeadless() ? HeadlessWindowSystem() : SdlWindowSystem(); }

WindowRecord* FindWindow(WindowHandle window) {
    WindowTable& table = Table();
    const auto found = table.windows.find(static_cast<std::uint32_t>(window));
    if (found == table.windows.end()) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return nullptr;
    }
    return found->second.get();
}

SDL_Window* NativeWindowOf(WindowHandle window) {
    const auto found = Table().windows.find(static_cast<std::uint32_t>(window));
    if (found == Table().windows.end()) {
        return nullptr;
    }
    const WindowRecord& record = *found->second;
    return record.system->Native(record);
}

std::vector<WindowRecord*> LiveWindows() {
    std::vector<WindowRecord*> windows;
    for (auto& [handle, record] : Table().windows) {
        windows.push_back(record.get());
    }
    return windows;
}

WindowRecord* MainWindow() {
    if (const WindowHandle drawn = GetCurrentGLWindow(); drawn != kNoWindow) {
        return FindWindow(drawn);
    }
    for (WindowRecord* record : LiveWindows()) {
        if (record->system->Native(*record) != nullptr && record->system->IsVisible(*record)) {
            return record;
        }
    }
    return nullptr;
}

}  // namespace detail

using detail::FindWindow;
using detail::WindowRecord;

namespace {

// Coordinates come from callers that may pass anything (a peer's cursor
// position, for one); the sum saturates instead of overflowing.
std::int32_t Offset(std::int32_t value, std::int64_t delta) {
    const std::int64_t sum = value + delta;
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(sum, INT32_MIN, INT32_MAX));
}

// The window's record when it exists and the output can be written.
const WindowRecord* FindForOutput(WindowHandle window, const void* output) {
    if (output == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    return FindWindow(window);
}

// Adds (direction 1) or subtracts (-1) the window's client origin. The
// client area of a window drawn scaled is its drawable, shown scaled inside
// it.
bool MoveByClientOrigin(WindowHandle window, Point* point, std::int64_t direction) {
    const WindowRecord* record = FindForOutput(window, point);
    if (record == nullptr) {
        return false;
    }
    const Point origin = record->system->ClientOrigin(*record);
    const Size shown = record->system->ClientSize(*record);
    if (direction > 0 && record->IsDrawnScaled()) {
        *point = detail::PictureToWindow(*point, record->drawable, shown);
    }
    point->x = Offset(point->x, direction * origin.x);
    point->y = Offset(point->y, direction * origin.y);
    if (direction < 0 && record->IsDrawnScaled()) {
        *point = detail::WindowToPicture(*point, record->drawable, shown);
    }
    return true;
}

}  // namespace

bool RegisterWindowClass(const std::string& className, WindowProc procedure) {
    if (className.empty() || procedure == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return false;
    }
    detail::WindowTable& table = detail::Table();
    if (!table.classes.emplace(className, procedure).second) {
        SetLastError(ERROR_CLASS_ALREADY_EXISTS);
        return false;
    }
    ++table.classRegistrations;
    return true;
}

WindowHandle CreateWindow(const std::string& className, std::uint32_t style, const Rect& clientRect,
                          void* createParameter) {
    detail::WindowTable& table = detail::Table();
    const auto windowClass = table.classes.find(className);
    if (windowClass == table.classes.end()) {
        SetLastError(ERROR_CANNOT_FIND_WND_CLASS);
        return kNoWindow;
    }
    if (clientRect.Width() <= 0 || clientRect.Height() <= 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return kNoWindow;
    }
    detail::WindowSystem& system = detail::CurrentWindowSystem();
    std::unique_ptr<WindowRecord> record = system.Create(clientRect, style);
    if (!record) {
        return kNoWindow;
    }
    const WindowHandle handle{table.nextHandle++};
    record->handle = handle;
    record->system = &system;
    record->procedure = windowClass->second;
    record->style = style;
    WindowProc procedure = record->procedure;
    detail::SizeClient(*record, {clientRect.Width(), clientRect.Height()});
    table.windows.emplace(static_cast<std::uint32_t>(handle), std::move(record));
    procedure(handle, WM_CREATE, 0, reinterpret_cast<std::intptr_t>(createParameter));
    return handle;
}

bool IsWindow(WindowHandle window) {
    const detail::WindowTable& table = detail::Table();
    return table.windows.count(static_cast<std::uint32_t>(window)) != 0;
}

bool DestroyWindow(WindowHandle window) {
    WindowRecord* record = FindWindow(window);
    if (record == nullptr) {
        return false;
    }
    // The procedure may destroy the window itself while handling WM_DESTROY.
    if (record->destroying) {
        return true;
    }
    record->destroying = true;
    record->procedure(window, WM_DESTROY, 0, 0);
    // A context must not stay current on a drawable that is going away.
    ReleaseGLContext(window);
    detail::WindowTable& table = detail::Table();
    const auto found = table.windows.find(static_cast<std::uint32_t>(window));
    record->system->Destroy(*record);
    table.windows.erase(found);
    return true;
}

bool ShowWindow(WindowHandle window, bool show) {
    WindowRecord* record = FindWindow(window);
    return record != nullptr && record->system->Show(*record, show);
}

bool IsWindowVisible(WindowHandle window) {
    const WindowRecord* record = FindWindow(window);
    return record != nullptr && record->system->IsVisible(*record);
}

bool SetWindowTitle(WindowHandle window, const std::string& title) {
    WindowRecord* record = FindWindow(window);
    return record != nullptr && record->system->SetTitle(*record, title);
}

std::string GetWindowTitle(WindowHandle window) {
    const WindowRecord* record = FindWindow(window);
    return record != nullptr ? record->system->GetTitle(*record) : std::string();
}

bool SetWindowIcon(WindowHandle window, const std::string& path) {
    WindowRecord* record = FindWindow(window);
    return record != nullptr && record->system->SetIcon(*record, ResolvePath(path));
}

std::uint32_t GetWindowStyle(WindowHandle window) {
    const WindowRecord* record = FindWindow(window);
    return record != nullptr ? record->style : 0;
}

bool SetWindowStyle(WindowHandle window, std::uint32_t style) {
    WindowRecord* record = FindWindow(window);
    if (record == nullptr) {
        return false;
    }
    const std::uint32_t oldStyle = record->style;
    record->style = style;
    return record->system->ApplyStyle(*record, oldStyle);
}

bool SetWindowTopMost(WindowHandle window, bool topMost) {
    WindowRecord* record = FindWindow(window);
    return record != nullptr && record->system->SetTopMost(*record, topMost);
}

bool IsWindowTopMost(WindowHandle window) {
    const WindowRecord* record = FindWindow(window);
    return record != nullptr && record->system->IsTopMost(*record);
}

bool SetWindowUserData(WindowHandle window, void* data) {
    WindowRecord* record = FindWindow(window);
    if (record == nullptr) {
        return false;
    }
    record->userData = data;
    return true;
}

void* GetWindowUserData(WindowHandle window) {
    const WindowRecord* record = FindWindow(window);
    return record != nullptr ? record->userData : nullptr;
}

bool GetWindowRect(WindowHandle window, Rect* rect) {
    const WindowRecord* record = FindForOutput(window, rect);
    if (record == nullptr) {
        return false;
    }
    const detail::WindowSystem& system = *record->system;
    const Point origin = system.ClientOrigin(*record);
    const Size size = system.ClientSize(*record);
    const detail::Borders borders = system.FrameBorders(*record);
    *rect = {origin.x - borders.left, origin.y - borders.top, origin.x + size.width + borders.right,
             origin.y + size.height + borders.bottom};
    return true;
}

bool GetClientRect(WindowHandle window, Rect* rect) {
    const WindowRecord* record = FindForOutput(window, rect);
    if (record == nullptr) {
        return false;
    }
    const Size size = record->IsDrawnScaled() ? record->drawable : record->system->ClientSize(*record);
    *rect = {0, 0, size.width, size.height};
    return true;
}

bool SetWindowPosition(WindowHandle window, std::int32_t x, std::int32_t y) {
    WindowRecord* record = FindWindow(window);
    if (record == nullptr) {
        return false;
    }
    // A window covering the desktop stays where it is.
    if (record->coversDesktop) {
        return true;
    }
    const detail::Borders borders = record->system->FrameBorders(*record);
    return record->system->MoveClient(*record, {Offset(x, borders.left), Offset(y, borders.top)});
}

bool SetWindowClientSize(WindowHandle window, std::int32_t width, std::int32_t height) {
    WindowRecord* record = FindWindow(window);
    if (record == nullptr) {
        return false;
    }
    if (width <= 0 || height <= 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return false;
    }
    // A window covering the desktop keeps covering it and drawing at the full-screen size.
    if (record->coversDesktop) {
        return true;
    }
    if (!detail::SizeClient(*record, {width, height})) {
        return false;
    }
    detail::FollowWindowDrawable(window);
    return true;
}

bool ClientToScreen(WindowHandle window, Point* point) { return MoveByClientOrigin(window, point, 1); }

bool ScreenToClient(WindowHandle window, Point* point) { return MoveByClientOrigin(window, point, -1); }

bool SetWindowShowState(WindowHandle window, ShowState state) {
    WindowRecord* record = FindWindow(window);
    return record != nullptr && record->system->SetShowState(*record, state);
}

bool SetPixelFormat(WindowHandle window, std::int32_t index) {
    WindowRecord* record = FindWindow(window);
    if (record == nullptr) {
        return false;
    }
    detail::PixelFormat format;
    if (!detail::FindPixelFormat(index, &format)) {
        return false;
    }
    // A window's pixel format is set once; setting the same one again is harmless.
    if (record->pixelFormat != 0 && record->pixelFormat != index) {
        SetLastError(ERROR_INVALID_PIXEL_FORMAT);
        return false;
    }
    if (!record->system->UsePixelFormat(*record, format)) {
        return false;
    }
    record->pixelFormat = index;
    return true;
}

std::int32_t GetPixelFormat(WindowHandle window) {
    const WindowRecord* record = FindWindow(window);
    return record != nullptr ? record->pixelFormat : 0;
}

SDL_Window* GetSdlWindow(WindowHandle window) {
    const WindowRecord* record = FindWindow(window);
    return record != nullptr ? record->system->Native(*record) : nullptr;
}

bool WindowSupportsOpenGL(WindowHandle window) {
    const WindowRecord* record = FindWindow(window);
    return record != nullptr && record->system->SupportsOpenGL(*record);
}

bool GetWorkAreaSize(Size* size) {
    if (size == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return false;
    }
    return detail::CurrentWindowSystem().WorkAreaSize(size);
}

namespace headless {

int WindowClassRegistrations() { return detail::Table().classRegistrations; }

}  // namespace headless
}  // namespace os
