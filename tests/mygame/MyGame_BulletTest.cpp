#include "mygame/MyGame_Bullet.h"
#include "support/MyGame_TestEnemy.h"
#include "mygame/MyGame_Globals.h"
#include "mygame/MyGame_MapTile.h"
#include "mygame/MyGame_MyLevelFactory.h"
#include "mygame/MyGame_WeaponSprite.h"
#include "support/MyGame_WeaponScenario.h"

#include <gtest/gtest.h>

namespace mygametest {
namespace {

using BulletTest = WeaponScenario;

// A ground tile where the stage's ground would be.
void PlaceColliderTile(const LayerBuild& build) {
    constexpr int kColliderTileActor = 18;
    PlaceSpriteRow(build, {.name = "MapTileColliderTemplate",
                           .make = &MakeSprite<MapTile>,
                           .animations = {{"GrassColliderTileset", 3, 3, Delays(9)}},
                           .actorIndex = kColliderTileActor,
                           .collider = ColliderSettings{1, 8.0f, 0, {0, 1, 2, 3}, true},
                           .position = {800.0f, 200.0f},
                           .stopped = true});
}

// A shot of the kind, held by the test as well as by the world layer.
Core::RefPtr<Bullet> Shoot(int kind, const Vector2D& from, const Vector2D& velocity) {
    Bullet* bullet = SpawnBullet(from, velocity);
    if (bullet != nullptr) {
        bullet->SetCurrentAnimationIndex(kind, true);
    }
    return Core::RefPtr<Bullet>(bullet);
}

// Rounds and pellets stop on a living enemy (hurting it) or on a ground
// tile (hurting nothing) and show their impact until it ends; a shot that
// flies off the screen is destroyed.
TEST_F(BulletTest, ShotsStopOnEnemiesAndTilesAndLeaveTheScreen) {
    AlsoBuild(MyLevelFactory::kWorldLayer, &PlaceColliderTile);
    ASSERT_TRUE(EnterWithWeapons(WeaponSprite::kRifle, WeaponSprite::kRifle, 0));
    Enemy& enemy = *AddTestEnemy({600.0f, 550.0f});
    const Core::RefPtr<Bullet> round = Shoot(Bullet::kRound, {450.0f, 550.0f}, {50.0f, 0.0f});
    ASSERT_NE(round, nullptr);
    ASSERT_TRUE(RunUntil([&] { return round->GetCurrentAnimationIndex() == Bullet::kRoundImpact; }, 60));
    EXPECT_LT(enemy.GetHealth(), 1.0f);
    const float hurt = enemy.GetHealth();
    ASSERT_TRUE(RunUntil([&] { return round->IsDestroyed(); }, 120)) << "the impact ends";
    EXPECT_EQ(enemy.GetHealth(), hurt);

    const Core::RefPtr<Bullet> pellet = Shoot(Bullet::kPellet, {800.0f, 300.0f}, {0.0f, -10.0f});
    ASSERT_NE(pellet, nullptr);
    ASSERT_TRUE(RunUntil([&] { return pellet->GetCurrentAnimationIndex() == Bullet::kPelletImpact; }, 60));
    Vector2D velocity{1.0f, 1.0f};
    ASSERT_TRUE(pellet->GetVelocity(velocity));
    EXPECT_EQ(velocity, (Vector2D{0.0f, 0.0f}));
    EXPECT_EQ(enemy.GetHealth(), hurt);

    const Core::RefPtr<Bullet> away = Shoot(Bullet::kRound, {1000.0f, 700.0f}, {50.0f, 0.0f});
    ASSERT_NE(away, nullptr);
    ASSERT_TRUE(RunUntil([&] { return away->IsDestroyed(); }, 30));
    EXPECT_EQ(away->GetCurrentAnimationIndex(), Bullet::kRound);
}

// The beam gun's shot goes through an enemy, hurting it on every frame they
// overlap, and is gone once off the screen.
TEST_F(BulletTest, ABeamShotHurtsOnEveryFrameOfOverlap) {
    ASSERT_TRUE(EnterWithWeapons(WeaponSprite::kRifle, WeaponSprite::kRifle, 0));
    Enemy& enemy = *AddTestEnemy({600.0f, 550.0f});
    // Started, then given health for every frame of the overlap: a dead
    // enemy's stays at 0.
    Step();
    enemy.SetHealth(100.0f);
    // 150 units a second: 2.5 a frame across 80 units of overlap.
    const Core::RefPtr<Bullet> shot = Shoot(Bullet::kBeamShot, {500.0f, 550.0f}, {10.0f, 0.0f});
    ASSERT_NE(shot, nullptr);
    int overlapping = 0;
    int hurting = 0;
    float health = enemy.GetHealth();
    for (int frame = 0; frame < 90; ++frame) {
        Step();
        const float distance = (shot->GetPosition() - enemy.GetPosition()).Length();
        overlapping += distance < 38.0f ? 1 : 0;
        hurting += enemy.GetHealth() < health ? 1 : 0;
        health = enemy.GetHealth();
    }
    EXPECT_GT(overlapping, 20);
    EXPECT_NEAR(hurting, overlapping, 2);
    EXPECT_FALSE(shot->IsDestroyed());
    shot->SetPosition({1101.0f, 550.0f});
    EXPECT_TRUE(RunUntil([&] { return shot->IsDestroyed(); }, 2));
}

// Paused, a shot neither moves on its own nor plays; resumed, it plays on.
TEST_F(BulletTest, APausedShotStandsStill) {
    ASSERT_TRUE(EnterWithWeapons(WeaponSprite::kRifle, WeaponSprite::kRifle, 0));
    const Core::RefPtr<Bullet> impact = Shoot(Bullet::kRoundImpact, {500.0f, 500.0f}, {0.0f, 0.0f});
    ASSERT_NE(impact, nullptr);
    impact->SetLoop(false);
    impact->Play(true);
    Step();
    Globals().paused = 1;
    impact->SetPaused(true);
    const Vector2D at = impact->GetPosition();
    const int frame = impact->GetCurrentFrameIndex();
    Step(60);
    EXPECT_EQ(impact->GetPosition(), at);
    EXPECT_EQ(impact->GetCurrentFrameIndex(), frame);
    EXPECT_FALSE(impact->IsDestroyed());
    Globals().paused = 0;
    impact->SetPaused(false);
    EXPECT_TRUE(impact->IsPlaying());
    ASSERT_TRUE(RunUntil([&] { return impact->IsDestroyed(); }, 60));
}

}  // namespace
}  // namespace mygametest
