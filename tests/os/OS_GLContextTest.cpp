#include "os/OS_GLContext.h"
#include "os/OS_GLExtensions.h"
#include "os/OS_GLFunctions.h"
#include "os/OS_GLFunctionsTestHooks.h"
#include "os/OS_HeadlessDisplayHooks.h"
#include "os/OS_Message.h"
#include "os/OS_PixelFormat.h"
#include "os/OS_SdlVideo.h"
#include "os/OS_Window.h"
#include "support/VideoDriver.h"

#include <gtest/gtest.h>

#include <cstring>
#include <sstream>
#include <string>
#include <thread>

// OpenGL contexts on windows: headless bookkeeping, and real contexts on
// SDL's offscreen driver (Mesa through EGL, no display needed).
namespace {

namespace gl = os::gl;

constexpr const char* kClass = "OSGLContextTestClass";

std::intptr_t Procedure(os::WindowHandle window, std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) {
    return os::DefWindowProc(window, message, wParam, lParam);
}

os::WindowHandle NewWindow() {
    static const bool registered = os::RegisterWindowClass(kClass, &Procedure);
    (void)registered;
    return os::CreateWindow(kClass, os::WS_OVERLAPPEDWINDOW, {0, 0, 32, 24}, nullptr);
}

// Whether the space-separated list holds the name as a whole word.
bool Lists(const char* text, const char* name) {
    std::istringstream words(text != nullptr ? text : "");
    for (std::string word; words >> word;) {
        if (word == name) {
            return true;
        }
    }
    return false;
}

// Headless contexts have no driver behind them: GL calls are counted and ignored.
TEST(HeadlessGLContext, ContextsNeedTheirWindowsOneFormat) {
    const os::WindowHandle window = NewWindow();
    EXPECT_EQ(os::CreateGLContext(window), os::kNoGLContext) << "no pixel format yet";
    os::headless::SetMultisampleCounts({4});
    ASSERT_TRUE(os::SetPixelFormat(window, 1));
    EXPECT_FALSE(os::SetPixelFormat(window, 2)) << "a window takes one format, once";
    const os::GLContext context = os::CreateGLContext(window);
    EXPECT_FALSE(os::SwapBuffers(window)) << "no context is current on it";
    ASSERT_TRUE(os::MakeGLContextCurrent(window, context));
    const std::uint64_t ignored = gl::IgnoredCallCount();
    gl::Enable(GL_BLEND);
    EXPECT_EQ(gl::IgnoredCallCount(), ignored + 1);
    os::DestroyWindow(window);
    EXPECT_EQ(os::GetCurrentGLContext(), os::kNoGLContext) << "destroying the window released its context";
    EXPECT_TRUE(os::DeleteGLContext(context));
    EXPECT_FALSE(os::DeleteGLContext(context));
    os::headless::SetMultisampleCounts({});
}

class OffscreenGLContext : public testing::Test {
protected:
    void TearDown() override {
        gl::SetHiddenExtensionsForTesting({});
        EXPECT_FALSE(os::sdl::IsVideoActive()) << "a window outlived its test";
    }

    testsupport::ScopedVideoDriver driver{"offscreen"};
};

// The driver answers any name; the layer answers only what the context offers.
TEST_F(OffscreenGLContext, ARealContextOffersOnlyWhatItHas) {
    const os::WindowHandle window = NewWindow();
    ASSERT_TRUE(os::SetPixelFormat(window, 1));
    const os::GLContext context = os::CreateGLContext(window);
    ASSERT_TRUE(os::MakeGLContextCurrent(window, context));
    const auto* version = reinterpret_cast<const char*>(gl::GetString(GL_VERSION));
    ASSERT_NE(version, nullptr);
    EXPECT_NE(std::strstr(version, "Compatibility"), nullptr) << version;
    EXPECT_EQ(os::GetProcAddress("glMadeUpFunctionARB"), nullptr);
    EXPECT_NE(os::GetProcAddress("glActiveTextureARB"), nullptr);
    EXPECT_NE(os::GetProcAddress("glBindBufferARB"), nullptr);
    gl::SetHiddenExtensionsForTesting({"GL_ARB_multitexture"});
    EXPECT_EQ(os::GetProcAddress("glActiveTextureARB"), nullptr);
    EXPECT_FALSE(Lists(reinterpret_cast<const char*>(gl::GetString(GL_EXTENSIONS)), "GL_ARB_multitexture"));
    EXPECT_TRUE(Lists(reinterpret_cast<const char*>(gl::GetString(GL_EXTENSIONS)), "GL_ARB_vertex_buffer_object"));
    EXPECT_TRUE(os::DeleteGLContext(context));
    os::DestroyWindow(window);
}

TEST_F(OffscreenGLContext, GLFromAThreadWithoutTheContextIsCaughtInDebugBuilds) {
#ifdef NDEBUG
    GTEST_SKIP() << "the check is compiled into debug builds only";
#else
    const os::WindowHandle window = NewWindow();
    ASSERT_TRUE(os::SetPixelFormat(window, 1));
    const os::GLContext context = os::CreateGLContext(window);
    ASSERT_TRUE(os::MakeGLContextCurrent(window, context));
    EXPECT_DEATH(std::thread([] { gl::Enable(GL_BLEND); }).join(), "other than the one that made the context current");
    // A thread without a context letting go of none leaves this one's alone.
    std::thread([] { os::MakeGLContextCurrent(os::kNoWindow, os::kNoGLContext); }).join();
    EXPECT_NE(gl::GetString(GL_VERSION), nullptr);
    EXPECT_TRUE(os::DeleteGLContext(context));
    os::DestroyWindow(window);
#endif
}

}  // namespace
