#include "os/OS_Backend.h"
#include "os/OS_DisplaySettings.h"
#include "os/OS_Path.h"
#include "renderer/Renderer_Diagnostics.h"
#include "renderer/Renderer_DisplayModes.h"
#include "support/TempDirectory.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <vector>

// The display-mode table on the fake display: listing, the closest-mode
// choice and the diagnostic listing.
namespace {

using Renderer::DisplayMode;
using Renderer::DisplayModes;

class DisplayModeTable : public testing::Test {
protected:
    void SetUp() override { os::headless::ResetDisplay(); }
    void TearDown() override {
        os::headless::ResetDisplay();
        Renderer::SetDiagnosticsEnabled(false);
        os::SetExecutablePathForTesting("");
    }

    static DisplayModes Listed(const std::vector<os::DisplayMode>& modes) {
        os::headless::SetDisplayModes(modes, {1024, 768, 32, 60});
        DisplayModes table;
        table.Enumerate();
        return table;
    }
};

TEST_F(DisplayModeTable, ClosestModePrefersTheNextLargerValueOnEachLevel) {
    DisplayModes table;
    table.Enumerate();  // 800 x 600, 1024 x 768, 1280 x 1024 at 32 bits, 60 and 75 Hz
    ASSERT_EQ(table.GetModes().size(), 6u);
    struct Case {
        DisplayMode requested;
        DisplayMode chosen;
    };
    for (const Case& c : std::vector<Case>{
             {{1024, 768, 32, 60}, {1024, 768, 32, 60}},
             {{1000, 700, 32, 60}, {1024, 768, 32, 60}},
             // No 1024-wide mode is tall enough, so the next width is taken.
             {{1024, 800, 32, 60}, {1280, 1024, 32, 60}},
             {{2000, 2000, 32, 60}, {1280, 1024, 32, 60}},
             {{1, 1, 32, 60}, {800, 600, 32, 60}},
             {{1024, 768, 32, 85}, {1024, 768, 32, 75}},
             {{1024, 768, 32, 59}, {1024, 768, 32, 60}},
             {{1024, 768, 32, 0}, {1024, 768, 32, 60}},
             {{1024, 768, 64, 60}, {1024, 768, 32, 60}},
         }) {
        EXPECT_EQ(table.FindClosestMode(c.requested), c.chosen)
            << c.requested.width << "x" << c.requested.height << "x" << c.requested.colorBits << "@"
            << c.requested.refreshRate;
    }
}

TEST_F(DisplayModeTable, ClosestDepthIsTheNextDeeperOrElseTheDeepestAndAnEmptyTableKeepsTheRequest) {
    const DisplayModes table = Listed({{640, 480, 16, 60}, {1024, 768, 32, 60}, {800, 600, 16, 70}});
    EXPECT_EQ(table.FindClosestMode({1024, 768, 24, 60}), (DisplayMode{1024, 768, 32, 60}));
    EXPECT_EQ(table.FindClosestMode({700, 500, 8, 65}), (DisplayMode{800, 600, 16, 70}));
    EXPECT_EQ(table.GetColorDepths(), (std::vector<std::uint32_t>{16, 32}));
    EXPECT_EQ(table.GetResolutions(16).size(), 2u);
    EXPECT_TRUE(table.GetResolutions(24).empty());
    EXPECT_EQ(table.GetRefreshRates(16, {800, 600}), std::vector<std::uint32_t>{70});
    EXPECT_TRUE(table.GetRefreshRates(32, {800, 600}).empty());
    EXPECT_EQ(Listed({}).FindClosestMode({1024, 768, 32, 60}), (DisplayMode{1024, 768, 32, 60}));
}

TEST_F(DisplayModeTable, DiagnosticsListTheTableBesideTheExecutable) {
    testsupport::TempDirectory directory;
    os::SetExecutablePathForTesting(directory.Path() + "/Emberline");
    const std::vector<os::DisplayMode> modes{{800, 600, 32, 75}, {800, 600, 32, 60}, {1280, 1024, 32, 60},
                                             {640, 480, 16, 60}};
    Listed(modes);
    EXPECT_FALSE(std::ifstream(directory.Path() + "/DisplayModes.txt").good()) << "written with diagnostics off";
    Renderer::SetDiagnosticsEnabled(true);
    Listed(modes);
    std::ifstream file(directory.Path() + "/DisplayModes.txt");
    ASSERT_TRUE(file.good());
    std::stringstream text;
    text << file.rdbuf();
    EXPECT_EQ(text.str(),
              "Color Bits    Resolution    Refresh Rates\n"
              "==========    ==========    =============\n"
              "16\n"
              "              640 X  480    60 \n"
              "32\n"
              "              800 X  600    60 75 \n"
              "             1280 X 1024    60 \n");
}

}  // namespace
