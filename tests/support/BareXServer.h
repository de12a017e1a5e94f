#pragma once

#include <optional>
#include <string>
#include <sys/types.h>

// An X server of the test's own, started without -noreset and with no
// window manager: it resets whenever its last client leaves, and a
// connection made during the reset finds no display.
namespace testsupport {

// Xvfb with one screen of the given size, on a display number it picks
// itself, which it writes to a pipe once it takes connections. It ends with
// its owner, or with the test's process.
class BareXServer {
public:
    explicit BareXServer(int width = 1024, int height = 768);
    ~BareXServer();
    BareXServer(const BareXServer&) = delete;
    BareXServer& operator=(const BareXServer&) = delete;

    bool Installed() const { return m_installed; }
    // ":N" once the server takes connections; empty when it never came up.
    const std::string& Display() const { return m_display; }
    // Ends the server now, as a display that goes away mid-run.
    void Stop();

private:
    pid_t m_pid = -1;
    bool m_installed = true;
    std::string m_display;
};

// The environment variable holds the value (is unset for null) while this lives.
class ScopedVariable {
public:
    ScopedVariable(const char* name, const char* value);
    ~ScopedVariable();
    ScopedVariable(const ScopedVariable&) = delete;
    ScopedVariable& operator=(const ScopedVariable&) = delete;

private:
    std::string m_name;
    std::optional<std::string> m_previous;
};

// DISPLAY names the given display while it lives.
class ScopedDisplay : public ScopedVariable {
public:
    explicit ScopedDisplay(const std::string& display) : ScopedVariable("DISPLAY", display.c_str()) {}
};

}  // namespace testsupport
