#include "support/Tundra_TestGame.h"

#include "gui/GUI_HUDTestHooks.h"
#include "os/OS_Path.h"
#include "physics/Physics_MassProperties.h"
#include "sound/Sound_JukeBoxTestHooks.h"
#include "tundra/Tundra_FindObject.h"

#include <algorithm>

using namespace tundratest;

namespace {

// The position of the first log entry equal to text; the log's size when none.
std::size_t At(const std::string& text) {
    return static_cast<std::size_t>(std::find(Log().begin(), Log().end(), text) - Log().begin());
}

}  // namespace

TEST_F(GameTest, FirstFrameBuildsAndStartsTheLevelAndTimingStartsAfterTheBuild) {
    m_factory->buildMs = 500.0;
    m_game = TUN_NEW(TestGame, m_factory.Get(), 0);
    TestGame& game = *m_game;
    Step(1);
    EXPECT_EQ(Log(), (std::vector<std::string>{"build 0", "game started", "level start 0"}));
    Step(1);
    EXPECT_TRUE(game.dts.empty());
    Step(1);
    EXPECT_EQ(game.dts, std::vector<float>{0.016f});
    Step(1, 0.0);
    Step(1, 16.0);
    EXPECT_EQ(game.dts.size(), 2u) << "a 0 ms frame updates nothing, and neither does the one after it";
}

TEST_F(GameTest, UpdateRunsItsStepsInOrderWithEveryFirstLatePassBeforeAnySecond) {
    for (const std::uint32_t layers : {0u, 2u}) {
        m_factory->layers = layers;
        TestGame& game = Start();
        if (layers != 0) {
            Spawn("a", 0);
            Spawn("b", 1);
        }
        Tundra::Game::GetInstance()->GetCurrentLevel()->SetJukeBox(TUN_NEW(Tundra::JukeBox));
        Step(1);
        Log().clear();
        Tundra::GetJukeBoxCallsForTesting() = {};
        GUI::GetHudCallsForTesting() = {};
        Step(1);
        EXPECT_LT(At("pre update"), At("level update"));
        EXPECT_EQ((std::vector{Tundra::GetJukeBoxCallsForTesting().updates, GUI::GetHudCallsForTesting().updates,
                               GUI::GetHudCallsForTesting().renders}),
                  std::vector(3, 1));
        EXPECT_LT(At("level update"), At("post collision"));
        if (layers != 0) {
            EXPECT_LT(At("update a"), At("update b"));
            EXPECT_LT(At("late1 b"), At("late2 a"));
            EXPECT_LT(At("late2 b"), At("post collision"));
        }
        game.Shutdown();
    }
}

TEST_F(GameTest, ConstructionFallsBackToLevelZeroAndClampsTheVolume) {
    TestGame& game = Start(3);
    EXPECT_EQ(game.GetStartingLevelIndex(), 0u);
    EXPECT_EQ(Log().front(), "build 0");
    for (const auto& [given, expected] : {std::pair{12.0f, 10.0f}, {-1.0f, 0.0f}, {5.0f, 5.0f}}) {
        game.SetMasterVolume(given);
        EXPECT_EQ(game.GetMasterVolume(), expected);
    }
    for (const auto& [path, expected] : {std::pair{"/opt/Emberline.EXE", "Emberline.EXE"}, {"/opt/game.exe", "game"}}) {
        os::SetExecutablePathForTesting(path);
        EXPECT_EQ(Tundra::Game::GetExecutableNameNoExtension(), expected);
    }
}

TEST_F(GameTest, ANullLevelSkipsTheFrameAndIsAskedForAgain) {
    m_factory->giveNull = true;
    TestGame& game = Start();
    Step(2);
    EXPECT_TRUE(Entries("build").size() == 4u && game.dts.empty());
    m_factory->giveNull = false;
    Step(2);
    EXPECT_TRUE(game.GetCurrentLevel() != nullptr && game.dts.size() == 1u);
}

TEST_F(GameTest, ShutdownEndsTheLevelOnceAndTheReleasedGameLeavesObjectsInert) {
    m_factory->layers = 1;
    TestGame& game = Start();
    Spawn("a");
    Tundra::Game::GetInstance()->GetCurrentLevel()->SetJukeBox(TUN_NEW(Tundra::JukeBox));
    Step(1);
    const Core::RefPtr<TestObject> kept = TUN_NEW(TestObject, "kept");
    const Physics2D::MassProperties mass(1.0f, 1.0f);
    EXPECT_TRUE(kept->AddPhysicalProperties(&mass, 0) && kept->GetPhysicsId() != 0u);
    Log().clear();
    game.Shutdown();
    game.Shutdown();
    EXPECT_EQ(Log(), (std::vector<std::string>{"end a", "level end 0", "game ended", "cleanup a"}));
    EXPECT_TRUE(Tundra::GetJukeBoxCallsForTesting().stops == 1 && game.GetSceneGraph()->GetChildCount() == 0u);
    m_game = nullptr;
    EXPECT_EQ(Tundra::Game::GetInstance(), nullptr);
    kept->SetPosition({1.0f, 2.0f});
}

TEST_F(GameTest, LevelsIndexLayersAndFindObjectsByNameInLayerAndIdOrder) {
    TestGame& game = Start();
    Tundra::Level& level = *game.GetCurrentLevel();
    EXPECT_TRUE(level.GetLayer(1)->GetIndex() == 1u && !level.GetLayer(2) && !level.GetLayerByName("none"));
    EXPECT_EQ(game.GetSceneGraph()->GetChildCount(), 2u);
    EXPECT_TRUE(!level.GetClearBackBuffer() && level.GetClearColor().a == 1.0f);
    TestObject& second = Spawn("x", 1);
    TestObject& first = Spawn("x", 0);
    Spawn("y", 0);
    Step(1);
    const Core::String x = "x";
    std::vector<Tundra::GameObject*> found;
    level.GetGameObjects(&x, found);
    EXPECT_EQ(found, (std::vector<Tundra::GameObject*>{&first, &second}));
    level.GetGameObjects(nullptr, found);
    EXPECT_EQ(found.size(), 3u);
    EXPECT_TRUE(Tundra::FindObject<TestObject>("x") == &first && !Tundra::FindObject<TestObject>("z"));
}
