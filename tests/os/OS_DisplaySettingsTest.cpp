#include "os/OS_DisplaySettings.h"
#include "os/OS_Error.h"
#include "os/OS_SdlVideo.h"
#include "support/VideoDriver.h"

#include <gtest/gtest.h>

// Display modes: SDL's report in the engine's form, and the fake display
// that stands in without a usable SDL display.
namespace {

class FakeDisplay : public testing::Test {
protected:
    void SetUp() override { os::headless::ResetDisplay(); }
    void TearDown() override { os::headless::ResetDisplay(); }
};

// SDL reports 4-byte pixels as 24 bits and an unknown rate as 0.
TEST(SdlDisplayModes, AreReportedInTheEnginesForm) {
    EXPECT_EQ(os::SdlDisplayMode(1024, 768, 4, 0), (os::DisplayMode{1024, 768, 32, 60}));
    EXPECT_EQ(os::SdlDisplayMode(800, 600, 2, 75), (os::DisplayMode{800, 600, 16, 75}));
    EXPECT_EQ(os::SdlDisplayMode(-1, 0, -4, -60), (os::DisplayMode{0, 0, 0, 60}));
}

// Flags the display does not know change nothing and are not recorded. The
// table itself is read through the renderer's display-mode tests.
TEST_F(FakeDisplay, TestsPassOnlyListedModesAndChangesAreRecorded) {
    const os::DisplayMode listed{1024, 768, 32, 75};
    const os::DisplayMode unlisted{1024, 768, 32, 85};
    EXPECT_EQ(os::ChangeDisplaySettings(&listed, os::CDS_TEST), os::DISP_CHANGE_SUCCESSFUL);
    EXPECT_EQ(os::ChangeDisplaySettings(&unlisted, os::CDS_TEST), os::DISP_CHANGE_BADMODE);
    EXPECT_EQ(os::ChangeDisplaySettings(&unlisted, os::CDS_FULLSCREEN), os::DISP_CHANGE_BADMODE);
    EXPECT_EQ(os::ChangeDisplaySettings(&listed, os::CDS_FULLSCREEN), os::DISP_CHANGE_SUCCESSFUL);
    os::DisplayMode current;
    ASSERT_TRUE(os::EnumDisplaySettings(os::ENUM_CURRENT_SETTINGS, &current));
    EXPECT_EQ(current, listed);
    EXPECT_EQ(os::ChangeDisplaySettings(nullptr, 0), os::DISP_CHANGE_SUCCESSFUL);
    ASSERT_TRUE(os::EnumDisplaySettings(os::ENUM_CURRENT_SETTINGS, &current));
    EXPECT_EQ(current, (os::DisplayMode{1024, 768, 32, 60}));

    const auto& changes = os::headless::DisplayChanges();
    ASSERT_EQ(changes.size(), 5u);
    EXPECT_EQ(changes[3].mode, listed);
    EXPECT_EQ(changes[3].flags, os::CDS_FULLSCREEN);
    EXPECT_TRUE(changes[4].restore);
    EXPECT_EQ(os::ChangeDisplaySettings(&listed, 0x80), os::DISP_CHANGE_BADFLAGS);
    EXPECT_EQ(os::ChangeDisplaySettings(nullptr, os::CDS_FULLSCREEN), os::DISP_CHANGE_BADFLAGS);
    EXPECT_EQ(changes.size(), 5u);
    os::SetLastError(0);
    EXPECT_FALSE(os::EnumDisplaySettings(0, nullptr));
    EXPECT_EQ(os::GetLastError(), os::ERROR_INVALID_PARAMETER);
}

TEST_F(FakeDisplay, StandsInForTheOffscreenDriversEmptyModeList) {
    const testsupport::ScopedVideoDriver driver("offscreen");
    EXPECT_FALSE(os::headless::UsesSdlDisplay());
    os::DisplayMode mode;
    ASSERT_TRUE(os::EnumDisplaySettings(0, &mode));
    EXPECT_EQ(mode, (os::DisplayMode{800, 600, 32, 60}));
    EXPECT_FALSE(os::sdl::IsVideoActive()) << "the question kept video running";
}

}  // namespace
