#pragma once

#include "os/OS_Error.h"
#include "os/OS_Geometry.h"

#include <cstdint>
#include <string>

struct SDL_Window;

// Top-level windows: a window class with its procedure, windows named by
// handles, client and outer rectangles in screen coordinates and the style
// bits the engine changes. Handles that are never reused make a stale one
// fail cleanly, and one procedure per class receives every message of its
// windows from the one queue the pump empties. The real backend
// puts an SDL window (OpenGL-capable where the driver allows) behind each
// handle; the headless backend keeps a virtual screen that tests drive.
//
// Failing calls return false (or an empty value) and set the thread's last
// error. Windows belong to the thread that runs the message pump.
namespace os {

// 0 is never a window. Handles are not reused, so a stale one stays invalid.
enum class WindowHandle : std::uint32_t {};
constexpr WindowHandle kNoWindow{};

// Style bits.
constexpr std::uint32_t WS_OVERLAPPED = 0x00000000u;
constexpr std::uint32_t WS_MAXIMIZEBOX = 0x00010000u;
constexpr std::uint32_t WS_MINIMIZEBOX = 0x00020000u;
constexpr std::uint32_t WS_THICKFRAME = 0x00040000u;
constexpr std::uint32_t WS_SYSMENU = 0x00080000u;
constexpr std::uint32_t WS_CAPTION = 0x00C00000u;
constexpr std::uint32_t WS_CLIPCHILDREN = 0x02000000u;
constexpr std::uint32_t WS_CLIPSIBLINGS = 0x04000000u;
constexpr std::uint32_t WS_OVERLAPPEDWINDOW =
    WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;

// Error codes of the window calls.
constexpr std::uint32_t ERROR_INVALID_WINDOW_HANDLE = 1400;
constexpr std::uint32_t ERROR_CANNOT_FIND_WND_CLASS = 1407;
constexpr std::uint32_t ERROR_CLASS_ALREADY_EXISTS = 1410;
constexpr std::uint32_t ERROR_INVALID_PIXEL_FORMAT = 2000;

using WindowProc = std::intptr_t (*)(WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                                     std::intptr_t lParam);

// What the window system reports about a window; each becomes a window
// message when the pump takes it (see OS_Message.h).
enum class WindowEvent : std::uint8_t {
    Shown,
    Hidden,
    Exposed,
    Minimized,
    Maximized,
    Restored,
    FocusGained,
    FocusLost,
    Close,
    SizeChanged,
};

// Fails when the name is empty, the procedure null or the class exists.
bool RegisterWindowClass(const std::string& className, WindowProc procedure);

// A hidden window of the class whose client area covers clientRect (screen
// coordinates; shown smaller when the work area cannot hold it, see
// GetClientRect). The class procedure receives WM_CREATE, with lParam the
// creation parameter, before this returns. kNoWindow on failure.
WindowHandle CreateWindow(const std::string& className, std::uint32_t style, const Rect& clientRect,
                          void* createParameter);
bool IsWindow(WindowHandle window);
// Sends WM_DESTROY to the procedure, then removes the window.
bool DestroyWindow(WindowHandle window);

bool ShowWindow(WindowHandle window, bool show);
bool IsWindowVisible(WindowHandle window);
bool SetWindowTitle(WindowHandle window, const std::string& title);
std::string GetWindowTitle(WindowHandle window);
// Loads an icon image file (engine or native path) and gives it to the window.
bool SetWindowIcon(WindowHandle window, const std::string& path);

// The caption and thick-frame bits decide the decoration; the minimise and
// maximise box bits are kept but have no effect on Linux desktops. The
// outer rectangle stays where it is, so the client area may change size.
std::uint32_t GetWindowStyle(WindowHandle window);
bool SetWindowStyle(WindowHandle window, std::uint32_t style);
bool SetWindowTopMost(WindowHandle window, bool topMost);
bool IsWindowTopMost(WindowHandle window);

// One pointer of the owner's choosing; null until set.
bool SetWindowUserData(WindowHandle window, void* data);
void* GetWindowUserData(WindowHandle window);

// Outer rectangle (frame included) in screen coordinates.
bool GetWindowRect(WindowHandle window, Rect* rect);
// (0, 0, width, height); 0 x 0 while the window is minimised. A window
// covering the desktop in full screen (OS_DisplaySettings.h) has the
// full-screen mode's size, whatever it covers; moving or resizing it
// changes nothing until it leaves full screen, and points map between the
// screen and the picture as it is shown scaled. So do they for an OpenGL
// window whose client area the work area cannot hold: it is shown smaller,
// its aspect kept, and keeps its client size.
bool GetClientRect(WindowHandle window, Rect* rect);
// Moves the outer top-left corner, keeping the size.
bool SetWindowPosition(WindowHandle window, std::int32_t x, std::int32_t y);
// Resizes the client area, keeping the outer top-left corner; a size the
// work area cannot hold beside the frame is shown smaller (see
// GetClientRect). Sizes must be positive.
bool SetWindowClientSize(WindowHandle window, std::int32_t width, std::int32_t height);
bool ClientToScreen(WindowHandle window, Point* point);
bool ScreenToClient(WindowHandle window, Point* point);

enum class ShowState : std::uint8_t { Minimized, Maximized, Restored };
bool SetWindowShowState(WindowHandle window, ShowState state);

// Gives the window a pixel format of the table in OS_PixelFormat.h (indices
// start at 1), once: a second, different format is refused. The OpenGL
// contexts made for the window use it.
bool SetPixelFormat(WindowHandle window, std::int32_t index);
std::int32_t GetPixelFormat(WindowHandle window);

// The SDL window behind the handle, for the OpenGL context; null on the
// headless backend or when the handle is not a window.
SDL_Window* GetSdlWindow(WindowHandle window);
// Whether the window was made with OpenGL support (the video driver may have none).
bool WindowSupportsOpenGL(WindowHandle window);

// The size a full-screen window's client area may take on the primary
// display: the desktop minus panels and task bars.
bool GetWorkAreaSize(Size* size);

}  // namespace os
