#include "support/MyGame_TestGame.h"

namespace mygametest {
namespace {

TEST_F(MyGameTest, ReachesTheIntroHeadless) {
    StartGame();
    Step(2);
    ASSERT_NE(Game().GetCurrentLevel(), nullptr);
    EXPECT_EQ(Game().GetCurrentLevelIndex(), 0u);
}

}  // namespace
}  // namespace mygametest
