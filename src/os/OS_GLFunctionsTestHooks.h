#pragma once

#include "os/OS_GLFunctions.h"

#include <cstdint>
#include <string>
#include <vector>

// Test hooks of the GL function table.
namespace os::gl {

// How many calls went to the stubs since the process started.
std::uint64_t IgnoredCallCount();

// Tests pretend the driver lacks these extensions: GetString(GL_EXTENSIONS)
// leaves them out and their entry points are not handed out. Empty restores.
void SetHiddenExtensionsForTesting(const std::vector<std::string>& names);

}  // namespace os::gl
