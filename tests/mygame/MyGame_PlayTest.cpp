#include "MyGame_PlayTest.h"

#include "core/Core_MersenneTwister.h"
#include "core/Core_Random.h"
#include "mygame/MyGame_Cloud.h"
#include "mygame/MyGame_CreateGame.h"
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
    Tundra::GameObject::SetIdCounter(0);
    m_game = MakeGame(MakePlayContent());
    Core::GameRandomGenerator().Seed(seed);
    SeedRandom(seed);
    return *m_game;
}

void PlayTest::SkipIntro() {
    // The keyboard counts keys once it has seen none held.
    Step(2);
    HoldKey(os::VK_SPACE, true);
    for (int frame = 0; frame < 10 && m_game->GetCurrentLevelIndex() != MyLevelFactory::kMenuLevel; ++frame) {
        Step();
    }
    HoldKey(os::VK_SPACE, false);
    ASSERT_EQ(m_game->GetCurrentLevelIndex(), MyLevelFactory::kMenuLevel);
}

GameLevel& PlayTest::EnterStage() {
    m_game->ChangeLevel(MyLevelFactory::kGameLevel);
    Step();
    auto* stage = dynamic_cast<GameLevel*>(m_game->GetCurrentLevel());
    EXPECT_NE(stage, nullptr);
    m_game->CaptureTemplates();
    stage->GetTerrain().Start(static_cast<float>(MyGame::kWidth));
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
