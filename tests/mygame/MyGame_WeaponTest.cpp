#include "mygame/MyGame.h"
#include "mygame/MyGame_Bullet.h"
#include "mygame/MyGame_CursorClass.h"
#include "mygame/MyGame_Debuff.h"
#include "support/MyGame_TestEnemy.h"
#include "mygame/MyGame_GameLevel.h"
#include "mygame/MyGame_MyLevelFactory.h"
#include "mygame/MyGame_Player.h"
#include "mygame/MyGame_WeaponBar.h"
#include "mygame/MyGame_WeaponSprite.h"
#include "support/MyGame_WeaponScenario.h"
#include "tundra/Tundra_ParticleSystem.h"
#include "tundra/Tundra_Sound.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>

namespace mygametest {
namespace {

using WeaponTest = WeaponScenario;

std::string HandState(const Player& player) {
    const Player::Machine* machine = player.GetWeaponMachine();
    return std::string(machine->GetStates()[static_cast<std::size_t>(machine->GetCurrent())]->GetName());
}

// Held left button, then the right one: the left hand fires whenever it is
// ready, the swap takes 0.3 s or more with no shot, the bars follow the hand.
TEST_F(WeaponTest, TheHeldButtonFiresAndTheOtherSwapsHands) {
    ASSERT_TRUE(EnterWithWeapons(WeaponSprite::kRifle, WeaponSprite::kRifle, 0));
    Player& player = *Find<Player>("Player");
    EXPECT_EQ(HandState(player), "LEFT_STATE");
    AimAt({900.0f, 500.0f});
    Press(os::VK_LBUTTON);
    BulletCounter counter;
    RunUntil([&] { return counter.Count() == 2; }, 120);
    EXPECT_EQ(counter.Count(), 2);
    Press(os::VK_RBUTTON);
    const int before = counter.Count();
    int duringSwap = before;
    const std::optional<int> swapped = RunUntil([&] {
        if (HandState(player) == "RIGHT_STATE") {
            return true;
        }
        duringSwap = counter.Count();
        return false;
    }, 60);
    ASSERT_TRUE(swapped.has_value());
    EXPECT_GE(*swapped, 18);
    EXPECT_EQ(duringSwap, before);
    Step();
    EXPECT_EQ(counter.Count(), before + 1) << "the right hand fires as soon as it is in, its button held";
    Release(os::VK_LBUTTON);
    Release(os::VK_RBUTTON);
    Step(60);
    EXPECT_NEAR(Find<WeaponBar>("RightWeaponBar")->GetBrightness(), 1.0f, 1e-3f);
    EXPECT_NEAR(Find<WeaponBar>("LeftWeaponBar")->GetBrightness(), 0.4f, 1e-3f);
    EXPECT_FALSE(player.GetLeftWeapon()->GetVisible());
}

// The rifle's rate follows stats 1 and 2; its rounds fly at 750 units a
// second toward the cursor.
TEST_F(WeaponTest, TheRifleFiresAtItsRateTowardTheCursor) {
    struct Case {
        std::uint8_t stats;
        int rounds;
    };
    for (const Case& c : {Case{0, 15}, Case{5, 20}}) {
        SCOPED_TRACE(c.stats);
        ASSERT_TRUE(EnterWithWeapons(WeaponSprite::kRifle, WeaponSprite::kBeamGun, c.stats));
        const Vector2D from = Find<Player>("Player")->GetLeftWeapon()->GetPosition();
        const Vector2D target = from + Vector2D{300.0f, 400.0f};
        AimAt(target);
        Press(os::VK_LBUTTON);
        BulletCounter counter;
        Bullet* first = nullptr;
        Vector2D start{};
        for (int frame = 0; frame < 360; ++frame) {
            Step();
            counter.Count();
            if (first == nullptr) {
                first = counter.Newest();
                start = first != nullptr ? first->GetPosition() : start;
            } else if (frame < 20) {
                const Vector2D moved = first->GetPosition() - start;
                start = first->GetPosition();
                EXPECT_NEAR(moved.x * 60.0f, 750.0f * 0.6f, 8.0f);
                EXPECT_NEAR(moved.y * 60.0f, 750.0f * 0.8f, 8.0f);
            }
        }
        EXPECT_NEAR(counter.Count(), c.rounds, 1);
        Release(os::VK_LBUTTON);
        EndGame();
    }
}

// The beam gun mounts its beam, which ends with its animation, and sends
// its shot toward the cursor.
TEST_F(WeaponTest, TheBeamGunMountsABeamThatEndsWithItsAnimation) {
    ASSERT_TRUE(EnterWithWeapons(WeaponSprite::kBeamGun, WeaponSprite::kRifle, 0));
    WeaponSprite& gun = *Find<Player>("Player")->GetLeftWeapon();
    AimAt(gun.GetPosition() + Vector2D{400.0f, 0.0f});
    Press(os::VK_LBUTTON);
    BulletCounter counter;
    ASSERT_TRUE(RunUntil([&] { return counter.Count() > 0; }, 10));
    Release(os::VK_LBUTTON);
    Bullet* beam = nullptr;
    for (int i = 0; i < gun.GetMountsCount(); ++i) {
        beam = beam != nullptr ? beam : dynamic_cast<Bullet*>(gun.GetMountAt(i));
    }
    ASSERT_NE(beam, nullptr);
    EXPECT_EQ(beam->GetCurrentAnimationIndex(), Bullet::kBeam);
    Bullet* shot = counter.Newest();
    ASSERT_NE(shot, nullptr);
    EXPECT_EQ(shot->GetCurrentAnimationIndex(), Bullet::kBeamShot);
    const Core::RefPtr<Bullet> heldBeam(beam);
    const std::optional<int> ended = RunUntil([&] { return beam->IsDestroyed(); }, 60);
    ASSERT_TRUE(ended.has_value());
    EXPECT_GE(*ended, 5) << "six frames of 0.03 s";
}

// Pellets spread at most 0.1 a component, stretch 1 to 3 times, and come
// 0.1 to 0.35 s apart; the looping sound gives way to the end sound.
TEST_F(WeaponTest, TheScatterGunSpreadsAndEndsItsSoundOnRelease) {
    ASSERT_TRUE(EnterWithWeapons(WeaponSprite::kScatterGun, WeaponSprite::kRifle, 0));
    WeaponSprite& gun = *Find<Player>("Player")->GetLeftWeapon();
    AimAt(gun.GetPosition() + Vector2D{0.0f, 300.0f});
    Press(os::VK_LBUTTON);
    BulletCounter counter;
    int lastShot = -1;
    int seen = counter.Count();
    for (int frame = 0; frame < 300; ++frame) {
        // Straight up from the gun, which the ground carries along.
        AimAt(gun.GetPosition() + Vector2D{0.0f, 300.0f});
        Step();
        if (counter.Count() == seen) {
            continue;
        }
        seen = counter.Count();
        Bullet* pellet = counter.Newest();
        ASSERT_NE(pellet, nullptr);
        Vector2D velocity{};
        ASSERT_TRUE(pellet->GetVelocity(velocity));
        EXPECT_LE(std::fabs(velocity.x / 250.0f), 0.11f);
        EXPECT_LE(std::fabs(velocity.y / 250.0f - 1.0f), 0.11f);
        EXPECT_GE(pellet->GetScaleX(), 1.0f);
        EXPECT_LE(pellet->GetScaleX(), 3.0f);
        EXPECT_GE(gun.GetPeriod(), 0.1f);
        EXPECT_LE(gun.GetPeriod(), 0.35f);
        if (lastShot >= 0) {
            EXPECT_GE(frame - lastShot, 6);
            EXPECT_LE(frame - lastShot, 22);
        }
        lastShot = frame;
    }
    EXPECT_GT(counter.Count(), 10);
    EXPECT_TRUE(gun.IsStartSoundOn());
    Release(os::VK_LBUTTON);
    Step(2);
    EXPECT_FALSE(gun.IsStartSoundOn());
}

// From full energy at stat 2 = 0 the flame runs dry after about 3.08 s,
// waits 1 s, then recharges at (stat 1 + 1) / 10 a second.
TEST_F(WeaponTest, TheFlameDrainsAndRecharges) {
    ASSERT_TRUE(EnterWithWeapons(WeaponSprite::kFlameThrower, WeaponSprite::kRifle, 2, 0));
    WeaponSprite& flame = *Find<Player>("Player")->GetLeftWeapon();
    EXPECT_EQ(flame.GetCharge(), 1.0f);
    AimAt({900.0f, 400.0f});
    Press(os::VK_LBUTTON);
    const std::optional<int> dry = RunUntil([&] { return flame.GetCharge() <= 0.0f; }, 400);
    ASSERT_TRUE(dry.has_value());
    EXPECT_NEAR(*dry, 185, 1);
    Release(os::VK_LBUTTON);
    Step(2);
    const float empty = flame.GetCharge();
    Step(54);
    EXPECT_EQ(flame.GetCharge(), empty) << "nothing within the first second";
    Step(64);
    // Stat 1 at 2: 0.3 a second, for about the last second.
    EXPECT_NEAR(flame.GetCharge() - empty, 0.3f, 0.015f);
    EXPECT_NEAR(Find<CursorClass>("MainCursor")->GetLeftGauge(), flame.GetCharge(), 1e-6f);
}

// The cone: 20 degrees around the aim, strictly within the range, living
// enemies only; one its hit kills is not lit (a boss would burn on, hidden).
// Outside the stage the flame drains but burns nothing.
TEST_F(WeaponTest, TheFlameBurnsLivingEnemiesInItsCone) {
    ASSERT_TRUE(EnterWithWeapons(WeaponSprite::kFlameThrower, WeaponSprite::kRifle, 0));
    WeaponSprite& flame = *Find<Player>("Player")->GetLeftWeapon();
    const Vector2D origin = flame.GetPosition();
    auto at = [&](float degrees, float distance) {
        const float radians = degrees * 3.14159265f / 180.0f;
        return origin + Vector2D{std::cos(radians) * distance, std::sin(radians) * distance};
    };
    Enemy& inside = *AddTestEnemy(at(19.0f, 200.0f));
    Enemy& wide = *AddTestEnemy(at(-21.0f, 200.0f));
    Enemy& far = *AddTestEnemy(at(0.0f, 450.0f));
    Enemy& dead = *AddTestEnemy(at(5.0f, 150.0f));
    Enemy& killed = *AddTestEnemy(at(-10.0f, 250.0f));
    Step();
    dead.SetHealth(0.0f);
    killed.SetHealth(0.0001f);
    AimAt(at(0.0f, 300.0f));
    Press(os::VK_LBUTTON);
    Step(60);
    Release(os::VK_LBUTTON);
    EXPECT_LT(inside.GetHealth(), 1.0f);
    EXPECT_NE(dynamic_cast<FireDebuff*>(inside.GetDebuff()), nullptr);
    for (Enemy* untouched : {&wide, &far}) {
        EXPECT_EQ(untouched->GetHealth(), 1.0f);
        EXPECT_EQ(untouched->GetDebuff(), nullptr);
    }
    for (Enemy* lifeless : {&dead, &killed}) {
        EXPECT_EQ(lifeless->GetHealth(), 0.0f);
        EXPECT_EQ(lifeless->GetDebuff(), nullptr);
    }
}

TEST_F(WeaponTest, OnTheTitleTheFlameDrainsAndBurnsNothing) {
    Content().ThenBuild(MyLevelFactory::kMenuLevel, MyLevelFactory::kWorldLayer,
                        [](const LayerBuild& build) { PlaceSprite<WeaponSprite>(build, "LeftWeapon"); });
    StartGame();
    SelectWeapons(WeaponSprite::kFlameThrower, WeaponSprite::kRifle, 0);
    ASSERT_TRUE(GoToLevel(MyLevelFactory::kMenuLevel));
    WeaponSprite* flame = Find<WeaponSprite>("LeftWeapon");
    ASSERT_NE(flame, nullptr);
    ASSERT_EQ(flame->GetWeapon(), WeaponSprite::kFlameThrower);
    for (int frame = 0; frame < 30; ++frame) {
        flame->Fire();
        Step();
    }
    EXPECT_LT(flame->GetCharge(), 1.0f);
    EXPECT_GT(flame->GetFlameRange(), 0.0f);
}

// The fifth weapon has no shot and no sound; the flame's sound follows the
// game's volume and mute.
TEST_F(WeaponTest, SoundsFollowTheKindAndTheGameVolume) {
    ASSERT_TRUE(EnterWithWeapons(WeaponSprite::kFifthWeapon, WeaponSprite::kFlameThrower, 0));
    Player& player = *Find<Player>("Player");
    WeaponSprite& fifth = *player.GetLeftWeapon();
    EXPECT_EQ(fifth.GetStartSound(), nullptr);
    EXPECT_EQ(fifth.GetEndSound(), nullptr);
    Press(os::VK_LBUTTON);
    BulletCounter counter;
    Step(60);
    EXPECT_EQ(counter.Count(), 0);
    Release(os::VK_LBUTTON);

    WeaponSprite& flame = *player.GetRightWeapon();
    ASSERT_NE(flame.GetStartSound(), nullptr);
    ASSERT_NE(flame.GetEndSound(), nullptr);
    struct Case {
        bool muted;
        float volume;
        float heard;
    };
    for (const Case& c : {Case{true, 0.8f, 0.0f}, Case{false, 0.5f, 0.5f}}) {
        Game().SetMuted(c.muted);
        Game().StoreVolume(c.volume);
        flame.Fire();
        Step();
        EXPECT_FLOAT_EQ(flame.GetStartSound()->GetVolume(), c.heard) << c.muted;
    }
}

// Whichever hand holds the flame thrower, its flame comes from that hand.
TEST_F(WeaponTest, TheFlameEmittersFollowTheFlameWeapon) {
    for (const bool left : {true, false}) {
        SCOPED_TRACE(left);
        ASSERT_TRUE(EnterWithWeapons(left ? WeaponSprite::kFlameThrower : WeaponSprite::kRifle,
                                     left ? WeaponSprite::kRifle : WeaponSprite::kFlameThrower, 0));
        Player& player = *Find<Player>("Player");
        WeaponSprite* flame = left ? player.GetLeftWeapon() : player.GetRightWeapon();
        EXPECT_EQ(Find<Tundra::ParticleSystem>("GasEmitter")->GetMount(), flame);
        EndGame();
    }
}

}  // namespace
}  // namespace mygametest

namespace mygametest {
namespace {

using WeaponBarOffscreenTest = OffscreenStageFixture;

// The drawn height follows the fill from the bar's bottom edge, within the
// frame the sheet gives; the fill itself is kept as set.
TEST_F(WeaponBarOffscreenTest, TheFillDrawsFromTheBottomEdgeWithinTheFrame) {
    ASSERT_TRUE(EnterStage(0));
    WeaponBar& bar = *Find<WeaponBar>("LeftWeaponBar");
    const float full = bar.GetFullHeight();
    ASSERT_GT(full, 4.0f);
    bar.SetFill(1.0f);
    const float bottom = bar.GetPositionY() - 0.5f * full;
    struct Case {
        float fill;
        float drawn;
    };
    for (const Case& c : {Case{0.5f, std::trunc(0.5f * full)}, Case{1.02f, full}, Case{0.0f, 0.0f}}) {
        SCOPED_TRACE(c.fill);
        bar.SetFill(c.fill);
        EXPECT_EQ(bar.GetFill(), c.fill);
        EXPECT_EQ(static_cast<float>(bar.GetFrameHeight(bar.GetCurrentAnimationIndex())), c.drawn);
        EXPECT_FLOAT_EQ(bar.GetPositionY() - 0.5f * std::min(c.fill * full, full), bottom);
    }
}

}  // namespace
}  // namespace mygametest
