#include "support/Tundra_TestGame.h"

#include "gui/GUI_HUDTestHooks.h"
#include "sound/Sound_SoundEngineTestHooks.h"
#include "collision/Collision_CollisionEngine.h"
#include "input/Input_KeyTable.h"
#include "os/OS_HeadlessInput.h"
#include "tundra/Tundra_FindObject.h"

using namespace tundratest;

TEST_F(GameTest, OnlyTheLastValidRequestOfAFrameIsBuiltAtTheNextUpdate) {
    TestGame& game = Start();
    game.GoToLevel(2);
    game.GoToLevel(1);
    game.GoToLevel(3);
    game.GoToLevelByName("7");
    game.GoToPreviousLevel();
    Log().clear();
    Step(2);
    EXPECT_EQ(Entries("build"), (std::vector<std::string>{"build 1"}));
    static_cast<TestLevel&>(*game.GetCurrentLevel()).onUpdate = [&game](TestLevel&) { game.GoToLevelByName("2"); };
    Log().clear();
    Step(1);
    EXPECT_TRUE(Entries("build").empty());
    Step(1);
    EXPECT_TRUE(Entries("build") == std::vector<std::string>{"build 2"} && game.GetCurrentLevelIndex() == 2u);
}

TEST_F(GameTest, RestartingEndsEverythingInOrderAndRestartsIdsAndTiming) {
    TestGame& game = Start();
    Spawn("a");
    Step(1);
    const auto held = [&game] { return game.GetKeyboard()->IsDown(Input::kKeyLetterA); };
    os::headless::SetKey(os::VK_A, true);  // held across the change
    Step(1);
    EXPECT_TRUE(held());
    LayerAt(0).AddStaticCircle({0.0f, 0.0f}, 1.0f, 0, 1);
    game.RestartLevel();
    m_factory->buildMs = 500.0;
    m_factory->fill = [](Tundra::Level& level, std::uint32_t) {
        level.GetLayer(0)->AddGameObject(TUN_NEW(TestObject, "b"));
    };
    GUI::GetHudCallsForTesting() = {};
    Log().clear();
    game.dts.clear();
    Step(1);
    const std::vector<std::string> expected = {"end a",           "level end 0", "cleanup a",     "factory changed",
                                               "build 0",         "level start 0", "pre update"};
    EXPECT_EQ(std::vector<std::string>(Log().begin(), Log().begin() + 7), expected);
    EXPECT_TRUE(GUI::GetHudCallsForTesting().clears == 1 && GetStopAllCountForTesting() == 1);
    EXPECT_EQ(Tundra::FindObject<TestObject>("b")->GetID(), 0u);
    EXPECT_EQ(game.GetCollisionEngine()->GetLayerCount(), 2u);
    EXPECT_FALSE(held()) << "the keyboard waits for the key's release";
    Step(1);
    EXPECT_TRUE(game.dts.size() == 1u && !held()) << "the build's 500 ms are not a frame; the key is still held";
    os::headless::SetKey(os::VK_A, false);
    Step(1);
    EXPECT_EQ(game.dts.back(), 0.016f);
    os::headless::SetKey(os::VK_A, true);
    Step(1);
    EXPECT_TRUE(held()) << "the wait ended with the release";
    os::headless::ResetKeys();
}
