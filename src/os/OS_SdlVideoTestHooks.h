#pragma once

// Test hooks of SDL video, kept apart from what the engine includes.
namespace os::sdl {

// How many times this process has started SDL video.
int VideoStartCount();

}  // namespace os::sdl
