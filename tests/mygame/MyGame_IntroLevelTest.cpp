#include "gui/GUI_HUD.h"
#include "mygame/MyGame_IntroLevel.h"
#include "os/OS_VirtualKeys.h"
#include "support/MyGame_TestGame.h"
#include "tundra/Tundra_FindObject.h"
#include "tundra/Tundra_Sprite.h"

#include <gtest/gtest.h>

#include <array>

namespace mygametest {
namespace {

constexpr const char* kLogoNames[3] = {"HwLogo", "TdLogo", "QuorLogo"};

class IntroLevelTest : public GameTest {
protected:
    // The intro built (with the logos, fully transparent, unless told
    // otherwise) and started; the next Update is the level's first.
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
        // The first frame builds the level, the second measures the first
        // frame time: updates start with the third.
        Step(2);
        auto* intro = dynamic_cast<IntroLevel*>(Game().GetCurrentLevel());
        EXPECT_NE(intro, nullptr);
        return *intro;
    }

    // Updates until the menu is asked for; the number of that update (0:
    // never within the limit).
    int UpdatesUntilMenuRequest(int limit) {
        for (int update = 1; update <= limit; ++update) {
            Step();
            if (Game().IsLevelChangePending()) {
                return update;
            }
        }
        return 0;
    }

    int UpdatesUntilStep(const IntroLevel& intro, std::uint32_t step) {
        int updates = 0;
        while (intro.GetStep() != step && updates < 1000) {
            Step();
            ++updates;
        }
        return updates;
    }

    std::array<Tundra::Sprite*, 3> m_logos{};
};

TEST_F(IntroLevelTest, LogosFadeInHoldAndFadeOutFrameByFrame) {
    const IntroLevel& intro = StartIntro();
    // The update after which each step is first current.
    const std::array<int, 10> stepStarts = {0, 30, 83, 144, 197, 250, 311, 364, 417, 478};
    int firstOpacity = 0;
    int firstFull = 0;
    for (int update = 1; update <= 530; ++update) {
        Step();
        ASSERT_FALSE(Game().IsLevelChangePending()) << update;
        const float opacity = m_logos[0]->GetOpacity();
        if (firstOpacity == 0 && opacity != 0.0f) {
            firstOpacity = update;
        }
        if (firstFull == 0 && opacity == 1.0f) {
            firstFull = update;
        }
        std::uint32_t step = 0;
        while (step + 1 < stepStarts.size() && stepStarts[step + 1] <= update) {
            ++step;
        }
        ASSERT_EQ(intro.GetStep(), step) << update;
    }
    EXPECT_EQ(firstOpacity, 31);
    EXPECT_EQ(firstFull, 83);
    EXPECT_EQ(m_logos[0]->GetOpacity(), 0.0f);
    EXPECT_EQ(m_logos[1]->GetOpacity(), 0.0f);
    EXPECT_GT(m_logos[2]->GetOpacity(), 0.0f);
    Step();
    EXPECT_TRUE(Game().IsLevelChangePending());
    EXPECT_LT(m_logos[2]->GetOpacity(), 0.01f);
}

// With logos or without: the timers run the same.
class IntroTimingTest : public IntroLevelTest, public testing::WithParamInterface<bool> {};

TEST_P(IntroTimingTest, TheMenuIsAskedForOnUpdate531AndFollows) {
    StartIntro(GetParam());
    EXPECT_EQ(UpdatesUntilMenuRequest(600), 531);
    Step();
    EXPECT_EQ(Game().GetCurrentLevelIndex(), 1u);
}

INSTANTIATE_TEST_SUITE_P(WithAndWithoutLogos, IntroTimingTest, testing::Bool());

class IntroSkipTest : public IntroLevelTest, public testing::WithParamInterface<os::VirtualKey> {};

// The devices ignore what is held when the game starts until it is let
// go: the first update sees nothing held, the second the key or button.
TEST_P(IntroSkipTest, AKeyOrALeftClickAsksForTheMenuOnTheUpdateThatSeesIt) {
    StartIntro();
    Step();
    EXPECT_FALSE(Game().IsLevelChangePending());
    HoldKey(GetParam(), true);
    Step();
    EXPECT_TRUE(Game().IsLevelChangePending());
    Step();
    EXPECT_EQ(Game().GetCurrentLevelIndex(), 1u);
}

INSTANTIATE_TEST_SUITE_P(KeysAndButton, IntroSkipTest, testing::Values(os::VK_A, os::VK_SPACE, os::VK_LBUTTON));

TEST_F(IntroLevelTest, TheCursorIsHidden) {
    StartIntro();
    ASSERT_NE(Game().GetHUD(), nullptr);
    EXPECT_FALSE(Game().GetHUD()->IsCursorVisible());
}

TEST_F(IntroLevelTest, ALoadedIntroGoesOnFromItsStepWithTheLogosItRead) {
    StartIntro();
    Step(100);
    Game().RequestSave("IntroLevelTest-mid-hold");
    Step();
    const auto* saved = dynamic_cast<IntroLevel*>(Game().GetCurrentLevel());
    const std::uint32_t step = saved->GetStep();
    const float value = saved->GetValue();
    ASSERT_EQ(step, 2u);
    const int holdLeft = UpdatesUntilStep(*saved, 3);

    Game().RequestLoad("IntroLevelTest-mid-hold");
    Step();
    const auto* loaded = dynamic_cast<IntroLevel*>(Game().GetCurrentLevel());
    ASSERT_NE(loaded, nullptr);
    ASSERT_NE(loaded, saved);
    EXPECT_EQ(loaded->GetStep(), step);
    EXPECT_EQ(loaded->GetValue(), value);
    // The frame after a load measures the frame time afresh and updates
    // nothing.
    EXPECT_EQ(UpdatesUntilStep(*loaded, 3), holdLeft + 1);
    // The fade-out reaches the logo that was read.
    Step();
    auto* logo = Tundra::FindObject<Tundra::Sprite>(kLogoNames[0]);
    ASSERT_NE(logo, nullptr);
    EXPECT_NE(logo, m_logos[0]);
    EXPECT_LT(logo->GetOpacity(), 1.0f);
}

}  // namespace
}  // namespace mygametest
