#include "pal/PAL_Window.h"

#include "os/OS_GLContext.h"
#include "os/OS_Message.h"
#include "pal/PAL_ErrorReporter.h"

namespace PAL {
namespace {

constexpr std::uint32_t kWindowStyle = os::WS_OVERLAPPEDWINDOW | os::WS_CLIPSIBLINGS | os::WS_CLIPCHILDREN;

// The class is registered by the first window of the process.
bool g_classRegistered = false;

std::uint32_t WithBit(std::uint32_t style, std::uint32_t bits, bool on) {
    return on ? (style | bits) : (style & ~bits);
}

// Runs a command callback with a cleared flag; true when it handled the command.
bool Handled(Window::CommandCallback callback, Window* window) {
    if (callback == nullptr) {
        return false;
    }
    bool handled = false;
    callback(window, &handled);
    return handled;
}

}  // namespace

Window::Window(std::int32_t clientWidth, std::int32_t clientHeight) {
    // A window smaller than the work area is centred; any larger one starts
    // at the top-left corner of the screen.
    os::Size screen;
    os::GetWorkAreaSize(&screen);
    os::Point origin;
    if (clientWidth < screen.width && clientHeight < screen.height) {
        origin = {(screen.width - clientWidth) / 2, (screen.height - clientHeight) / 2};
    }
    if (!g_classRegistered) {
        os::RegisterWindowClass(kClassName, &Window::WindowProc);
        g_classRegistered = true;
    }
    const os::Rect client{origin.x, origin.y, origin.x + clientWidth, origin.y + clientHeight};
    // WM_CREATE fills in the handle and the drawing surface before this returns.
    // Without a window (no display, above all) the program cannot go on.
    SetErrorContext("CreateWindow", "PAL::Window::Window", __LINE__, "PAL_Window");
    ReportLastErrorAndExit(os::CreateWindow(kClassName, kWindowStyle, client, this) == os::kNoWindow);
}

Window::~Window() { Destory(); }

void Window::Destory() {
    m_pixelFormat = 0;
    if (!os::IsWindow(m_handle)) {
        return;
    }
    if (os::GetCurrentGLWindow() == m_deviceContext) {
        SetErrorContext("wglMakeCurrent", "PAL::Window::Destory", __LINE__, "PAL_Window");
        ReportLastErrorAndExit(!os::ReleaseGLContext(m_deviceContext));
    }
    SetErrorContext("DestroyWindow", "PAL::Window::Destory", __LINE__, "PAL_Window");
    ReportLastErrorAndExit(!os::DestroyWindow(m_handle));
    m_handle = os::kNoWindow;
    m_deviceContext = os::kNoWindow;
}

void Window::SetMaximizeBox(bool on) {
    m_maximizeBox = on ? 1 : 0;
    ApplyStyle();
}

void Window::SetDecorated(bool on) {
    m_decorated = on ? 1 : 0;
    ApplyStyle();
}

void Window::SetResizable(bool on) {
    m_resizable = on ? 1 : 0;
    ApplyStyle();
}

void Window::SetTopMost(bool on) { os::SetWindowTopMost(m_handle, on); }

void Window::SetVisible(bool visible) {
    m_visible = visible ? 1 : 0;
    os::ShowWindow(m_handle, visible);
}

void Window::SetClientSize(std::int32_t width, std::int32_t height) {
    os::SetWindowClientSize(m_handle, width, height);
}

// The parent of a top-level window is the desktop, whose client area starts
// at (0, 0): screen coordinates are already the parent's.
void Window::SetPosition(std::int32_t x, std::int32_t y) { os::SetWindowPosition(m_handle, x, y); }

void Window::GetPosition(std::int32_t* x, std::int32_t* y) const {
    os::Rect outer;
    if (!os::GetWindowRect(m_handle, &outer)) {
        return;
    }
    if (x != nullptr) {
        *x = outer.left;
    }
    if (y != nullptr) {
        *y = outer.top;
    }
}

void Window::SetTitle(const Core::String& title) {
    m_title = title;
    os::SetWindowTitle(m_handle, std::string(title));
}

void Window::SetIcon(const Core::String& path) {
    m_iconPath = path;
    os::SetWindowIcon(m_handle, std::string(path));
}

// Only a format the window accepted is recorded as its own.
bool Window::SetPixelFormat(std::int32_t index) {
    if (!os::SetPixelFormat(m_deviceContext, index)) {
        return false;
    }
    m_pixelFormat = index;
    return true;
}

void Window::ApplyStyle() {
    std::uint32_t style = os::GetWindowStyle(m_handle);
    if (m_decorated != 0) {
        style = WithBit(style, os::WS_CAPTION, m_caption != 0);
        style = WithBit(style, os::WS_THICKFRAME, m_resizable != 0);
    } else {
        style &= ~(os::WS_CAPTION | os::WS_THICKFRAME);
    }
    style = WithBit(style, os::WS_MINIMIZEBOX, m_minimizeBox != 0);
    style = WithBit(style, os::WS_MAXIMIZEBOX, m_maximizeBox != 0);

    // A new frame keeps the outer rectangle; the client area is put back.
    os::Rect before;
    os::GetClientRect(m_handle, &before);
    os::SetWindowStyle(m_handle, style);
    os::Rect after;
    os::GetClientRect(m_handle, &after);
    if (after != before) {
        os::SetWindowClientSize(m_handle, before.Width(), before.Height());
    }
}

std::intptr_t Window::WindowProc(os::WindowHandle handle, std::uint32_t message, std::uintptr_t wParam,
                                 std::intptr_t lParam) {
    if (message == os::WM_CREATE) {
        auto* window = reinterpret_cast<Window*>(lParam);
        window->m_handle = handle;
        window->m_deviceContext = handle;
        os::SetWindowUserData(handle, window);
        if (window->m_onCreate != nullptr) {
            window->m_onCreate(window);
        }
        return 0;
    }
    auto* window = static_cast<Window*>(os::GetWindowUserData(handle));
    if (window == nullptr) {
        return os::DefWindowProc(handle, message, wParam, lParam);
    }
    return window->HandleMessage(message, wParam, lParam);
}

std::intptr_t Window::HandleMessage(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) {
    switch (message) {
        case os::WM_DESTROY:
            if (m_onDestroy != nullptr) {
                m_onDestroy(this);
            }
            return 0;
        case os::WM_SIZE: {
            EventCallback callback = nullptr;
            if (wParam == os::SIZE_MINIMIZED) {
                callback = m_onMinimized;
            } else if (wParam == os::SIZE_MAXIMIZED) {
                callback = m_onMaximized;
            } else if (wParam == os::SIZE_RESTORED) {
                callback = m_onRestored;
            }
            if (callback != nullptr) {
                callback(this);
            }
            return 0;
        }
        case os::WM_ACTIVATE:
            if (m_onActivate != nullptr) {
                m_onActivate(this, (wParam & 0xFFFFu) != os::WA_INACTIVE);
            }
            return os::DefWindowProc(m_handle, message, wParam, lParam);
        case os::WM_PAINT:
            // Nothing is painted here: the renderer draws every frame.
            if (m_onPaint != nullptr) {
                m_onPaint(this);
            }
            return 0;
        case os::WM_CLOSE:
            // The window is never destroyed by a close: the program decides.
            if (!Handled(m_onClose, this)) {
                os::PostQuitMessage(0);
            }
            return 0;
        case os::WM_SHOWWINDOW:
            if (m_onShow != nullptr) {
                m_onShow(this, wParam == 1);
            }
            return 0;
        case os::WM_SYSKEYDOWN:
        case os::WM_SYSKEYUP:
            // Alt and F10 never open the system menu.
            return 0;
        case os::WM_SYSCOMMAND: {
            // Only the exact commands: a value with the system's low bits set
            // goes to the default handling untouched.
            CommandCallback callback = nullptr;
            if (wParam == os::SC_MINIMIZE) {
                callback = m_onMinimizeCommand;
            } else if (wParam == os::SC_MAXIMIZE) {
                callback = m_onMaximizeCommand;
            } else if (wParam == os::SC_RESTORE) {
                callback = m_onRestoreCommand;
            }
            if (Handled(callback, this)) {
                return 0;
            }
            return os::DefWindowProc(m_handle, message, wParam, lParam);
        }
        case os::WM_SIZING:
            if (m_onSizing != nullptr) {
                os::Rect client;
                os::GetClientRect(m_handle, &client);
                m_onSizing(this, client.Width(), client.Height());
            }
            return 1;
        default: return os::DefWindowProc(m_handle, message, wParam, lParam);
    }
}

bool PumpMessages() {
    os::Message message;
    while (os::PeekMessage(&message)) {
        if (message.message == os::WM_QUIT) {
            return false;
        }
        os::DispatchMessage(message);
    }
    return true;
}

void RequestQuit() { os::PostQuitMessage(0); }

}  // namespace PAL
