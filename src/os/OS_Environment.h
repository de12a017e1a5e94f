#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace os {

// The value of an environment variable; nothing when it is not set.
// "USERPROFILE" names the user's home folder where saves and settings go;
// when it is not set itself, HOME answers for it.
std::optional<std::string> GetEnvironmentVariable(std::string_view name);

}  // namespace os
