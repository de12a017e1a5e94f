#pragma once

#include <cstdint>

// Test hooks of process exit, kept apart from what the engine includes.
namespace os::headless {

// Tests replace the exit: the interceptor must not return (it throws).
using ExitInterceptor = void (*)(std::uint32_t code);
void SetExitInterceptor(ExitInterceptor interceptor);

}  // namespace os::headless
