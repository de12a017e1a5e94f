#include "os/OS_DisplaySettings.h"
#include "os/OS_GLContext.h"
#include "os/OS_GLExtensions.h"
#include "os/OS_HeadlessDisplayHooks.h"
#include "os/OS_PixelFormat.h"
#include "renderer/Renderer_AdapterInformation.h"
#include "renderer/Renderer_DisplayModes.h"
#include "renderer/Renderer_DisplaySettings.h"
#include "renderer/Renderer_ExtensionList.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

// The display adapter on the headless backend: throw-away contexts, the
// window-system extensions, both pixel-format paths, the display-mode table
// with its closest-mode choice and the full-screen switch on the fake display.
namespace {

using namespace Renderer;

// The request the game makes: 32-bit colour, 24-bit depth, 8-bit stencil,
// no multisampling, buffers swapped by exchange.
PixelFormatDescription GameRequest() {
    PixelFormatDescription request;
    request.colorBits = 32;
    request.depthBits = 24;
    request.stencilBits = 8;
    request.swapMethod = 1;
    return request;
}

std::vector<std::string> Names(const Core::StringVector& names) { return {names.begin(), names.end()}; }

class DisplayAdapter : public testing::Test {
protected:
    void SetUp() override { Restore(); }
    void TearDown() override { Restore(); }

    // The table of the fake display listing these modes.
    static DisplayModes Listed(const std::vector<os::DisplayMode>& modes) {
        os::headless::SetDisplayModes(modes, {1024, 768, 32, 60});
        DisplayModes table;
        table.Enumerate();
        return table;
    }

    static void Restore() {
        os::headless::ResetDisplay();
        os::headless::SetMultisampleCounts({});
        os::headless::SetSwapControl(false);
    }
};

TEST_F(DisplayAdapter, WithoutMultisamplingTheClassicPathListsFormatOne) {
    const AdapterInformation holder;
    const Adapter& adapter = holder.GetAdapter();
    EXPECT_EQ(Names(adapter.GetWGLExtensions()),
              (std::vector<std::string>{"WGL_ARB_extensions_string", "WGL_EXT_extensions_string",
                                        "WGL_ARB_pixel_format"}));
    EXPECT_FALSE(adapter.IsSwapControlAvailable() || adapter.IsMultisampleAvailable());
    ASSERT_EQ(adapter.GetPixelFormats().size(), 1u);
    const PixelFormatDescription& format = adapter.GetPixelFormats()[0];
    EXPECT_EQ(std::tuple(format.index, format.colorBits, format.alphaBits, format.depthBits, format.stencilBits,
                         format.swapMethod),
              std::tuple(1u, 32u, 8u, 24u, 8u, 1u));
    EXPECT_TRUE(adapter.GetSampleCounts().empty());
    EXPECT_EQ(adapter.GetPixelFormat(GameRequest()), 1);
    EXPECT_EQ(adapter.GetDesktopDisplayMode(), (DisplayMode{1024, 768, 32, 60}));
    EXPECT_EQ(adapter.GetDisplayModes().GetModes().size(), 6u);
}

TEST_F(DisplayAdapter, WithMultisamplingTheExtendedPathListsEveryFormat) {
    os::headless::SetMultisampleCounts({4, 8});
    os::headless::SetSwapControl(true);
    const AdapterInformation holder;
    const Adapter& adapter = holder.GetAdapter();
    EXPECT_TRUE(adapter.IsMultisampleAvailable());
    EXPECT_TRUE(adapter.IsSwapControlAvailable());
    ASSERT_EQ(adapter.GetPixelFormats().size(), 3u);
    EXPECT_EQ(adapter.GetPixelFormats()[2].samples, 8u);
    EXPECT_TRUE(adapter.GetPixelFormats()[2].sampleBuffers);
    EXPECT_EQ(adapter.GetPixelFormats()[0].swapMethod, 1u);
    EXPECT_EQ(adapter.GetSampleCounts(), (std::vector<std::uint32_t>{0, 4, 8}));

    const auto request = [](std::uint32_t samples, std::uint32_t swapMethod, std::uint32_t depthBits) {
        PixelFormatDescription description = GameRequest();
        description.samples = samples;
        description.sampleBuffers = samples != 0;
        description.swapMethod = swapMethod;
        description.depthBits = depthBits;
        return description;
    };
    EXPECT_EQ(adapter.GetPixelFormat(request(0, 1, 24)), 1);
    EXPECT_EQ(adapter.GetPixelFormat(request(4, 1, 24)), 2);
    // An unspecified swap method matches nothing at first; the retries find exchange.
    EXPECT_EQ(adapter.GetPixelFormat(request(0, 0, 24)), 1);
    EXPECT_EQ(adapter.GetPixelFormat(request(0, 1, 32)), 0);
}

TEST_F(DisplayAdapter, FullScreenSwitchesOnceAndBackOnceAndNeverToARefusedMode) {
    const AdapterInformation holder;
    Adapter& adapter = holder.GetAdapter();
    adapter.SetDisplayMode({1000, 700, 32, 60});
    EXPECT_TRUE(adapter.TestDisplayMode());
    EXPECT_TRUE(adapter.SetFullScreen(true));
    EXPECT_TRUE(adapter.IsDisplayModeChanged());
    EXPECT_FALSE(adapter.SetFullScreen(true));
    EXPECT_TRUE(adapter.SetFullScreen(false));
    EXPECT_FALSE(adapter.IsDisplayModeChanged());
    EXPECT_FALSE(adapter.SetFullScreen(false));

    os::headless::RefuseDisplayModes({{1024, 768, 32, 60}});
    EXPECT_FALSE(adapter.TestDisplayMode());
    EXPECT_FALSE(adapter.SetFullScreen(true));
    EXPECT_FALSE(adapter.IsDisplayModeChanged());

    const auto& changes = os::headless::DisplayChanges();
    std::vector<std::uint32_t> flags;
    for (const os::headless::DisplayChange& change : changes) {
        flags.push_back(change.restore ? 0u : change.flags);
    }
    EXPECT_EQ(flags, (std::vector<std::uint32_t>{os::CDS_TEST, os::CDS_TEST, os::CDS_FULLSCREEN, 0u, os::CDS_TEST,
                                                 os::CDS_TEST}));
    // The closest listed mode is what is set.
    EXPECT_EQ(changes[2].mode, (os::DisplayMode{1024, 768, 32, 60}));
}

TEST_F(DisplayAdapter, HoldersShareOneAdapterThatGoesWithTheLast) {
    EXPECT_EQ(GetAdapter(), nullptr);
    auto first = std::make_unique<AdapterInformation>();
    {
        const AdapterInformation second;
        EXPECT_EQ(&first->GetAdapter(), &second.GetAdapter());
        first.reset();
        EXPECT_EQ(GetAdapter().Get(), &second.GetAdapter());
    }
    EXPECT_EQ(GetAdapter(), nullptr);
}

// The desktop mode need not be one of the listed modes.
TEST_F(DisplayAdapter, DisplaySettingsTakeTheDesktopRateAndDepth) {
    os::headless::SetDisplayModes({{640, 480, 16, 60}}, {1920, 1080, 16, 75});
    const DisplaySettings settings(800, 600);
    EXPECT_EQ(std::tuple(settings.width, settings.refreshRate, settings.colorBits, settings.depthBits,
                         settings.stencilBits, settings.multisampleCount, settings.fullScreen, settings.verticalSync),
              std::tuple(800u, 75u, 16u, 24u, 8u, 0u, false, false));
}

TEST_F(DisplayAdapter, ClosestModePrefersTheNextLargerValueOnEachLevel) {
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

TEST_F(DisplayAdapter, ClosestDepthIsTheNextDeeperOrElseTheDeepestAndAnEmptyTableKeepsTheRequest) {
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

TEST(ExtensionNames, SpacesSeparateAndNeverMakeEmptyNames) {
    const std::string longName(300, 'x');
    Core::StringVector names{"kept"};
    for (const char* text : {"a b ", "  c   d", "", " ", static_cast<const char*>(nullptr), longName.c_str()}) {
        AppendExtensionNames(text, names);
    }
    EXPECT_EQ(Names(names), (std::vector<std::string>{"kept", "a", "b", "c", "d", longName}));
    EXPECT_TRUE(HasExtension(names, "d"));
    EXPECT_FALSE(HasExtension(names, "kep"));
}

}  // namespace
