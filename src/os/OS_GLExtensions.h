#pragma once

#include "os/OS_Window.h"

#include <cstdint>

// Extension entry points fetched by name, and the window-system extensions
// of the current context: its extension string and its swap interval.
namespace os {

using ProcAddress = void (*)();

constexpr std::uint32_t ERROR_PROC_NOT_FOUND = 127;

// The entry point of a known extension function, or null (last error set)
// when no context is current or the current one does not offer the
// extension or GL version the function belongs to. The driver itself hands
// out stubs for any name at all, so only names listed here are answered:
// the multitexture, secondary colour, fog coordinate and buffer-object
// functions, and the window-system functions below.
ProcAddress GetProcAddress(const char* name);

// The window-system functions GetProcAddress hands out, as the renderer
// calls them. The extension string names the extensions of the current
// context: always "WGL_ARB_extensions_string WGL_EXT_extensions_string
// WGL_ARB_pixel_format", then "WGL_ARB_multisample" when multisampled pixel
// formats exist and "WGL_EXT_swap_control" when the driver lets the current
// context change its swap interval. The text stays valid until the next
// call. Null (last error set) when no context is current.
const char* GetExtensionsStringARB(WindowHandle dc);
const char* GetExtensionsStringEXT();
// 0 shows frames at once, 1 waits for the vertical blank.
bool SwapIntervalEXT(std::int32_t interval);

}  // namespace os
