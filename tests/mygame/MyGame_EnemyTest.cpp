#include "MyGame_EnemyFixture.h"

#include "mygame/MyGame_EnemySpawns.h"
#include "mygame/MyGame_Player.h"
#include "mygame/MyGame_WeaponSprite.h"

#include <gtest/gtest.h>

#include <vector>

namespace mygametest {
namespace {

using EnemyTest = EnemyScenario;

// Rounds of the new player's rifle take 0.34 each from a walker: the third
// leaves health at exactly 0 and the hits after it change nothing; the
// death is counted once and leaves one drop where the walker died.
TEST_F(EnemyTest, BulletsKillAWalkerOnceCountItOnceAndLeaveOneDrop) {
    ASSERT_TRUE(EnterEmptyStage());
    // Aims are taken from where the weapons rest, on the ground.
    const Player& player = *Stage()->GetPlayer();
    ASSERT_TRUE(RunUntil([&] { return !player.IsInAir() && player.GetVelocity() == Vector2D{}; }, 600));
    const Core::RefPtr<Enemy> walker =
        CreateWalkingRangedEnemy(player.GetPosition() + Vector2D{320.0f, 150.0f});
    ASSERT_NE(walker, nullptr);
    Press(os::VK_LBUTTON);
    ASSERT_TRUE(RunUntil(
        [&] {
            AimAt(walker->GetPosition());
            return walker->IsDead();
        },
        240));
    Release(os::VK_LBUTTON);
    const Vector2D diedAt = walker->GetPosition();
    EXPECT_EQ(walker->GetHealth(), 0.0f);
    Step();
    const std::vector<EnemyDrop*> drops = LiveDrops();
    ASSERT_EQ(drops.size(), 1u);
    // It rises from where the walker died.
    EXPECT_NEAR(drops[0]->GetPositionX(), diedAt.x, 2.0f);
    EXPECT_GE(drops[0]->GetPositionY(), diedAt.y);
    EXPECT_LT(drops[0]->GetPositionY(), diedAt.y + 5.0f);
    for (int hit = 0; hit < 3; ++hit) {
        walker->TakeDamage(0.4f, WeaponSprite::kRifle);
        Step();
    }
    EXPECT_EQ(walker->GetHealth(), 0.0f);
    EXPECT_EQ(Stage()->GetKills().ground, 1);
    EXPECT_EQ(LiveDrops().size(), 1u);
}

// A hit shows bar and background for a second; a second hit within it
// starts the second again.
TEST_F(EnemyTest, TheBarShowsForASecondAfterEachHit) {
    ASSERT_TRUE(EnterEmptyStage());
    Enemy& enemy = Place(Vector2D{600.0f, 400.0f});
    Step(2);
    Tundra::Sprite* bar = enemy.GetHealthBar();
    Tundra::Sprite* background = enemy.GetHealthBarBackground();
    ASSERT_NE(bar, nullptr);
    ASSERT_NE(background, nullptr);
    EXPECT_FALSE(bar->GetVisible());
    const auto shownFor = [&] {
        int frames = 0;
        while (bar->GetVisible() && frames < 200) {
            EXPECT_TRUE(background->GetVisible());
            Step();
            ++frames;
        }
        EXPECT_FALSE(background->GetVisible());
        return frames;
    };
    enemy.TakeDamage(0.1f, WeaponSprite::kRifle);
    EXPECT_NEAR(shownFor(), 60, 1);
    enemy.TakeDamage(0.1f, WeaponSprite::kRifle);
    Step(30);
    enemy.TakeDamage(0.1f, WeaponSprite::kRifle);
    EXPECT_NEAR(shownFor(), 60, 1);
}

// The bar starts 10 above the enemy, shrinks from one side with health
// (a full bar is 50 wide) and moves with its enemy.
TEST_F(EnemyTest, TheBarShowsTheHealthFromOneSideAndFollowsTheEnemy) {
    ASSERT_TRUE(EnterEmptyStage());
    Enemy& enemy = Place(Vector2D{600.0f, 400.0f});
    Step(2);
    Tundra::Sprite& bar = *enemy.GetHealthBar();
    Tundra::Sprite& background = *enemy.GetHealthBarBackground();
    EXPECT_EQ(bar.GetPosition(), (Vector2D{600.0f, 410.0f}));
    EXPECT_EQ(background.GetPosition(), (Vector2D{600.0f, 410.0f}));
    EXPECT_EQ(bar.GetCurrentFrameIndex(), 1);
    EXPECT_EQ(background.GetCurrentFrameIndex(), 0);
    enemy.SetHealth(0.5f);
    enemy.OnHealthChanged();
    EXPECT_EQ(bar.GetScaleX(), 0.5f);
    EXPECT_EQ(bar.GetCenter().x, 12.5f);
    EXPECT_EQ(background.GetScaleX(), 1.0f);
    enemy.SetPosition(Vector2D{580.0f, 380.0f});
    Step();
    EXPECT_EQ(bar.GetPosition(), (Vector2D{580.0f, 390.0f}));
    EXPECT_EQ(background.GetPosition(), (Vector2D{580.0f, 390.0f}));
}

// Every bar is drawn a step below the one made before it, and the bar
// itself just below its background.
TEST_F(EnemyTest, EachNewBarLiesBelowThePreviousOne) {
    ASSERT_TRUE(EnterEmptyStage());
    const float depth = Enemy::GetHealthBarDepthCounter();
    Enemy& first = Place(Vector2D{600.0f, 400.0f});
    Enemy& second = Place(Vector2D{700.0f, 400.0f});
    const float secondDepth = depth - 0.00001f;
    EXPECT_EQ(first.GetHealthBarBackground()->GetZOrder(), depth);
    EXPECT_EQ(first.GetHealthBar()->GetZOrder(), depth - 0.000001f);
    EXPECT_EQ(second.GetHealthBarBackground()->GetZOrder(), secondDepth);
    EXPECT_EQ(second.GetHealthBar()->GetZOrder(), secondDepth - 0.000001f);
    EXPECT_EQ(Enemy::GetHealthBarDepthCounter(), secondDepth - 0.00001f);
}

// Past x -50 or below y -50 an enemy goes, and its bar with it; the others
// keep their order in the live list.
TEST_F(EnemyTest, AnEnemyPastTheLeftOrBottomEdgeGoesWithItsBar) {
    ASSERT_TRUE(EnterEmptyStage());
    const Vector2D positions[] = {{-50.0f, 300.0f}, {-50.01f, 300.0f}, {300.0f, -50.0f}, {300.0f, -50.01f},
                                  {400.0f, 300.0f}};
    std::vector<Enemy*> placed;
    for (const Vector2D& position : positions) {
        placed.push_back(&Place(position));
    }
    const Core::RefPtr<Tundra::Sprite> gone = placed[1]->GetHealthBar();
    Step(2);
    GameLevel& stage = *Stage();
    ASSERT_EQ(stage.GetLiveEnemyCount(), 3u);
    EXPECT_EQ(stage.GetLiveEnemy(0), placed[0]);
    EXPECT_EQ(stage.GetLiveEnemy(1), placed[2]);
    EXPECT_EQ(stage.GetLiveEnemy(2), placed[4]);
    EXPECT_TRUE(gone->IsDestroyRequested());
    EXPECT_FALSE(gone->GetVisible());
    EXPECT_FALSE(placed[0]->GetHealthBar()->IsDestroyRequested());
}

// The bar depth reached comes back with a saved game, and the loaded
// enemies keep their bars.
TEST_F(EnemyTest, TheBarDepthAndTheBarsComeBackWithASavedGame) {
    ASSERT_TRUE(EnterEmptyStage());
    Place(Vector2D{600.0f, 400.0f});
    Step(2);
    const float depth = Enemy::GetHealthBarDepthCounter();
    m_game->RequestSave("bars");
    Step();
    Place(Vector2D{700.0f, 400.0f});
    ASSERT_NE(Enemy::GetHealthBarDepthCounter(), depth);
    const Tundra::Level* before = m_game->GetCurrentLevel();
    m_game->RequestLoad("bars");
    ASSERT_TRUE(RunUntil([&] { return m_game->GetCurrentLevel() != before; }, 3));
    EXPECT_EQ(Enemy::GetHealthBarDepthCounter(), depth);
    ASSERT_EQ(Stage()->GetLiveEnemyCount(), 1u);
    const Enemy& loaded = *Stage()->GetLiveEnemy(0);
    ASSERT_NE(loaded.GetHealthBar(), nullptr);
    EXPECT_EQ(loaded.GetHealthBar()->GetMount(), &loaded);
    EXPECT_EQ(loaded.GetHealthBarBackground()->GetMount(), &loaded);
}

// A bar link that names anything but a bar mounted on the enemy would have
// the enemy destroy that object with it: such a save is refused, and the
// running game goes on.
TEST_F(EnemyTest, ASavedBarThatIsNotTheEnemysOwnIsRefused) {
    ASSERT_TRUE(EnterEmptyStage());
    Enemy& enemy = Place(Vector2D{600.0f, 400.0f});
    Step(2);
    Tundra::Sprite* bar = enemy.GetHealthBar();
    enemy.UnMount(bar);
    m_game->RequestSave("stray");
    Step();
    enemy.Mount(bar);
    enemy.SetPosition(Vector2D{650.0f, 400.0f});
    const Tundra::Level* before = m_game->GetCurrentLevel();
    m_game->RequestLoad("stray");
    ASSERT_TRUE(RunUntil([&] { return m_game->GetCurrentLevel() != before; }, 3));
    ASSERT_EQ(Stage()->GetLiveEnemyCount(), 1u);
    EXPECT_EQ(Stage()->GetLiveEnemy(0)->GetPositionX(), 650.0f);
}

}  // namespace
}  // namespace mygametest
