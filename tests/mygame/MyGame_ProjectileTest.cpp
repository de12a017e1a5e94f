#include "MyGame_QuietStageFixture.h"

#include "mygame/MyGame_GamePlayer.h"
#include "mygame/MyGame_Projectile.h"
#include "support/MyGame_FrameStep.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>

namespace {

using mygametest::QuietStageFixture;


class ProjectileTest : public QuietStageFixture {
protected:
    // Started and flying.
    Projectile& Arc(const Vector2D& from, const Vector2D& to) {
        Core::RefPtr<Projectile> arc(CreateArcProjectile(Projectile::kArc, from, to));
        Run();
        return *arc;
    }
};

TEST_F(ProjectileTest, AnArcRisesAboveItsHigherEndByTheEndsDistance) {
    EnterQuietStage();
    struct Case {
        Vector2D from;
        Vector2D to;
        Vector2D control;
    };
    for (const Case& c : {Case{{900.0f, 100.0f}, {300.0f, 100.0f}, {600.0f, 700.0f}},
                          Case{{300.0f, 100.0f}, {600.0f, 500.0f}, {450.0f, 1000.0f}}}) {
        const Projectile& arc = *CreateArcProjectile(Projectile::kArc, c.from, c.to);
        EXPECT_EQ(arc.GetStartPoint(), c.from);
        EXPECT_EQ(arc.GetControlPoint(), c.control);
        EXPECT_EQ(arc.GetEndPoint(), c.to);
    }
}

// Over its top half way, through its end point and on along the parabola
// past it, until it meets the ground or leaves the area.
TEST_F(ProjectileTest, AnArcFliesItsParabolaThroughItsEndAndOn) {
    EnterQuietStage();
    Core::RefPtr<Projectile> arc(&Arc({800.0f, 500.0f}, {500.0f, 500.0f}));
    Vector2D top = arc->GetPosition();
    float nearestToEnd = 1000.0f;
    bool pastTheEnd = false;
    for (int frame = 0; frame < 300 && !arc->IsDestroyRequested(); ++frame) {
        Run();
        const Vector2D at = arc->GetPosition();
        top = at.y > top.y ? at : top;
        nearestToEnd = std::min(nearestToEnd, (at - Vector2D{500.0f, 500.0f}).Length());
        pastTheEnd = pastTheEnd || (!arc->IsPlaying() && at.x < 480.0f && at.y < 480.0f);
    }
    EXPECT_NEAR(top.x, 650.0f, 2.0f);
    EXPECT_NEAR(top.y, 650.0f, 0.1f);
    EXPECT_LT(nearestToEnd, 0.5f);
    EXPECT_TRUE(pastTheEnd);
    EXPECT_TRUE(arc->IsDestroyRequested());
}

// Thrown rightwards it spins backwards and its angle falls on below 0;
// thrown leftwards it climbs and wraps at 360.
TEST_F(ProjectileTest, AnArcSpinsAgainstItsDirectionWrappingOnlyAbove360) {
    EnterQuietStage();
    Projectile& right = Arc({300.0f, 600.0f}, {700.0f, 600.0f});
    Projectile& left = Arc({700.0f, 600.0f}, {300.0f, 600.0f});
    float lastRight = right.GetSpinAngle();
    for (int frame = 0; frame < 60; ++frame) {
        Run();
        EXPECT_NEAR(right.GetSpinAngle() - lastRight, -1000.0f * kDt, 0.01f);
        EXPECT_EQ(right.GetRotationAngle(), right.GetSpinAngle());
        EXPECT_GT(left.GetSpinAngle(), 0.0f);
        EXPECT_LE(left.GetSpinAngle(), 360.0f);
        lastRight = right.GetSpinAngle();
    }
    EXPECT_LT(right.GetSpinAngle(), -1000.0f);
}

// A straight shot explodes on a ground tile or on an open player, and then
// drifts up and left until its explosion has played; through an
// invulnerable player it falls untouched onto the ground below.
TEST_F(ProjectileTest, AShotExplodesOnTheGroundOrAnOpenPlayerAndPassesABlinkingOne) {
    struct Case {
        const char* name;
        float besidePlayer;
        float invulnerable;
        // Where it stops, for a shot dropped onto the player.
        std::optional<bool> stopsAbovePlayersMiddle;
        float cost;
    };
    for (const Case& c : {Case{"ground", 300.0f, 0.0f, std::nullopt, 0.0f}, Case{"open player", 0.0f, 0.0f, true, 0.05f},
                          Case{"blinking player", 0.0f, 5.0f, false, 0.0f}}) {
        SCOPED_TRACE(c.name);
        GameLevel& stage = EnterQuietStage();
        Run(30);
        auto& player = dynamic_cast<GamePlayer&>(*stage.GetPlayer());
        player.SetInvulnerableTime(c.invulnerable);
        const Vector2D above = player.GetPosition() + Vector2D{c.besidePlayer, 100.0f};
        Core::RefPtr<Projectile> shot(CreateProjectile(Projectile::kStraight, above, Vector2D{0.0f, -10.0f}));
        const float health = stage.GetHealth();
        ASSERT_TRUE(RunUntil([&shot] { return shot->IsPlaying(); }, 120));
        EXPECT_NEAR(health - stage.GetHealth(), c.cost, 1e-6f);
        if (c.stopsAbovePlayersMiddle) {
            EXPECT_EQ(shot->GetPositionY() > player.GetPositionY(), *c.stopsAbovePlayersMiddle);
        }
        Vector2D velocity;
        ASSERT_TRUE(shot->GetVelocity(velocity));
        EXPECT_EQ(velocity, (Vector2D{0.0f, 0.0f}));
        int frames = 0;
        while (!shot->IsDestroyRequested() && frames < 60) {
            const Vector2D before = shot->GetPosition();
            Run();
            ++frames;
            if (!shot->IsDestroyRequested()) {
                EXPECT_NEAR(shot->GetPositionX() - before.x, -100.0f * kDt, 1e-3f);
                EXPECT_NEAR(shot->GetPositionY() - before.y, 25.0f * kDt, 1e-3f);
            }
        }
        EXPECT_TRUE(shot->IsDestroyRequested());
        EXPECT_FALSE(shot->GetVisible());
        EXPECT_NEAR(health - stage.GetHealth(), c.cost, 1e-6f);
    }
}

}  // namespace
