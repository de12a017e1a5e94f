#include "mygame/MyGame_AlpacaBoss.h"
#include "mygame/MyGame_BearBoss.h"
#include "mygame/MyGame_Bullet.h"
#include "mygame/MyGame_GameLevel.h"
#include "mygame/MyGame_UnknownBoss.h"
#include "support/MyGame_StageStreamFixture.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

namespace mygametest {
namespace {

struct BossCase {
    const char* what;
    std::uint32_t stage;
    // The boss stands in its place and fights.
    bool (*fighting)(const Enemy&);

    friend void PrintTo(const BossCase& boss, std::ostream* out) { *out << boss.what; }
};

template <class Boss>
bool Fighting(const Enemy& enemy) {
    const auto* boss = dynamic_cast<const Boss*>(&enemy);
    return boss != nullptr && boss->IsOpeningDone();
}

class BossLoadTest : public StageStreamFixture, public testing::WithParamInterface<BossCase> {
protected:
    // A pellet a frame from the left at the boss's height for a second,
    // then a second more for the last to land: the boss's health after.
    float Volley() {
        constexpr int kShots = 60;
        const Vector2D kPelletVelocity{30.0f, 0.0f};
        for (int shot = 0; shot < kShots * 2; ++shot) {
            Enemy* boss = Stage()->GetBoss();
            if (shot < kShots) {
                Bullet* pellet = SpawnBullet({boss->GetPositionX() - 300.0f, boss->GetPositionY()}, kPelletVelocity);
                if (pellet != nullptr) {
                    pellet->SetCurrentAnimationIndex(Bullet::kPellet, true);
                }
            }
            Step();
        }
        return Stage()->GetBoss()->GetHealth();
    }
};

// A fight saved with the boss hurt and loaded into a fresh game takes the
// same hits as the fight played on.
TEST_P(BossLoadTest, ALoadedFightTakesTheHitsOfTheFightPlayedOn) {
    const BossCase& boss = GetParam();
    Enemy* called = EnterBossFight(boss.stage);
    ASSERT_NE(called, nullptr);
    HoldHealth();
    ASSERT_TRUE(RunUntil([&] { return boss.fighting(*Stage()->GetBoss()); }, 1200));
    const float before = Volley();
    ASSERT_LT(before, 1.0f);
    Save("fight");
    const float played = Volley();
    EXPECT_LT(played, before);

    EndGame();
    ASSERT_TRUE(EnterStage(boss.stage, kSeed + 1));
    HoldHealth();
    Load("fight");
    // The frame after a load has no time behind it.
    Step();
    ASSERT_NE(Stage(), nullptr);
    ASSERT_NE(Stage()->GetBoss(), nullptr);
    EXPECT_EQ(Stage()->GetBoss()->GetHealth(), before);
    EXPECT_EQ(Volley(), played);
}

INSTANTIATE_TEST_SUITE_P(Bosses, BossLoadTest,
                         testing::Values(BossCase{"Bear", 2, &Fighting<BearBoss>},
                                         BossCase{"Alpaca", 5, &Fighting<AlpacaBoss>},
                                         BossCase{"FinalBoss", 8, &Fighting<UnknownBoss>}),
                         [](const testing::TestParamInfo<BossCase>& info) { return std::string(info.param.what); });

}  // namespace
}  // namespace mygametest
