#include "core/Core_MemoryFile.h"
#include "gui/GUI_HUD.h"
#include "mygame/MyGame_IntroLevel.h"
#include "support/MyGame_TestGame.h"
#include "tundra/Tundra_Sprite.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

namespace mygametest {
namespace {

constexpr const char* kLogoNames[3] = {"HwLogo", "TdLogo", "QuorLogo"};

class IntroLevelTest : public GameTest {
protected:
    // The intro built (with its logos, fully transparent, when asked) and
    // started; the next Step is its first update.
    IntroLevel& StartIntro(bool withLogos = true) {
        if (withLogos) {
            Content().OnBuild(0, 0, [this](const LayerBuild& build) {
                for (std::size_t i = 0; i < m_logos.size(); ++i) {
                    m_logos[i] = &PlaceSprite<Tundra::Sprite>(build, kLogoNames[i]);
                    m_logos[i]->SetOpacity(0.0f);
                }
            });
        }
        StartGame();
        // The first frame builds the level, the second measures the frame time.
        Step(2);
        return *dynamic_cast<IntroLevel*>(Game().GetCurrentLevel());
    }

    std::array<Tundra::Sprite*, 3> m_logos{};
};

// With logos or without (a missing one is left alone): the same timing.
class IntroTimingTest : public IntroLevelTest, public testing::WithParamInterface<bool> {};

TEST_P(IntroTimingTest, LogosFadeInHoldAndFadeOutToTheFrameThenTheMenuIsAskedFor) {
    const bool withLogos = GetParam();
    const IntroLevel& intro = StartIntro(withLogos);
    EXPECT_FALSE(Game().GetHUD()->IsCursorVisible());
    // The update on which each step ends.
    const std::array<int, 9> stepEnds = {30, 83, 144, 197, 250, 311, 364, 417, 478};
    int firstOpacity = 0;
    int firstFull = 0;
    for (int update = 1; update <= 531; ++update) {
        Step();
        ASSERT_EQ(Game().IsLevelChangePending(), update == 531) << update;
        const auto step = static_cast<std::uint32_t>(
            std::upper_bound(stepEnds.begin(), stepEnds.end(), update) - stepEnds.begin());
        ASSERT_EQ(intro.GetStep(), step) << update;
        if (withLogos) {
            const float opacity = m_logos[0]->GetOpacity();
            firstOpacity = firstOpacity == 0 && opacity != 0.0f ? update : firstOpacity;
            firstFull = firstFull == 0 && opacity == 1.0f ? update : firstFull;
        }
    }
    if (withLogos) {
        EXPECT_EQ(firstOpacity, 31);
        EXPECT_EQ(firstFull, 83);
        EXPECT_EQ(m_logos[1]->GetOpacity(), 0.0f);
        EXPECT_LT(m_logos[2]->GetOpacity(), 0.01f);
    }
    Step();
    EXPECT_EQ(Game().GetCurrentLevelIndex(), 1u);
}

INSTANTIATE_TEST_SUITE_P(WithAndWithoutLogos, IntroTimingTest, testing::Bool());

class IntroSkipTest : public IntroLevelTest, public testing::WithParamInterface<os::VirtualKey> {};

// The devices ignore what is held when the game starts until it is let go:
// the first update sees nothing held, the second the key or button.
TEST_P(IntroSkipTest, AKeyOrALeftClickAsksForTheMenuOnTheUpdateThatSeesIt) {
    StartIntro();
    Step();
    EXPECT_FALSE(Game().IsLevelChangePending());
    HoldKey(GetParam(), true);
    Step();
    EXPECT_TRUE(Game().IsLevelChangePending());
}

INSTANTIATE_TEST_SUITE_P(KeysAndButton, IntroSkipTest, testing::Values(os::VK_A, os::VK_LBUTTON));

// A step past the last or a value that is no number is refused, and the
// level keeps what it had.
TEST_F(IntroLevelTest, AStreamedStepOrValueOutOfRangeIsRefused) {
    struct Case {
        std::uint32_t step;
        float value;
        bool accepted;
    };
    const Case cases[] = {{9, 0.25f, true},
                          {10, 0.25f, false},
                          {3, std::numeric_limits<float>::quiet_NaN(), false},
                          {3, std::numeric_limits<float>::infinity(), false}};
    StartGame();
    const Core::RefPtr<IntroLevel> saved = TUN_NEW(IntroLevel);
    Core::MemoryFile file;
    saved->Save(file);
    std::vector<std::uint8_t> bytes(file.GetData(), file.GetData() + file.GetSize());
    ASSERT_GE(bytes.size(), 8u);
    for (const Case& test : cases) {
        SCOPED_TRACE(test.step);
        std::memcpy(&bytes[bytes.size() - 8], &test.step, 4);
        std::memcpy(&bytes[bytes.size() - 4], &test.value, 4);
        const Core::RefPtr<IntroLevel> read = TUN_NEW(IntroLevel);
        Core::MemoryFile reader(bytes.data(), static_cast<std::uint32_t>(bytes.size()));
        read->Load(reader);
        EXPECT_EQ(reader.HasFailed(), !test.accepted);
        EXPECT_EQ(read->GetStep(), test.accepted ? test.step : 0u);
        EXPECT_EQ(read->GetValue(), test.accepted ? test.value : 0.5f);
    }
}

}  // namespace
}  // namespace mygametest
