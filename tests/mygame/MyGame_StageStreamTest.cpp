#include "mygame/MyGame_DeBuffable.h"
#include "mygame/MyGame_Enemy.h"
#include "mygame/MyGame_GameLevel.h"
#include "mygame/MyGame_Globals.h"
#include "mygame/MyGame_MapTile.h"
#include "mygame/MyGame_MyLevelFactory.h"
#include "mygame/MyGame_Player.h"
#include "mygame/MyGame_ProfileText.h"
#include "support/MyGame_ButtonPress.h"
#include "support/MyGame_StageStreamFixture.h"

#include <filesystem>
#include <fstream>

using namespace mygametest;

namespace {

constexpr os::VirtualKey kJump = os::VK_A + ('W' - 'A');

class StageStreamTest : public StageStreamFixture {
protected:
    // Stage 0 with the flame thrower in both hands, three test enemies
    // ahead of the player, played until every kind of state is in motion:
    // waves still to come, a block passing, the flame firing with one enemy
    // burning, the player invulnerable after a hit and in the air.
    GameLevel& StartBusyStage() {
        PlayerProfile profile = MakeNewProfile();
        profile.unlockedWeapons = 1 | 2 | 4;
        profile.selectedWeapons = 4 | (4u << 16);
        std::filesystem::create_directories(DataFolder());
        std::ofstream(DataFolder() + "/profile.sav", std::ios::binary) << FormatProfile(profile);
        // The enemies are the test's own.
        LeaveOutEnemies();
        EXPECT_TRUE(EnterStage(0));
        GameLevel& stage = *Stage();
        EXPECT_TRUE(RunUntil([] { return BlockShowing(); }, 900));
        const Vector2D player = stage.GetPlayer()->GetPosition();
        for (const Vector2D& offset : {Vector2D{140.0f, 10.0f}, Vector2D{170.0f, 60.0f}, Vector2D{420.0f, 500.0f}}) {
            auto* enemy = TUN_NEW(Enemy, TestAnimations(1));
            enemy->SetName("TestEnemy");
            enemy->SetOldPosition(player + offset);
            m_game->GetWorldLayer()->AddGameObject(enemy);
            stage.AddLiveEnemy(enemy);
        }
        AimAt(player + Vector2D{140.0f, 10.0f});
        Press(os::VK_LBUTTON);
        EXPECT_TRUE(RunUntil([&stage] { return stage.GetLiveEnemy(0)->GetDebuff() != nullptr; }, 120));
        stage.DamagePlayer(0.05f);
        Tap(kJump);
        Step(4);
        EXPECT_FALSE(stage.GetPlayer()->IsOnGround());
        EXPECT_FALSE(stage.GetWaves().empty());
        EXPECT_TRUE(BlockShowing());
        return stage;
    }

    static bool BlockShowing() {
        std::vector<Tundra::GameObject*> tiles;
        const Core::String name("MapTileTemplate");
        GetGame()->GetCurrentLevel()->GetGameObjects(&name, tiles);
        for (const Tundra::GameObject* tile : tiles) {
            const auto* mapTile = dynamic_cast<const MapTile*>(tile);
            if (mapTile != nullptr && mapTile->GetVisible() && mapTile->GetVariant() == MapTile::kBlockTop &&
                mapTile->GetPositionX() < static_cast<float>(MyGame::kWidth)) {
                return true;
            }
        }
        return false;
    }
};

TEST_F(StageStreamTest, ABusyStageLoadedIntoAFreshGamePlaysOnAsTheUninterruptedOne) {
    StartBusyStage();
    // The keyboard of a game that loads has seen no button held: the
    // flame's button is let go.
    Release(os::VK_LBUTTON);
    ExpectLoadPlaysOn("busy", 0, SaveAndPlayOn("busy", 600));
}

TEST_F(StageStreamTest, ABusyStageSavedLoadedAndSavedAgainGivesTheSameBytes) {
    StartBusyStage();
    Release(os::VK_LBUTTON);
    ExpectSaveLoadSaveGivesTheSameBytes();
}

// A dialog open when the stage was saved is open after the load, with the
// buttons read back: they do what they did.
struct DialogCase {
    const char* what;
    void (*open)(GameLevel&);
    bool (*shown)(const GameLevel&);
    const char* label;
    // After the press: the level index the game goes to, or -1 for the
    // stage running again unpaused.
    int leadsTo;
};

void OpenPause(GameLevel& stage) { stage.ShowPauseDialog(true), stage.SetLevelPaused(true); }
void ClearStage(GameLevel& stage) { stage.SetCleared(); }
void KillPlayer(GameLevel& stage) { stage.DamagePlayer(1.0f); }
bool PauseShown(const GameLevel& stage) { return stage.GetOpenDialog() == GameLevel::Dialog::kPause; }
bool ResultsShown(const GameLevel& stage) { return stage.AreResultsShowing(); }
bool DefeatShown(const GameLevel&) { return FindButton("restart") != nullptr && FindButton("exit to menu") != nullptr; }

class StageDialogStreamTest : public StageStreamTest, public testing::WithParamInterface<DialogCase> {};

TEST_P(StageDialogStreamTest, ADialogOpenWhenSavedShowsAgainAndItsButtonsWork) {
    const DialogCase& dialog = GetParam();
    ASSERT_TRUE(EnterStage(0));
    Step(60);
    dialog.open(*Stage());
    // The story is clicked through to the results.
    bool down = false;
    ASSERT_TRUE(RunUntil(
        [&] {
            down = !down && Stage()->IsStoryActive();
            HoldKey(os::VK_LBUTTON, down);
            return dialog.shown(*Stage());
        },
        2400));
    HoldKey(os::VK_LBUTTON, false);
    Step();
    const Core::RefPtr<Tundra::Level> saved = m_game->GetCurrentLevel();
    // The buttons read back are kept, so a save right after the load is the
    // saved stream again.
    ExpectSaveLoadSaveGivesTheSameBytes();
    GameLevel* loaded = Stage();
    ASSERT_NE(loaded, nullptr);
    ASSERT_NE(loaded, saved.Get());
    EXPECT_TRUE(dialog.shown(*loaded));
    EXPECT_EQ(Globals().paused, 1);
    ASSERT_TRUE(PressButton(dialog.label)) << dialog.label;
    if (dialog.leadsTo < 0) {
        ASSERT_TRUE(RunUntil([] { return Globals().paused == 0; }, 120));
        EXPECT_EQ(Stage()->GetOpenDialog(), GameLevel::Dialog::kNone);
    } else {
        ASSERT_TRUE(RunUntil(
            [&] {
                return !m_game->IsLevelChangePending() &&
                       m_game->GetCurrentLevelIndex() == static_cast<std::uint32_t>(dialog.leadsTo) &&
                       m_game->GetCurrentLevel() != loaded;
            },
            240));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Dialogs, StageDialogStreamTest,
    testing::Values(DialogCase{"pause", &OpenPause, &PauseShown, "resume", -1},
                    DialogCase{"results", &ClearStage, &ResultsShown, "exit to menu",
                               static_cast<int>(MyLevelFactory::kMenuLevel)},
                    DialogCase{"defeat", &KillPlayer, &DefeatShown, "restart",
                               static_cast<int>(MyLevelFactory::kGameLevel)}),
    [](const testing::TestParamInfo<DialogCase>& info) { return std::string(info.param.what); });

// Cut anywhere or changed anywhere, and sealed again so that only the
// stream can tell, a busy stage either loads and plays, or is refused and
// the game plays on; the sanitizers watch both. A sample of each: the fuzz
// harness of saved stages goes further.
TEST_F(StageStreamTest, CutAndMutatedStagesLoadOrAreRefusedCleanly) {
    StartBusyStage();
    Release(os::VK_LBUTTON);
    m_game->RequestSave("busy");
    Step();
    const std::vector<std::uint8_t> payload = m_saves.Payload("busy");
    ASSERT_GT(payload.size(), 1000u);
    LoadCutsAndMutations(payload, 40, 100);
}

}  // namespace
