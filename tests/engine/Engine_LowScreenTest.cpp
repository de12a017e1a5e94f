#include "engine/Engine_EngineRun.h"
#include "engine/Engine_RenderingApplication.h"
#include "os/OS_GLFunctions.h"
#include "os/OS_Letterbox.h"
#include "support/TestDesktop.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

// The game's 1024 x 768 picture on desktops lower than 768 rows, full
// screen and then in a window, as the screen shows it.
namespace lowscreen {

namespace gl = os::gl;
using testsupport::ScreenImage;

constexpr os::Size kPicture{1024, 768};
constexpr std::uint32_t kWhite = 0xFFFFFF, kRed = 0xFF0000, kBlue = 0x0000FF, kBlack = 0x000000;
constexpr int kBand = 32;

// A white picture with a red band along its top and a blue one along its
// bottom.
void DrawPattern() {
    const auto fill = [](std::uint32_t colour, int x, int y, int width, int height) {
        gl::Scissor(x, y, width, height);
        gl::ClearColor(((colour >> 16) & 0xFF) / 255.0f, ((colour >> 8) & 0xFF) / 255.0f, (colour & 0xFF) / 255.0f,
                       1.0f);
        gl::Clear(GL_COLOR_BUFFER_BIT);
    };
    gl::Enable(GL_SCISSOR_TEST);
    fill(kWhite, 0, 0, kPicture.width, kPicture.height);
    // GL counts rows from the bottom.
    fill(kRed, 0, kPicture.height - kBand, kPicture.width, kBand);
    fill(kBlue, 0, 0, kPicture.width, kBand);
    gl::Disable(GL_SCISSOR_TEST);
}

// The points of the picture that are wrong where it should show within
// `area` of the screen; with bars, the screen is black beside the area.
std::string WrongPoints(const ScreenImage& screen, const os::Rect& area) {
    struct Point {
        const char* what;
        int x;
        int y;
        std::uint32_t colour;
    };
    const int middleX = (area.left + area.right) / 2;
    const int middleY = (area.top + area.bottom) / 2;
    std::vector<Point> points{{"top", middleX, area.top + 2, kRed},
                              {"top left", area.left + 2, area.top + 2, kRed},
                              {"top right", area.right - 3, area.top + 2, kRed},
                              {"bottom", middleX, area.bottom - 3, kBlue},
                              {"bottom left", area.left + 2, area.bottom - 3, kBlue},
                              {"bottom right", area.right - 3, area.bottom - 3, kBlue},
                              {"middle", middleX, middleY, kWhite}};
    if (area.left >= 2 && area.right + 1 < screen.width) {
        points.push_back({"left bar", area.left - 2, middleY, kBlack});
        points.push_back({"right bar", area.right + 1, middleY, kBlack});
    }
    std::ostringstream wrong;
    for (const Point& point : points) {
        const bool onScreen = point.x >= 0 && point.y >= 0 && point.x < screen.width && point.y < screen.height;
        const std::uint32_t seen = onScreen ? screen.At(point.x, point.y) : 0xFFFFFFFFu;
        if (seen != point.colour) {
            wrong << point.what << " (" << point.x << ", " << point.y << ") is " << std::hex << seen << std::dec
                  << "; ";
        }
    }
    return wrong.str();
}

// What the run saw: the screen full screen, then the window with its
// frame and the screen once the window stood still.
struct Seen {
    ScreenImage fullScreen;
    os::Rect client;
    os::Rect framed;
    ScreenImage windowed;
};

const testsupport::X11Observer* g_observer = nullptr;
Seen g_seen;

// Set up as the game sets itself up: full screen at 1024 x 768. Once the
// screen shows the picture it goes to a window (Options > Windowed).
class LowScreenApplication : public Engine::RenderingApplication {
public:
    LowScreenApplication() : RenderingApplication({1024, 768, 60, 0, true, true}) {
        SetDesiredFrameRate(60.0);
        LockFrameRate(true);
    }

    void Frame() override {
        DrawPattern();
        ++m_frames;
        if (m_frames > kFrameLimit) {
            ADD_FAILURE() << "the window never stood still";
            Exit();
        } else if (!m_windowed) {
            WatchFullScreen();
        } else {
            WatchWindow();
        }
    }

private:
    static constexpr int kFrameLimit = 1200;
    static constexpr int kStillFrames = 30;

    // A few frames have been shown once the middle of the screen is the picture's.
    void WatchFullScreen() {
        ScreenImage screen = g_observer->ReadScreen();
        if (m_frames < 3 || screen.pixels.empty() || screen.At(screen.width / 2, screen.height / 2) != kWhite) {
            return;
        }
        g_seen.fullScreen = std::move(screen);
        AutoToggleFullScreen();
        m_windowed = true;
    }

    // The window has left full screen, and the window manager is done with
    // it once it stands still.
    void WatchWindow() {
        const testsupport::XWindowId window = testsupport::X11WindowOf(os::GetSdlWindow(GetWindow().GetHandle()));
        const os::Rect framed = g_observer->FramedRect(window);
        const os::Rect screen{0, 0, g_seen.fullScreen.width, g_seen.fullScreen.height};
        m_stillFrames = framed != screen && framed == m_lastFramed ? m_stillFrames + 1 : 0;
        m_lastFramed = framed;
        if (m_stillFrames < kStillFrames) {
            return;
        }
        g_seen.framed = framed;
        g_seen.client = g_observer->ClientRect(window);
        g_seen.windowed = g_observer->ReadScreen();
        Exit();
    }

    int m_frames = 0;
    bool m_windowed = false;
    os::Rect m_lastFramed;
    int m_stillFrames = 0;
};

void CreateLowScreen(Core::RefPtr<Engine::Application>& app, const Core::String&) {
    app = TUN_NEW(LowScreenApplication);
}

os::Rect Offset(const os::Rect& rect, const os::Rect& by) {
    return {rect.left + by.left, rect.top + by.top, rect.right + by.left, rect.bottom + by.top};
}

// On a bare X server and under a window manager, which frames the window.
TEST(X11LowScreen, ThePictureIsScaledDownWholeFullScreenAndInAWindowThatFits) {
    struct Case {
        os::Size desktop;
        bool windowManager;
    };
    for (const Case c : {Case{{1024, 600}, false}, Case{{1280, 720}, false}, Case{{1024, 600}, true}}) {
        const os::Size desktop = c.desktop;
        SCOPED_TRACE(std::to_string(desktop.width) + " x " + std::to_string(desktop.height) +
                     (c.windowManager ? " with openbox" : ""));
        const testsupport::TestDesktop own(desktop, c.windowManager);
        if (own.Missing()) {
            GTEST_SKIP() << own.Unready();
        }
        ASSERT_EQ(own.Unready(), "");
        g_observer = &own.Observer();
        g_seen = {};
        ASSERT_EQ(EngineRun("", &CreateLowScreen), 0);

        ASSERT_EQ(g_seen.fullScreen.width, desktop.width);
        EXPECT_EQ(WrongPoints(g_seen.fullScreen, os::detail::LetterboxArea(kPicture, desktop)), "")
            << "full screen";
        const os::Rect screen{0, 0, desktop.width, desktop.height};
        EXPECT_TRUE(g_seen.framed.left >= 0 && g_seen.framed.top >= 0 && g_seen.framed.right <= screen.right &&
                    g_seen.framed.bottom <= screen.bottom)
            << "the window (" << g_seen.framed.left << ", " << g_seen.framed.top << ") - (" << g_seen.framed.right
            << ", " << g_seen.framed.bottom << ") does not fit the screen";
        const os::Size client{g_seen.client.Width(), g_seen.client.Height()};
        EXPECT_EQ(WrongPoints(g_seen.windowed, Offset(os::detail::LetterboxArea(kPicture, client), g_seen.client)),
                  "")
            << "in a window";
    }
}

}  // namespace lowscreen
