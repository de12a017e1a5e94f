#include "os/OS_DisplaySettings.h"
#include "os/OS_HeadlessDisplayHooks.h"
#include "os/OS_SdlVideo.h"
#include "support/VideoDriver.h"

#include <SDL.h>
#include <gtest/gtest.h>

// Display modes as SDL reports them, and the fake display that stands in
// without a usable SDL display. What the fake display takes and refuses is
// read through the renderer's adapter tests.
namespace {

// SDL reports 4-byte pixels as 24 bits and an unknown rate as 0.
TEST(SdlDisplayModes, CountBitsPerPixelAndKnowARate) {
    EXPECT_EQ(os::SdlDisplayMode(1024, 768, 4, 0), (os::DisplayMode{1024, 768, 32, 60}));
    EXPECT_EQ(os::SdlDisplayMode(800, 600, 2, 75), (os::DisplayMode{800, 600, 16, 75}));
    EXPECT_EQ(os::SdlDisplayMode(-1, 0, -4, -60), (os::DisplayMode{0, 0, 0, 60}));
}

// SDL video runs only while someone asks; stopping it stops video alone.
TEST(FakeDisplay, StandsInForTheOffscreenDriversEmptyModeList) {
    os::headless::ResetDisplay();
    const testsupport::ScopedVideoDriver driver("offscreen");
    ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_TIMER), 0);
    EXPECT_FALSE(os::headless::UsesSdlDisplay());
    os::DisplayMode mode;
    ASSERT_TRUE(os::EnumDisplaySettings(0, &mode));
    EXPECT_EQ(mode, (os::DisplayMode{800, 600, 32, 60}));
    EXPECT_FALSE(os::sdl::IsVideoActive()) << "the question kept video running";
    EXPECT_EQ(SDL_WasInit(SDL_INIT_VIDEO), 0u);
    EXPECT_NE(SDL_WasInit(SDL_INIT_TIMER), 0u) << "another subsystem was stopped with video";
    SDL_QuitSubSystem(SDL_INIT_TIMER);
    // Flags the display does not know change nothing.
    EXPECT_EQ(os::ChangeDisplaySettings(&mode, 0x80), os::DISP_CHANGE_BADFLAGS);
    EXPECT_EQ(os::ChangeDisplaySettings(nullptr, os::CDS_FULLSCREEN), os::DISP_CHANGE_BADFLAGS);
    EXPECT_TRUE(os::headless::DisplayChanges().empty());
}

}  // namespace
