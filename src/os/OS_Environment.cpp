#include "os/OS_Environment.h"

#include <cstdlib>

namespace os {

std::optional<std::string> GetEnvironmentVariable(std::string_view name) {
    const std::string key(name);
    if (const char* value = std::getenv(key.c_str())) {
        return std::string(value);
    }
    if (key == "USERPROFILE") {
        if (const char* home = std::getenv("HOME")) {
            return std::string(home);
        }
    }
    return std::nullopt;
}

}  // namespace os
