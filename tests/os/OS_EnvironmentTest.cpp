#include "os/OS_Environment.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

// Sets or clears variables for one test and puts the old values back.
class ScopedVariable {
public:
    ScopedVariable(const char* name, const char* value) : m_name(name) {
        if (const char* old = std::getenv(name)) {
            m_old = old;
            m_hadValue = true;
        }
        if (value != nullptr) {
            setenv(name, value, 1);
        } else {
            unsetenv(name);
        }
    }
    ~ScopedVariable() {
        if (m_hadValue) {
            setenv(m_name, m_old.c_str(), 1);
        } else {
            unsetenv(m_name);
        }
    }
    ScopedVariable(const ScopedVariable&) = delete;
    ScopedVariable& operator=(const ScopedVariable&) = delete;

private:
    const char* m_name;
    std::string m_old;
    bool m_hadValue = false;
};

}  // namespace

TEST(Environment, UserProfileFallsBackToHome) {
    ScopedVariable home("HOME", "/home/player");
    {
        ScopedVariable profile("USERPROFILE", nullptr);
        EXPECT_EQ(os::GetEnvironmentVariable("USERPROFILE"), "/home/player");
    }
    ScopedVariable profile("USERPROFILE", "/srv/profile");
    EXPECT_EQ(os::GetEnvironmentVariable("USERPROFILE"), "/srv/profile");
}

TEST(Environment, MissingVariablesGiveNothingAndEmptyOnesAValue) {
    ScopedVariable home("HOME", nullptr);
    ScopedVariable profile("USERPROFILE", nullptr);
    ScopedVariable empty("TUNDRA_EMPTY_VARIABLE", "");
    EXPECT_FALSE(os::GetEnvironmentVariable("USERPROFILE").has_value());
    EXPECT_FALSE(os::GetEnvironmentVariable("").has_value());
    EXPECT_EQ(os::GetEnvironmentVariable("TUNDRA_EMPTY_VARIABLE"), "");
}
