#pragma once

// Test hooks of the X display's queries, kept apart from what the engine includes.
namespace os::detail::x11 {

// How many times this process has asked the display where the pointer is.
int PointerQueryCount();

}  // namespace os::detail::x11
