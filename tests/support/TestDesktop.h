#pragma once

#include "os/OS_Geometry.h"
#include "support/BareXServer.h"
#include "support/VideoDriver.h"
#include "support/X11Desktop.h"

#include <optional>
#include <string>

namespace testsupport {

// A desktop of the test's own while it lives: Xvfb of the given size, the
// window manager asked for managing it (none: a bare server), a connection
// watching it, DISPLAY naming it and the process on SDL's X11 driver.
class TestDesktop {
public:
    TestDesktop(os::Size size, std::optional<Manager> manager);
    // openbox when asked for a window manager.
    TestDesktop(os::Size size, bool windowManager)
        : TestDesktop(size, windowManager ? std::optional<Manager>(Manager::Openbox) : std::nullopt) {}
    TestDesktop(const TestDesktop&) = delete;
    TestDesktop& operator=(const TestDesktop&) = delete;

    // Empty once the desktop is up; else what is missing (a program not
    // installed: Missing() is true) or what failed.
    const std::string& Unready() const { return m_unready; }
    bool Missing() const { return m_missing; }
    const X11Observer& Observer() const { return *m_observer; }

private:
    BareXServer m_server;
    std::optional<WindowManager> m_manager;
    std::optional<X11Observer> m_observer;
    std::optional<ScopedDisplay> m_display;
    std::optional<ScopedVideoDriver> m_driver;
    std::string m_unready;
    bool m_missing = false;
};

}  // namespace testsupport
