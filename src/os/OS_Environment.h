#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace os {

// The value of an environment variable; nothing when it is not set.
// "USERPROFILE", the user's home folder on the system the engine was written
// for, falls back to HOME when it is not set itself.
std::optional<std::string> GetEnvironmentVariable(std::string_view name);

}  // namespace os
