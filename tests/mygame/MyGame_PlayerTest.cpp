#include "mygame/MyGame.h"
#include "mygame/MyGame_GameLevel.h"
#include "mygame/MyGame_Player.h"
#include "mygame/MyGame_PlayerMovement.h"
#include "mygame/MyGame_WeaponSprite.h"
#include "support/MyGame_PlayerFixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace mygametest {
namespace {

class PlayerTest : public PlayerFixture {
protected:
    // Where the player's position moves in one second of walking begun now.
    float WalkOneSecond(os::VirtualKey key) {
        Press(key);
        EXPECT_TRUE(RunUntil([this] { return MovementState() == kMovementWalking; }, 10));
        const float startX = m_player->GetPositionX();
        Step(60);
        return m_player->GetPositionX() - startX;
    }
};

TEST_F(PlayerTest, FallsOntoTheGroundAndRests) {
    m_player->SetPositionY(m_groundY + 100.0f);
    ASSERT_TRUE(RunUntil([this] { return MovementState() == kMovementInAir; }, 10));
    ASSERT_TRUE(RunUntil([this] { return MovementState() == kMovementIdle; }, 600));
    for (int frame = 0; frame < 600; ++frame) {
        Step();
        ASSERT_NEAR(m_player->GetPositionY(), m_groundY, 0.1f) << frame;
        ASSERT_EQ(MovementState(), kMovementIdle) << frame;
    }
}

TEST_F(PlayerTest, WalksSlowerRightThanLeftWhileTheGroundScrolls) {
    struct Case {
        os::VirtualKey key;
        float distance;
    };
    for (const Case& walk : {Case{kRightKey, 75.0f}, Case{kLeftKey, -210.0f}}) {
        StandAt(500.0f);
        EXPECT_NEAR(WalkOneSecond(walk.key), walk.distance, 0.01f * 210.0f);
        Release(walk.key);
        ASSERT_TRUE(RunUntil([this] { return MovementState() == kMovementIdle; }, 10));
    }
}

TEST_F(PlayerTest, AWalkKeepsTheSpeedItBeganWithOnceTheGroundEnds) {
    StandAt(200.0f);
    Press(kRightKey);
    ASSERT_TRUE(RunUntil([this] { return MovementState() == kMovementWalking; }, 10));
    Terrain& terrain = Stage()->GetTerrain();
    terrain.End(0, [](float) {});
    // Without moving the ground: an empty one ends here, a laid one as the
    // stage scrolls it.
    terrain.Update(0.0f);
    ASSERT_TRUE(RunUntil([this] { return Stage()->GetTerrain().IsEndReached(); }, 600));
    EXPECT_FLOAT_EQ(m_player->GetVelocity().x, 5.0f);
    Release(kRightKey);
    ASSERT_TRUE(RunUntil([this] { return MovementState() == kMovementIdle; }, 10));
    StandAt(200.0f);
    EXPECT_NEAR(WalkOneSecond(kRightKey), 210.0f, 2.1f);
}

TEST_F(PlayerTest, LeftAndRightTogether) {
    // From idle: no walk.
    Press(kLeftKey);
    Press(kRightKey);
    Step(10);
    EXPECT_EQ(MovementState(), kMovementIdle);
    EXPECT_EQ(m_player->GetVelocity().x, 0.0f);
    // Walking: a stop.
    Release(kLeftKey);
    ASSERT_TRUE(RunUntil([this] { return MovementState() == kMovementWalking; }, 10));
    Press(kLeftKey);
    ASSERT_TRUE(RunUntil([this] { return MovementState() == kMovementIdle; }, 10));
    // In the air: Left wins.
    m_player->SetPositionY(m_groundY + 200.0f);
    ASSERT_TRUE(RunUntil([this] { return MovementState() == kMovementInAir; }, 10));
    Step();
    EXPECT_FLOAT_EQ(m_player->GetVelocity().x, -14.0f);
    EXPECT_FALSE(m_player->IsFacingRight());
}

TEST_F(PlayerTest, JumpRisesAndFallsByFixedSteps) {
    for (const bool held : {false, true}) {
        SCOPED_TRACE(held ? "held" : "tapped");
        StandAt(500.0f);
        Press(kJumpKey);
        ASSERT_TRUE(RunUntil([this] { return MovementState() == kMovementJump; }, 10));
        if (!held) {
            Release(kJumpKey);
        }
        std::vector<float> velocities{BodyVelocity().y};
        int framesInJump = 1;
        int boosts = 0;
        while (MovementState() != kMovementIdle && velocities.size() < 600) {
            const bool wasJumping = MovementState() == kMovementJump;
            Step();
            const float velocity = BodyVelocity().y;
            if (velocity == 0.0f && m_player->GetVelocity().y != 0.0f) {
                // Touching down: the contact stopped the body before the
                // machine saw the ground.
                continue;
            }
            const float change = velocity - velocities.back();
            if (wasJumping && MovementState() == kMovementInAir) {
                if (held) {
                    EXPECT_FLOAT_EQ(change, 8.0f - 1.25f);
                    EXPECT_GE(static_cast<float>(framesInJump) / 60.0f, 0.15f);
                    ++boosts;
                }
            } else if (MovementState() != kMovementIdle) {
                EXPECT_TRUE(change == -1.25f || (change == 0.0f && velocity <= -25.0f && velocity > -26.25f))
                    << velocity;
            }
            framesInJump += wasJumping ? 1 : 0;
            velocities.push_back(velocity);
        }
        Release(kJumpKey);
        EXPECT_EQ(velocities.front(), 33.75f);
        // From 35 the fall settles at -25 exactly; the held jump's +8 leaves
        // the steps off the grid, so it settles just below.
        EXPECT_EQ(*std::min_element(velocities.begin(), velocities.end()), held ? -25.75f : -25.0f);
        EXPECT_EQ(boosts, held ? 1 : 0);
        ASSERT_EQ(MovementState(), kMovementIdle);
    }
}

TEST_F(PlayerTest, OnlyALongerLossOfGroundIsAFall) {
    for (const int frames : {2, 5}) {
        StandAt(500.0f);
        m_player->SetPositionY(m_groundY + 30.0f);
        Step(frames);
        EXPECT_EQ(MovementState(), frames == 2 ? kMovementIdle : kMovementInAir) << frames;
        m_player->SetPositionY(m_groundY);
        ASSERT_TRUE(RunUntil([this] { return MovementState() == kMovementIdle; }, 600));
    }
}

// The stage's player also stops a walk there (see the stage player's tests).
TEST_F(PlayerTest, TheScreenEdgeStopsAPlayerInTheAir) {
    m_player->SetPosition({20.0f, m_groundY + 300.0f});
    Press(kLeftKey);
    ASSERT_TRUE(RunUntil([this] { return MovementState() == kMovementInAir; }, 10));
    Step();
    EXPECT_EQ(m_player->GetVelocity().x, 0.0f);
    EXPECT_EQ(BodyVelocity().x, 0.0f);
}

TEST_F(PlayerTest, FacesTheCursorButNotItsWeapons) {
    auto* companion = Find<Tundra::Sprite>("Quorvex");
    ASSERT_NE(companion, nullptr);
    if (companion->GetMount() != m_player) {
        m_player->Mount(companion);
    }
    ASSERT_NE(m_player->GetLeftWeapon(), nullptr);
    ASSERT_NE(m_player->GetRightWeapon(), nullptr);
    StandAt(500.0f);
    AimAt({500.0f, 600.0f});
    Step();
    EXPECT_FALSE(m_player->GetFlipHorizontal());
    EXPECT_FALSE(companion->GetFlipHorizontal());
    AimAt({499.0f, 600.0f});
    Step();
    EXPECT_TRUE(m_player->GetFlipHorizontal());
    EXPECT_TRUE(companion->GetFlipHorizontal());
    EXPECT_FALSE(m_player->GetLeftWeapon()->GetFlipHorizontal());
    EXPECT_FALSE(m_player->GetRightWeapon()->GetFlipHorizontal());
}

TEST_F(PlayerTest, ACloneDrivesMachinesOfItsOwn) {
    Core::RefPtr<Player> clone(static_cast<Player*>(m_player->Clone()));
    for (const Player* player : {m_player, clone.Get()}) {
        EXPECT_EQ(player->GetMovementMachine()->GetOwner(), player);
        EXPECT_EQ(player->GetWeaponMachine()->GetOwner(), player);
        EXPECT_EQ(player->GetRightStep(), 5);
        EXPECT_EQ(player->GetLeftStep(), -14);
    }
    EXPECT_NE(clone->GetMovementMachine(), m_player->GetMovementMachine());
    EXPECT_EQ(clone->GetMovementMachine()->GetCurrent(), kMovementIdle);
}

TEST_F(PlayerTest, PauseKeepsOnlyAPlayingAnimationToResume) {
    struct Case {
        int animation;
        bool playing;
        bool pausedAfter;
        bool playingAfterResume;
    };
    for (const Case& c : {Case{0, true, true, true}, Case{0, false, false, false}, Case{2, true, false, true}}) {
        m_player->SetCurrentAnimationIndex(c.animation, true);
        m_player->Play(c.playing);
        m_player->SetPaused(true);
        EXPECT_EQ(!m_player->IsPlaying(), c.pausedAfter || !c.playing) << c.animation;
        m_player->SetPaused(false);
        EXPECT_EQ(m_player->IsPlaying(), c.playingAfterResume) << c.animation;
    }
}

}  // namespace
}  // namespace mygametest
