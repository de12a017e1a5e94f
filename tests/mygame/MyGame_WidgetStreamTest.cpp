#include "core/Core_MemoryFile.h"
#include "mygame/MyGame_CenteredText.h"
#include "mygame/MyGame_DialogText.h"
#include "mygame/MyGame_DistanceUI.h"
#include "mygame/MyGame_FadeTransition.h"
#include "mygame/MyGame_FadingText.h"
#include "mygame/MyGame_GameLevel.h"
#include "mygame/MyGame_GameLevelTestHooks.h"
#include "mygame/MyGame_ScoreText.h"
#include "mygame/MyGame_TitleSun.h"
#include "support/DamagedBytes.h"
#include "support/MyGame_StageStreamFixture.h"
#include "tundra/Tundra_Game.h"

#include <gtest/gtest.h>

#include <vector>

// The HUD's widgets saved in the middle of what they do: a stage goes on
// after a load exactly as it would have, and damaged widget streams either
// read or fail without harm.
namespace mygametest {
namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr std::uint32_t kBearStage = 2;
constexpr int kFramesAfterSave = 600;
// Broken in two rows, typed for two and a half seconds.
constexpr const char* kLongLine = "A line long enough to be broken in two rows while it is being typed on the screen.";

class WidgetStreamTest : public StageStreamFixture {
protected:
    // A counter from 0 to 400 at its start.
    static ScoreText* StartCounting() { return CreateScoreText({-200.0f, 150.0f}, 0, 400, 10.0f, "$", " won"); }

    // The Bear's stage run to its end with no enemy left: the strip plays
    // the boss warning; stepped until the warning text shows.
    DistanceUI* WarningShowing() {
        if (!EnterStage(kBearStage)) {
            return nullptr;
        }
        SendEnemiesAway();
        GameLevelTestAccess::SkipToEnd(*Stage());
        auto* strip = Find<DistanceUI>("DistanceUI");
        const bool showing = strip != nullptr && RunUntil(
                                                     [strip] {
                                                         return strip->GetMachine() != nullptr &&
                                                                strip->GetMachine()->GetCurrent() ==
                                                                    DistanceUI::kDisplayWarning;
                                                     },
                                                     1200);
        return showing ? strip : nullptr;
    }

    // The object as a save writes it.
    static Bytes Written(const Core::Object& object) {
        Core::MemoryFile file;
        file.WriteObject(&object);
        return Bytes(file.GetData(), file.GetData() + file.GetSize());
    }

    // Every truncation and `mutations` damaged copies read into the running
    // stage: what reads joins the HUD layer and plays two frames, then goes;
    // what fails leaves nothing behind. The stage plays on throughout.
    template <class T>
    void ExpectDamagedReadsLoadOrFail(const Bytes& written, int mutations) {
        std::vector<Core::RefPtr<T>> read;
        const auto playAndRelease = [&] {
            for (const Core::RefPtr<T>& object : read) {
                m_game->GetHudLayer()->AddGameObject(object.Get());
            }
            Step(2);
            for (const Core::RefPtr<T>& object : read) {
                object->Destroy();
            }
            read.clear();
            Step();
            ASSERT_NE(Stage(), nullptr);
        };
        Core::MemoryFile intact(written.data(), static_cast<std::uint32_t>(written.size()));
        ASSERT_NE(Core::RefPtr<T>(intact.ReadObjectAs<T>(Core::File::Reference::Owning)), nullptr);
        constexpr std::size_t kBatch = 64;
        testsupport::ForEachDamaged(written, mutations, 4, kSeed, [&](const Bytes& bytes, const char*, std::size_t) {
            Core::MemoryFile file(bytes.data(), static_cast<std::uint32_t>(bytes.size()));
            Core::RefPtr<T> object(file.ReadObjectAs<T>(Core::File::Reference::Owning));
            if (object != nullptr && !file.HasFailed()) {
                read.push_back(object);
            }
            if (read.size() == kBatch) {
                playAndRelease();
            }
        });
        playAndRelease();
    }
};

// Fading in, typing a line and counting when saved: a fresh game that
// loads the save plays the next 600 frames as the first one did.
TEST_F(WidgetStreamTest, AStageSavedMidFadeMidTypingAndMidCountPlaysOnAfterALoad) {
    ASSERT_TRUE(EnterStage(0));
    auto* dialog = Find<DialogText>("DialogText");
    ASSERT_NE(dialog, nullptr);
    dialog->SetLine(kLongLine);
    ASSERT_NE(StartCounting(), nullptr);
    Step(3);
    const auto* fade = Find<FadeTransition>("FadeTransition");
    ASSERT_NE(fade, nullptr);
    EXPECT_EQ(fade->GetState(), FadeTransition::kFadingIn);
    EXPECT_FALSE(dialog->IsLineComplete());
    ExpectLoadPlaysOn("start", 0, SaveAndPlayOn("start", kFramesAfterSave));
}

// Saved while the boss warning shows: the warning, the counter and the
// boss's arrival go on after a load as they would have.
TEST_F(WidgetStreamTest, AStageSavedMidWarningPlaysOnAfterALoad) {
    ASSERT_NE(WarningShowing(), nullptr);
    ASSERT_NE(StartCounting(), nullptr);
    Step(2);
    ExpectLoadPlaysOn("warning", kBearStage, SaveAndPlayOn("warning", kFramesAfterSave));
}

// Saved while fading out to the title level: the load fades on and the
// level changes on the same frame.
TEST_F(WidgetStreamTest, AStageSavedMidFadeOutPlaysOnAfterALoad) {
    ASSERT_TRUE(EnterStage(0));
    Step(20);
    auto* fade = Find<FadeTransition>("FadeTransition");
    ASSERT_NE(fade, nullptr);
    fade->FadeToLevel(1);
    Step(4);
    EXPECT_EQ(fade->GetState(), FadeTransition::kFadingOut);
    ExpectLoadPlaysOn("leaving", 0, SaveAndPlayOn("leaving", kFramesAfterSave));
}

TEST_F(WidgetStreamTest, AStageSavedMidWarningLoadedAndSavedAgainGivesTheSameBytes) {
    ASSERT_NE(WarningShowing(), nullptr);
    ASSERT_NE(StartCounting(), nullptr);
    Step(2);
    ExpectSaveLoadSaveGivesTheSameBytes();
}

// The streams of the three text classes, of the strip with its machine and
// of the sun, each written mid-use.
TEST_F(WidgetStreamTest, DamagedWidgetStreamsLoadOrFailCleanly) {
    constexpr int kMutations = 600;
    DistanceUI* strip = WarningShowing();
    ASSERT_NE(strip, nullptr);
    ExpectDamagedReadsLoadOrFail<DistanceUI>(Written(*strip), kMutations);

    auto* dialog = Find<DialogText>("DialogText");
    ASSERT_NE(dialog, nullptr);
    dialog->SetLine(kLongLine);
    Step(8);
    ExpectDamagedReadsLoadOrFail<DialogText>(Written(*dialog), kMutations);

    CenteredText* centred = CreateCenteredText({30.0f, -40.0f}, "centred");
    ASSERT_NE(centred, nullptr);
    Step();
    ExpectDamagedReadsLoadOrFail<CenteredText>(Written(*centred), kMutations);

    auto* fading = TUN_NEW(FadingText, "fading", Tundra::Game::GetDirectory() + "\\Resources\\Fonts\\DefaultFont\\DefaultFont");
    m_game->GetHudLayer()->AddGameObject(fading);
    fading->SetOpacity(-3.0f);
    fading->SetShowPending(true);
    Step(3);
    ExpectDamagedReadsLoadOrFail<FadingText>(Written(*fading), kMutations);

    auto* sun = TUN_NEW(TitleSun, SheetAnimations({{"TitleSun", 1, 1, Delays(1)}}));
    m_game->GetWorldLayer()->AddGameObject(sun);
    Step(5);
    ExpectDamagedReadsLoadOrFail<TitleSun>(Written(*sun), kMutations);
}

}  // namespace
}  // namespace mygametest
