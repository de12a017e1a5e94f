#pragma once

#include "os/OS_Window.h"

#include <cstdint>

// Window messages: the events of every window and the quit request, taken
// one at a time from one queue and handed to the window's class procedure.
namespace os {

constexpr std::uint32_t WM_CREATE = 0x0001;
constexpr std::uint32_t WM_DESTROY = 0x0002;
constexpr std::uint32_t WM_SIZE = 0x0005;
constexpr std::uint32_t WM_ACTIVATE = 0x0006;
constexpr std::uint32_t WM_PAINT = 0x000F;
constexpr std::uint32_t WM_CLOSE = 0x0010;
constexpr std::uint32_t WM_QUIT = 0x0012;
constexpr std::uint32_t WM_SHOWWINDOW = 0x0018;
constexpr std::uint32_t WM_SYSKEYDOWN = 0x0104;
constexpr std::uint32_t WM_SYSKEYUP = 0x0105;
constexpr std::uint32_t WM_SYSCOMMAND = 0x0112;
constexpr std::uint32_t WM_SIZING = 0x0214;

// WM_SIZE wParam.
constexpr std::uintptr_t SIZE_RESTORED = 0;
constexpr std::uintptr_t SIZE_MINIMIZED = 1;
constexpr std::uintptr_t SIZE_MAXIMIZED = 2;

// WM_ACTIVATE wParam (low word).
constexpr std::uintptr_t WA_INACTIVE = 0;
constexpr std::uintptr_t WA_ACTIVE = 1;

// WM_SYSCOMMAND wParam; the low four bits are the system's own.
constexpr std::uintptr_t SC_MINIMIZE = 0xF020;
constexpr std::uintptr_t SC_MAXIMIZE = 0xF030;
constexpr std::uintptr_t SC_RESTORE = 0xF120;

struct Message {
    WindowHandle window = kNoWindow;
    std::uint32_t message = 0;
    std::uintptr_t wParam = 0;
    std::intptr_t lParam = 0;
};

// Takes the next message without waiting; false when the queue is empty.
// A quit request arrives as WM_QUIT with no window.
bool PeekMessage(Message* message);
// Calls the procedure of the message's window; 0 when the window is gone.
std::intptr_t DispatchMessage(const Message& message);
// Queues WM_QUIT behind the messages already queued. Asking again before it
// is taken changes nothing: one request, one WM_QUIT.
void PostQuitMessage(int exitCode);
// The system's handling of a message the procedure leaves alone.
std::intptr_t DefWindowProc(WindowHandle window, std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam);

}  // namespace os
