#include "MyGame_PlayTest.h"

#include "mygame/MyGame_Cloud.h"
#include "mygame/MyGame_Globals.h"
#include "mygame/MyGame_MyLevelFactory.h"
#include "os/OS_Path.h"
#include "os/OS_HeadlessInput.h"
#include "support/MyGame_PlayContent.h"

namespace mygametest {

void PlayTest::SetUp() {
    MyGameTest::SetUp();
    // "Saves" beside the executable, in the test's own folder.
    os::SetExecutablePathForTesting(m_saves.Path() + "/game");
}

void PlayTest::TearDown() {
    MyGameTest::TearDown();
    os::SetExecutablePathForTesting("");
    Terrain::SetTileDepthCounter(0.0f);
}

MyGame& PlayTest::StartPlay(std::uint32_t seed) {
    EndGame();
    Globals() = GameGlobals{};
    Terrain::SetTileDepthCounter(0.0f);
    os::headless::ResetKeys();
    os::headless::ResetCursor();
    AddPlayContent(Content());
    return StartGame(seed);
}

void PlayTest::SkipIntro() {
    // The first frame builds the intro, the second times the first; the
    // keyboard counts keys once an update has seen none held.
    Step(3);
    HoldKey(os::VK_SPACE, true);
    for (int frame = 0; frame < 10 && m_game->GetCurrentLevelIndex() != MyLevelFactory::kMenuLevel; ++frame) {
        Step();
    }
    HoldKey(os::VK_SPACE, false);
    ASSERT_EQ(m_game->GetCurrentLevelIndex(), MyLevelFactory::kMenuLevel);
    // The frame after a level change has no time behind it; from the next
    // on every frame updates.
    Step();
}

GameLevel& PlayTest::EnterStage() {
    m_game->ChangeLevel(MyLevelFactory::kGameLevel);
    for (int frame = 0; frame < 3 && m_game->GetCurrentLevelIndex() != MyLevelFactory::kGameLevel; ++frame) {
        Step();
    }
    auto* stage = dynamic_cast<GameLevel*>(m_game->GetCurrentLevel());
    EXPECT_NE(stage, nullptr);
    m_game->CaptureTemplates();
    stage->GetTerrain().Start(static_cast<float>(MyGame::kWidth));
    EXPECT_GT(stage->GetTerrain().GetLeadingPosition().x, 0.0f);
    for (int i = 0; i < 6; ++i) {
        EXPECT_NE(MakeCloud(-0.5f - 0.1f * static_cast<float>(i)), nullptr);
    }
    return *stage;
}

void PlayTest::StepStage(GameLevel& stage) {
    Step();
    stage.GetTerrain().Update(static_cast<float>(kFrameMilliseconds / 1000.0));
}

}  // namespace mygametest
