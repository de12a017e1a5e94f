#include "os/OS_Cursor.h"
#include "os/OS_DisplaySettings.h"
#include "os/OS_GLContext.h"
#include "os/OS_GLFunctions.h"
#include "os/OS_GLFunctionsTestHooks.h"
#include "os/OS_HeadlessDisplayHooks.h"
#include "os/OS_Letterbox.h"
#include "os/OS_Message.h"
#include "os/OS_SdlVideo.h"
#include "os/OS_Window.h"
#include "support/VideoDriver.h"

#include <GL/glext.h>
#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

// Full screen at the desktop size: the desktop's mode stays, the window
// covers it and the mode's picture is shown scaled to fit.
namespace {

namespace gl = os::gl;

TEST(Letterbox, ThePictureFitsAndPointsMapBothWays) {
    struct Case {
        os::Size picture;
        os::Size window;
        os::Rect area;
    };
    for (const Case& c : {Case{{1024, 768}, {1600, 900}, {200, 0, 1400, 900}},
                          Case{{1024, 768}, {1024, 768}, {0, 0, 1024, 768}},
                          Case{{800, 600}, {1280, 1024}, {0, 32, 1280, 992}}, Case{{0, 0}, {800, 600}, {}}}) {
        EXPECT_EQ(os::detail::LetterboxArea(c.picture, c.window), c.area);
    }
    const os::Size picture{1024, 768};
    const os::Size window{1600, 900};
    EXPECT_EQ(os::detail::WindowToPicture({800, 450}, picture, window), (os::Point{512, 384}));
    EXPECT_EQ(os::detail::WindowToPicture({199, 0}, picture, window), (os::Point{-1, 0})) << "bars lie outside";
    EXPECT_EQ(os::detail::PictureToWindow({512, 384}, picture, window), (os::Point{800, 450}));
    EXPECT_EQ(os::detail::PictureToWindow({INT32_MAX, 0}, picture, window).x, INT32_MAX) << "saturates";
    // A cursor placed at a picture point reads back as that point.
    for (const os::Size shown : {window, os::Size{1920, 1080}, os::Size{1280, 1024}}) {
        for (std::int32_t i = 0; i < picture.height; ++i) {
            const os::Point point{i, i};
            ASSERT_EQ(os::detail::WindowToPicture(os::detail::PictureToWindow(point, picture, shown), picture, shown),
                      point)
                << shown.width << " x " << shown.height;
        }
    }
}

constexpr os::DisplayMode kMode{1024, 768, 32, 60};
constexpr os::DisplayMode kDesktop{1600, 900, 32, 60};

class OffscreenFullScreen : public testing::Test {
protected:
    void SetUp() override {
        os::headless::ResetDisplay();
        os::headless::SetDisplayModes({kMode}, kDesktop);
        static const bool registered = os::RegisterWindowClass("FullScreenTest", &os::DefWindowProc);
        static_cast<void>(registered);
        m_window = os::CreateWindow("FullScreenTest", os::WS_OVERLAPPEDWINDOW, {100, 50, 1124, 818}, nullptr);
        ASSERT_NE(m_window, os::kNoWindow);
        os::ShowWindow(m_window, true);
        ASSERT_TRUE(os::SetPixelFormat(m_window, 1));
        m_context = os::CreateGLContext(m_window);
        ASSERT_NE(m_context, os::kNoGLContext);
    }

    void TearDown() override {
        os::ChangeDisplaySettings(nullptr, 0);
        gl::SetHiddenExtensionsForTesting({});
        os::DeleteGLContext(m_context);
        os::DestroyWindow(m_window);
        os::headless::ResetDisplay();
    }

    os::Size NativeSize() const {
        os::Size size;
        SDL_GetWindowSize(os::GetSdlWindow(m_window), &size.width, &size.height);
        return size;
    }

    os::Size ClientSize() const {
        os::Rect client;
        os::GetClientRect(m_window, &client);
        return {client.Width(), client.Height()};
    }

    // One row of the window's own framebuffer, counted from the top.
    std::vector<GLubyte> WindowRow(int row) const {
        const auto bind = reinterpret_cast<PFNGLBINDFRAMEBUFFERPROC>(SDL_GL_GetProcAddress("glBindFramebuffer"));
        GLint drawn = 0;
        ::glGetIntegerv(GL_READ_FRAMEBUFFER_BINDING, &drawn);
        bind(GL_READ_FRAMEBUFFER, 0);
        ::glReadBuffer(GL_BACK);
        const os::Size size = NativeSize();
        std::vector<GLubyte> pixels(static_cast<std::size_t>(size.width) * 4);
        ::glReadPixels(0, size.height - 1 - row, size.width, 1, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
        bind(GL_READ_FRAMEBUFFER, static_cast<GLuint>(drawn));
        return pixels;
    }

    // What the engine reads back: the picture of the client area.
    std::vector<GLubyte> ClientPicture() const {
        const os::Size size = ClientSize();
        std::vector<GLubyte> pixels(static_cast<std::size_t>(size.width) * size.height * 4);
        gl::ReadBuffer(GL_BACK);
        gl::ReadPixels(0, 0, size.width, size.height, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
        return pixels;
    }

    static void Clear(float red, float green, float blue) {
        gl::ClearColor(red, green, blue, 1.0f);
        gl::Clear(GL_COLOR_BUFFER_BIT);
    }

    testsupport::ScopedVideoDriver m_driver{"offscreen"};
    os::WindowHandle m_window = os::kNoWindow;
    os::GLContext m_context = os::kNoGLContext;
};

// The three answers of a row: left bar, picture, right bar.
struct RowSpans {
    bool leftBlack;
    bool middleWhite;
    bool rightBlack;
};

RowSpans Spans(const std::vector<GLubyte>& row, int left, int right) {
    auto all = [&row](int from, int to, GLubyte value) {
        for (int x = from; x < to; ++x) {
            for (int channel = 0; channel < 3; ++channel) {
                if (row[static_cast<std::size_t>(x) * 4 + channel] != value) {
                    return false;
                }
            }
        }
        return true;
    };
    const int width = static_cast<int>(row.size() / 4);
    return {all(0, left, 0), all(left, right, 255), all(right, width, 0)};
}

TEST_F(OffscreenFullScreen, TheDesktopKeepsItsModeAndShowsThePictureScaledBetweenBars) {
    // Full screen is asked before the context first draws, as at start-up.
    ASSERT_EQ(os::ChangeDisplaySettings(&kMode, os::CDS_FULLSCREEN), os::DISP_CHANGE_SUCCESSFUL);
    ASSERT_TRUE(os::MakeGLContextCurrent(m_window, m_context));
    os::DisplayMode current;
    ASSERT_TRUE(os::EnumDisplaySettings(os::ENUM_CURRENT_SETTINGS, &current));
    EXPECT_EQ(current, kDesktop) << "the desktop's mode changed";
    EXPECT_EQ(NativeSize(), (os::Size{1600, 900}));
    EXPECT_EQ(ClientSize(), (os::Size{1024, 768}));
    os::Rect outer;
    ASSERT_TRUE(os::GetWindowRect(m_window, &outer));
    EXPECT_EQ(outer, (os::Rect{0, 0, 1600, 900}));

    // Moving or resizing the window (as the renderer does) keeps it covering the desktop.
    EXPECT_TRUE(os::SetWindowPosition(m_window, 0, 0) && os::SetWindowClientSize(m_window, 1024, 768));
    EXPECT_EQ(NativeSize(), (os::Size{1600, 900}));

    Clear(1, 1, 1);
    gl::Enable(GL_SCISSOR_TEST);
    gl::Scissor(0, 0, 1, 1);
    ASSERT_TRUE(os::SwapBuffers(m_window));
    for (const int row : {0, 450, 899}) {
        const RowSpans spans = Spans(WindowRow(row), 200, 1400);
        EXPECT_TRUE(spans.leftBlack && spans.middleWhite && spans.rightBlack) << "row " << row;
    }
    EXPECT_EQ(::glIsEnabled(GL_SCISSOR_TEST), GL_TRUE) << "the scissor test was not given back";
    const std::vector<GLubyte> picture = ClientPicture();
    EXPECT_EQ(::glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    EXPECT_EQ(picture, std::vector<GLubyte>(picture.size(), 255)) << "the picture is not what was drawn";

    ASSERT_TRUE(os::SetCursorPos(800, 450));
    os::Point cursor;
    ASSERT_TRUE(os::GetCursorPos(&cursor) && os::ScreenToClient(m_window, &cursor));
    EXPECT_EQ(cursor, (os::Point{512, 384}));
    ASSERT_TRUE(os::ClientToScreen(m_window, &cursor));
    EXPECT_EQ(cursor, (os::Point{800, 450}));

    ASSERT_EQ(os::ChangeDisplaySettings(nullptr, 0), os::DISP_CHANGE_SUCCESSFUL);
    EXPECT_EQ(NativeSize(), (os::Size{1024, 768}));
    EXPECT_EQ(ClientSize(), (os::Size{1024, 768}));
    GLint framebuffer = -1;
    gl::GetIntegerv(GL_FRAMEBUFFER_BINDING, &framebuffer);
    EXPECT_EQ(framebuffer, 0) << "still drawing off screen";
    gl::Disable(GL_SCISSOR_TEST);
    Clear(1, 1, 1);
    const RowSpans direct = Spans(WindowRow(767), 0, 1024);
    EXPECT_TRUE(direct.middleWhite) << "the window is not drawn directly";
}

TEST_F(OffscreenFullScreen, WithoutFramebufferObjectsFullScreenIsRefused) {
    ASSERT_TRUE(os::MakeGLContextCurrent(m_window, m_context));
    gl::SetHiddenExtensionsForTesting({"GL_ARB_framebuffer_object"});
    EXPECT_EQ(os::ChangeDisplaySettings(&kMode, os::CDS_FULLSCREEN), os::DISP_CHANGE_FAILED);
    EXPECT_EQ(NativeSize(), (os::Size{1024, 768}));

    // A context made current after the change cannot draw there either: the window stays a window.
    ASSERT_TRUE(os::MakeGLContextCurrent(os::kNoWindow, os::kNoGLContext));
    ASSERT_EQ(os::ChangeDisplaySettings(&kMode, os::CDS_FULLSCREEN), os::DISP_CHANGE_SUCCESSFUL);
    EXPECT_EQ(NativeSize(), (os::Size{1600, 900}));
    ASSERT_TRUE(os::MakeGLContextCurrent(m_window, m_context));
    EXPECT_EQ(NativeSize(), (os::Size{1024, 768}));
    EXPECT_EQ(ClientSize(), (os::Size{1024, 768}));
}

}  // namespace

namespace {

// SDL's own display: the window covers the desktop, whose mode stays, in a
// size the display itself does not list.
TEST(X11FullScreen, TheWindowCoversTheDesktopAndDrawsOffScreenUntilRestored) {
    if (std::getenv("DISPLAY") == nullptr) {
        GTEST_SKIP() << "no X display (tools/run-tests.sh provides one with Xvfb)";
    }
    const testsupport::ScopedVideoDriver driver("x11");
    static const bool registered = os::RegisterWindowClass("X11FullScreenTest", &os::DefWindowProc);
    static_cast<void>(registered);
    const os::WindowHandle window =
        os::CreateWindow("X11FullScreenTest", os::WS_OVERLAPPEDWINDOW, {40, 30, 680, 510}, nullptr);
    ASSERT_TRUE(os::ShowWindow(window, true) && os::SetPixelFormat(window, 1));
    const os::GLContext context = os::CreateGLContext(window);
    ASSERT_TRUE(os::MakeGLContextCurrent(window, context));
    os::DisplayMode desktop;
    ASSERT_TRUE(os::EnumDisplaySettings(os::ENUM_CURRENT_SETTINGS, &desktop));
    const os::DisplayMode mode{800, 600, desktop.bitsPerPixel, desktop.frequency};
    ASSERT_EQ(os::ChangeDisplaySettings(&mode, os::CDS_TEST), os::DISP_CHANGE_SUCCESSFUL);

    ASSERT_EQ(os::ChangeDisplaySettings(&mode, os::CDS_FULLSCREEN), os::DISP_CHANGE_SUCCESSFUL);
    os::DisplayMode during;
    ASSERT_TRUE(os::EnumDisplaySettings(os::ENUM_CURRENT_SETTINGS, &during));
    EXPECT_EQ(during, desktop);
    EXPECT_NE(SDL_GetWindowFlags(os::GetSdlWindow(window)) & SDL_WINDOW_FULLSCREEN_DESKTOP, 0u);
    os::Rect client;
    ASSERT_TRUE(os::GetClientRect(window, &client));
    EXPECT_EQ(client, (os::Rect{0, 0, 800, 600}));
    GLint framebuffer = 0;
    gl::GetIntegerv(GL_FRAMEBUFFER_BINDING, &framebuffer);
    EXPECT_NE(framebuffer, 0);
    // The driver learns the new size of the window within a frame.
    for (int frame = 0; frame < 2; ++frame) {
        gl::ClearColor(1, 1, 1, 1);
        gl::Clear(GL_COLOR_BUFFER_BIT);
        ASSERT_TRUE(os::SwapBuffers(window));
    }

    // The middle column of the window's own back buffer (Mesa's software
    // driver keeps it through the swap): bars above and below the picture.
    os::Size screen;
    SDL_GetWindowSize(os::GetSdlWindow(window), &screen.width, &screen.height);
    const os::Rect area = os::detail::LetterboxArea({800, 600}, screen);
    const auto bind = reinterpret_cast<PFNGLBINDFRAMEBUFFERPROC>(SDL_GL_GetProcAddress("glBindFramebuffer"));
    bind(GL_READ_FRAMEBUFFER, 0);
    ::glReadBuffer(GL_BACK);
    std::vector<GLubyte> column(static_cast<std::size_t>(screen.height) * 4);
    ::glReadPixels(screen.width / 2, 0, 1, screen.height, GL_RGBA, GL_UNSIGNED_BYTE, column.data());
    bind(GL_READ_FRAMEBUFFER, static_cast<GLuint>(framebuffer));
    for (const int row : {0, area.top - 1, area.top, area.bottom - 1, area.bottom, screen.height - 1}) {
        const bool inside = row >= area.top && row < area.bottom;
        EXPECT_EQ(column[static_cast<std::size_t>(screen.height - 1 - row) * 4], inside ? 255 : 0) << "row " << row;
    }

    ASSERT_EQ(os::ChangeDisplaySettings(nullptr, 0), os::DISP_CHANGE_SUCCESSFUL);
    EXPECT_EQ(SDL_GetWindowFlags(os::GetSdlWindow(window)) & (SDL_WINDOW_FULLSCREEN | SDL_WINDOW_BORDERLESS), 0u)
        << "not a framed window again";
    SDL_GetWindowSize(os::GetSdlWindow(window), &screen.width, &screen.height);
    EXPECT_EQ(screen, (os::Size{800, 600}));
    gl::GetIntegerv(GL_FRAMEBUFFER_BINDING, &framebuffer);
    EXPECT_EQ(framebuffer, 0);
    EXPECT_TRUE(os::DeleteGLContext(context) && os::DestroyWindow(window));
}

}  // namespace
