#include "os/OS_Environment.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>

namespace {

// Sets (or, for null, clears) a variable and gives back its old value.
std::optional<std::string> Replace(const char* name, const char* value) {
    std::optional<std::string> old;
    if (const char* current = std::getenv(name)) {
        old = current;
    }
    if (value != nullptr) {
        setenv(name, value, 1);
    } else {
        unsetenv(name);
    }
    return old;
}

}  // namespace

TEST(Environment, UserProfileFallsBackToHomeAndMissingVariablesGiveNothing) {
    const std::optional<std::string> home = Replace("HOME", "/home/player");
    const std::optional<std::string> profile = Replace("USERPROFILE", nullptr);
    EXPECT_EQ(os::GetEnvironmentVariable("USERPROFILE"), "/home/player");
    Replace("USERPROFILE", "/srv/profile");
    EXPECT_EQ(os::GetEnvironmentVariable("USERPROFILE"), "/srv/profile");

    Replace("HOME", nullptr);
    Replace("USERPROFILE", nullptr);
    Replace("TUNDRA_EMPTY_VARIABLE", "");
    EXPECT_FALSE(os::GetEnvironmentVariable("USERPROFILE").has_value());
    EXPECT_FALSE(os::GetEnvironmentVariable("").has_value());
    EXPECT_EQ(os::GetEnvironmentVariable("TUNDRA_EMPTY_VARIABLE"), "");

    Replace("TUNDRA_EMPTY_VARIABLE", nullptr);
    Replace("HOME", home ? home->c_str() : nullptr);
    Replace("USERPROFILE", profile ? profile->c_str() : nullptr);
}
