#include "support/TestDesktop.h"

namespace testsupport {

TestDesktop::TestDesktop(os::Size size, std::optional<Manager> manager) : m_server(size.width, size.height) {
    if (!m_server.Installed()) {
        m_unready = "Xvfb is not installed";
        m_missing = true;
        return;
    }
    if (m_server.Display().empty()) {
        m_unready = "Xvfb did not come up";
        return;
    }
    if (manager) {
        m_manager.emplace(m_server.Display(), *manager);
        if (!m_manager->Installed()) {
            m_unready = std::string(ManagerName(*manager)) + " is not installed";
            m_missing = true;
            return;
        }
        if (!m_manager->Managing()) {
            m_unready = std::string(ManagerName(*manager)) + " did not take the display";
            return;
        }
    }
    m_observer.emplace(m_server.Display());
    if (!m_observer->Connected()) {
        m_unready = "no connection to the display";
        return;
    }
    m_display.emplace(m_server.Display());
    m_driver.emplace("x11");
}

}  // namespace testsupport
