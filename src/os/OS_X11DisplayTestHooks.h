#pragma once

// Test hooks of the X display's queries, kept apart from what the engine includes.
namespace os::detail::x11 {

// How many times this process has asked the display where the pointer is.
int PointerQueryCount();
// How many times it has been asked on its own where a window stands.
int OriginQueryCount();

}  // namespace os::detail::x11
