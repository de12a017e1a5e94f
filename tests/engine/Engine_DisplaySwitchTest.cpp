#include "engine/Engine_EngineRun.h"
#include "engine/Engine_RenderingApplication.h"
#include "os/OS_Cursor.h"
#include "os/OS_GLFunctions.h"
#include "os/OS_Letterbox.h"
#include "os/OS_Window.h"
#include "support/TestDesktop.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <sstream>
#include <string>

// A player switching between a window and full screen again and again
// (Options > FullScreen, Options > Windowed), the pointer resting over the
// game, on a bare X server and under the window managers players run:
// every switch reaches its mode with the window shown, full screen shows
// the whole picture over the screen, the window comes back framed where it
// stood with its whole frame on the screen, and the pointer stays where it
// is and is read there.
namespace displayswitch {

namespace gl = os::gl;

// TUNDRA_DISPLAY_SWITCHES asks for a longer run than the test command's.
int Switches() {
    const char* asked = std::getenv("TUNDRA_DISPLAY_SWITCHES");
    return asked != nullptr && std::atoi(asked) > 0 ? std::atoi(asked) : 8;
}

const testsupport::X11Observer* g_observer = nullptr;
os::Size g_screen;
bool g_startsFullScreen = false;
std::ostringstream g_faults;
int g_switches = 0;

std::string Text(const os::Rect& rect) {
    return "(" + std::to_string(rect.left) + ", " + std::to_string(rect.top) + ") - (" + std::to_string(rect.right) +
           ", " + std::to_string(rect.bottom) + ")";
}

std::string Text(os::Point point) { return "(" + std::to_string(point.x) + ", " + std::to_string(point.y) + ")"; }

class SwitchingApplication : public Engine::RenderingApplication {
public:
    SwitchingApplication() : RenderingApplication({1024, 768, 60, 0, g_startsFullScreen, true}) {
        SetDesiredFrameRate(60.0);
        LockFrameRate(true);
    }

    void Frame() override {
        gl::ClearColor(1, 1, 1, 1);
        gl::Clear(GL_COLOR_BUFFER_BIT);
        if (++m_frames > kFrameLimit) {
            g_faults << "switch " << g_switches << " never settled; ";
            Exit();
            return;
        }
        const testsupport::XWindowId window = testsupport::X11WindowOf(os::GetSdlWindow(GetWindow().GetHandle()));
        const os::Rect framed = g_observer->FramedRect(window);
        m_stillFrames = framed == m_lastFramed ? m_stillFrames + 1 : 0;
        m_lastFramed = framed;
        const bool fullScreen = ((g_switches % 2) == 1) != g_startsFullScreen;
        // A window manager that cannot take the frame away (twm) leaves it
        // around the screen: the picture covers the screen all the same.
        const bool covers = g_observer->ClientRect(window) == Screen();
        if (m_stillFrames < kStillFrames || covers != fullScreen) {
            return;
        }
        if (!m_pointerPlaced) {
            m_pointerPlaced = true;
            m_pointer = {(framed.left + framed.right) / 2, (framed.top + framed.bottom) / 2};
            g_observer->WarpPointer(m_pointer);
            return;
        }
        Check(window, framed, fullScreen);
        if (g_switches == Switches()) {
            Exit();
            return;
        }
        ++g_switches;
        m_frames = 0;
        AutoToggleFullScreen();
    }

private:
    // A hang guard: a window manager on a loaded machine may take many frames.
    static constexpr int kFrameLimit = 7200;
    static constexpr int kStillFrames = 20;

    static os::Rect Screen() { return {0, 0, g_screen.width, g_screen.height}; }

    void Check(testsupport::XWindowId window, const os::Rect& framed, bool fullScreen) {
        if (!g_observer->Viewable(window)) {
            g_faults << "after switch " << g_switches << " the window is not shown; ";
        }
        const os::Rect screen = Screen();
        if (!fullScreen && (framed.left < screen.left || framed.top < screen.top || framed.right > screen.right ||
                            framed.bottom > screen.bottom)) {
            g_faults << "after switch " << g_switches << " the frame " << Text(framed) << " leaves the screen; ";
        }
        if (!fullScreen && !m_home) {
            m_home = framed;
        }
        if (!fullScreen && framed != *m_home) {
            g_faults << "after switch " << g_switches << " the window is at " << Text(framed) << ", not "
                     << Text(*m_home) << "; ";
        }
        if (g_observer->PointerPosition() != m_pointer) {
            g_faults << "after switch " << g_switches << " the pointer is at " << Text(g_observer->PointerPosition())
                     << ", not " << Text(m_pointer) << "; ";
        }
        // Where the game reads it within its picture, against where the
        // display has the window's client area.
        os::Point read;
        os::GetCursorPos(&read);
        os::ScreenToClient(GetWindow().GetHandle(), &read);
        const os::Rect client = g_observer->ClientRect(window);
        os::Rect picture;
        os::GetClientRect(GetWindow().GetHandle(), &picture);
        const os::Rect shown = os::detail::LetterboxArea({picture.Width(), picture.Height()},
                                                         {client.Width(), client.Height()});
        const os::Point expected{(m_pointer.x - client.left - shown.left) * picture.Width() / shown.Width(),
                                 (m_pointer.y - client.top - shown.top) * picture.Height() / shown.Height()};
        if (std::abs(read.x - expected.x) > 1 || std::abs(read.y - expected.y) > 1) {
            g_faults << "after switch " << g_switches << " the game reads the pointer at " << Text(read)
                     << " of its picture, not " << Text(expected) << "; ";
        }
    }

    int m_frames = 0;
    int m_stillFrames = 0;
    os::Rect m_lastFramed;
    std::optional<os::Rect> m_home;
    bool m_pointerPlaced = false;
    os::Point m_pointer;
};

void CreateSwitching(Core::RefPtr<Engine::Application>& app, const Core::String&) {
    app = TUN_NEW(SwitchingApplication);
}

TEST(X11DisplaySwitch, EachSwitchReachesItsModeAndLeavesTheWindowAndThePointerInPlace) {
    using testsupport::Manager;
    struct Case {
        os::Size desktop;
        std::optional<Manager> manager;
        // As the game's default configuration does: windowed then has no
        // earlier place of its own.
        bool startsFullScreen;
    };
    const Case cases[] = {{{1280, 800}, std::nullopt, false},     {{1280, 800}, Manager::Openbox, false},
                          {{1000, 700}, Manager::Openbox, false}, {{1280, 800}, Manager::Openbox, true},
                          {{1280, 800}, Manager::Icewm, true},    {{1280, 800}, Manager::I3, true},
                          {{1280, 800}, Manager::Twm, true}};
    // A desktop whose window manager is not installed is left out.
    std::string missing;
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.desktop.width) + " x " + std::to_string(c.desktop.height) +
                     (c.manager ? std::string(" with ") + testsupport::ManagerName(*c.manager) : std::string()) +
                     (c.startsFullScreen ? ", starting full screen" : ""));
        const testsupport::TestDesktop desktop(c.desktop, c.manager);
        if (desktop.Missing()) {
            missing += desktop.Unready() + "; ";
            continue;
        }
        ASSERT_EQ(desktop.Unready(), "");
        g_observer = &desktop.Observer();
        g_screen = c.desktop;
        g_startsFullScreen = c.startsFullScreen;
        g_faults.str("");
        g_switches = 0;
        ASSERT_EQ(EngineRun("", &CreateSwitching), 0);
        EXPECT_EQ(g_switches, Switches());
        EXPECT_EQ(g_faults.str(), "");
    }
    if (!missing.empty()) {
        GTEST_SKIP() << missing;
    }
}

}  // namespace displayswitch
