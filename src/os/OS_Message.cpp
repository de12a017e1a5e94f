#include "os/OS_Message.h"

#include "os/OS_Error.h"
#include "os/OS_HeadlessWindowHooks.h"
#include "os/OS_WindowSystem.h"

namespace os {
namespace {

using detail::RawEvent;

// The quit request as the pump hands it out: WM_QUIT with no window.
constexpr Message kQuitMessage{kNoWindow, WM_QUIT, 0, 0};

// The quit request is one flag, so that the window's close handler and the
// game asking to quit in the same frame end the loop once: posting it twice
// before the pump takes it gives one WM_QUIT.
bool g_quitPending = false;
// A system quit right after a close request is the same request twice.
bool g_closeSinceEmpty = false;

std::intptr_t PackSize(Size size) {
    return static_cast<std::intptr_t>((static_cast<std::uint32_t>(size.width) & 0xFFFFu) |
                                      ((static_cast<std::uint32_t>(size.height) & 0xFFFFu) << 16));
}

Size ClientSizeOf(WindowHandle window) {
    Rect client;
    if (!GetClientRect(window, &client)) {
        return {};
    }
    return {client.right, client.bottom};
}

Message MessageFor(WindowHandle window, WindowEvent event) {
    switch (event) {
        case WindowEvent::Shown: return {window, WM_SHOWWINDOW, 1, 0};
        case WindowEvent::Hidden: return {window, WM_SHOWWINDOW, 0, 0};
        case WindowEvent::Exposed: return {window, WM_PAINT, 0, 0};
        case WindowEvent::Minimized: return {window, WM_SIZE, SIZE_MINIMIZED, 0};
        case WindowEvent::Maximized: return {window, WM_SIZE, SIZE_MAXIMIZED, PackSize(ClientSizeOf(window))};
        case WindowEvent::Restored: return {window, WM_SIZE, SIZE_RESTORED, PackSize(ClientSizeOf(window))};
        case WindowEvent::FocusGained: return {window, WM_ACTIVATE, WA_ACTIVE, 0};
        case WindowEvent::FocusLost: return {window, WM_ACTIVATE, WA_INACTIVE, 0};
        case WindowEvent::Close: return {window, WM_CLOSE, 0, 0};
        case WindowEvent::SizeChanged: return {window, WM_SIZING, 0, 0};
    }
    return {window, WM_PAINT, 0, 0};
}

// Turns one queued event into a message; false when it is to be dropped.
bool Translate(const RawEvent& event, Message* message) {
    switch (event.kind) {
        case RawEvent::Kind::Quit:
            // A quit already delivered through the empty-queue path leaves a stale entry.
            if (!g_quitPending) {
                return false;
            }
            g_quitPending = false;
            *message = kQuitMessage;
            return true;
        case RawEvent::Kind::SystemQuit: {
            if (g_closeSinceEmpty) {
                return false;
            }
            // The session's quit goes the way of a click on the close button
            // of the oldest window, so the program can refuse or save first.
            const std::vector<detail::WindowRecord*> windows = detail::LiveWindows();
            if (windows.empty()) {
                *message = kQuitMessage;
                return true;
            }
            g_closeSinceEmpty = true;
            *message = {windows.front()->handle, WM_CLOSE, 0, 0};
            return true;
        }
        case RawEvent::Kind::Window:
            if (!IsWindow(event.window)) {
                return false;
            }
            *message = MessageFor(event.window, event.event);
            if (message->message == WM_CLOSE) {
                g_closeSinceEmpty = true;
            }
            return true;
        case RawEvent::Kind::Posted:
            *message = event.posted;
            return true;
    }
    return false;
}

}  // namespace

bool PeekMessage(Message* message) {
    if (message == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return false;
    }
    detail::WindowSystem& system = detail::CurrentWindowSystem();
    RawEvent event;
    while (system.NextEvent(&event)) {
        if (Translate(event, message)) {
            return true;
        }
    }
    g_closeSinceEmpty = false;
    // The queued quit was lost (the window system shut down with it queued,
    // or none could be queued): the request still stands.
    if (g_quitPending) {
        g_quitPending = false;
        *message = kQuitMessage;
        return true;
    }
    return false;
}

std::intptr_t DispatchMessage(const Message& message) {
    const detail::WindowRecord* record = detail::FindWindow(message.window);
    if (record == nullptr) {
        return 0;
    }
    return record->procedure(message.window, message.message, message.wParam, message.lParam);
}

void PostQuitMessage(int) {
    if (g_quitPending) {
        return;
    }
    g_quitPending = true;
    detail::CurrentWindowSystem().QueueQuit();
}

std::intptr_t DefWindowProc(WindowHandle window, std::uint32_t message, std::uintptr_t wParam, std::intptr_t) {
    if (message != WM_SYSCOMMAND) {
        return 0;
    }
    // The system ignores the low four bits of a command.
    switch (wParam & 0xFFF0u) {
        case SC_MINIMIZE: SetWindowShowState(window, ShowState::Minimized); break;
        case SC_MAXIMIZE: SetWindowShowState(window, ShowState::Maximized); break;
        case SC_RESTORE: SetWindowShowState(window, ShowState::Restored); break;
        default: break;
    }
    return 0;
}

namespace headless {

void PostMessage(const Message& message) {
    RawEvent event;
    event.kind = RawEvent::Kind::Posted;
    event.posted = message;
    detail::QueueHeadlessEvent(event);
}

void ResetWindowSystem() {
    detail::ResetHeadlessScreen();
    g_quitPending = false;
    g_closeSinceEmpty = false;
}

}  // namespace headless
}  // namespace os
