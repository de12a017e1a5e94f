#include "mygame/MyGame.h"
#include "mygame/MyGame_BossHp.h"
#include "mygame/MyGame_BossProjectile.h"
#include "mygame/MyGame_GameLevel.h"
#include "mygame/MyGame_MyLevelFactory.h"
#include "mygame/MyGame_Player.h"
#include "mygame/MyGame_SkyGradient.h"
#include "mygame/MyGame_UnknownBoss.h"
#include "mygame/MyGame_UnknownBossTestHooks.h"
#include "mygame/MyGame_WeaponSprite.h"
#include "support/MyGame_StageStreamFixture.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <vector>

namespace mygametest {
namespace {

constexpr std::uint32_t kFinalStage = 8;
constexpr float kStep = 1e-5f;

// A shot of a part, as first seen.
struct Shot {
    int frame;
    std::int32_t kind;
    Vector2D position;
    Vector2D velocity;
    float z;
    bool flipped;
};

class FinalBossTest : public StageStreamFixture {
protected:
    // The last stage run to its boss, which has just been called in.
    UnknownBoss& CallBossIn() {
        auto* boss = dynamic_cast<UnknownBoss*>(EnterBossFight(kFinalStage));
        EXPECT_NE(boss, nullptr);
        return *boss;
    }

    // Called in and through its opening.
    UnknownBoss& StartFight() {
        UnknownBoss& boss = CallBossIn();
        EXPECT_TRUE(RunUntil([&boss] { return boss.IsOpeningDone(); }, 300));
        return boss;
    }

    SkyGradient& Sky() { return *Find<SkyGradient>("SkyGradient"); }
    Tundra::Sprite& Part(const char* name) { return *Find<Tundra::Sprite>(name); }

    // Boss shots of kinds 4 and 5 not seen before, noted with the frame.
    void NoteNewShots(int frame) {
        std::vector<Tundra::GameObject*> objects;
        const Core::String name("BossProjTemplate");
        GetGame()->GetCurrentLevel()->GetGameObjects(&name, objects);
        for (Tundra::GameObject* object : objects) {
            auto* shot = dynamic_cast<BossProjectile*>(object);
            if (shot == nullptr || shot->GetKind() < BossProjectile::kLeftFadingShot ||
                !m_seen.insert(shot->GetID()).second) {
                continue;
            }
            Vector2D velocity;
            shot->GetVelocity(velocity);
            m_shots.push_back(
                {frame, shot->GetKind(), shot->GetPosition(), velocity, shot->GetZOrder(), shot->GetFlipHorizontal()});
        }
    }

    // Frames between a kind's shots.
    std::vector<int> Intervals(std::int32_t kind) const {
        std::vector<int> intervals;
        int last = -1;
        for (const Shot& shot : m_shots) {
            if (shot.kind == kind) {
                if (last >= 0) {
                    intervals.push_back(shot.frame - last);
                }
                last = shot.frame;
            }
        }
        return intervals;
    }

    // The player sits on the point (its own step and the physics move it
    // only a little before the collision step).
    void HoldPlayerAt(const Vector2D& point) {
        Player* player = Stage()->GetPlayer();
        player->SetPosition(point);
        player->SetOldPosition(point);
        player->SetVelocity({0.0f, 0.0f});
    }

    std::set<std::uint32_t> m_seen;
    std::vector<Shot> m_shots;
};

// The opening: a fade of 0.01 a frame while it glides in, the sky's colour
// (not its alpha) falling to 0.8, and nothing of the fight meanwhile.
TEST_F(FinalBossTest, FadesInWhileGlidingInAndDarkensTheSkyKeepingItsAlpha) {
    UnknownBoss& boss = CallBossIn();
    ASSERT_TRUE(boss.IsActive());
    const float offset = static_cast<float>(boss.GetVerticalOffset());
    const float skyAlpha = Sky().GetModulationColor().a;
    int frames = 1;
    float opacity = boss.GetOpacity();
    Vector2D position = boss.GetPosition();
    while (!boss.IsOpeningDone() && frames < 300) {
        Step();
        ++frames;
        NoteNewShots(frames);
        if (opacity < 1.0f) {
            EXPECT_NEAR(boss.GetOpacity() - opacity, 0.01f, kStep) << "frame " << frames;
        }
        EXPECT_LE(position.x - boss.GetPositionX(), 4.0f + kStep);
        EXPECT_GE(position.x - boss.GetPositionX(), 0.0f);
        EXPECT_EQ(Sky().GetModulationColor().a, skyAlpha);
        EXPECT_EQ(Part("UnknownEye").GetOpacity(), boss.GetOpacity());
        opacity = boss.GetOpacity();
        position = boss.GetPosition();
    }
    ASSERT_TRUE(boss.IsOpeningDone());
    EXPECT_GE(frames, 101);
    EXPECT_TRUE(m_shots.empty());
    EXPECT_EQ(boss.GetPosition().x, 900.0f);
    EXPECT_EQ(boss.GetPosition().y, offset + 217.0f);
    EXPECT_EQ(Part("BossHPBar").GetPosition().y, offset + 517.0f);
    const auto* bar = Find<BossHp>("BossHP");
    EXPECT_EQ(bar->GetPosition().y, offset + 513.0f);
    EXPECT_EQ(bar->GetAnchorX(), 900.0f);
    const Color sky = Sky().GetModulationColor();
    EXPECT_LE(sky.r, 0.8f);
    EXPECT_GT(sky.r, 0.8f - 0.015f);
    EXPECT_EQ(sky.g, sky.r);
    EXPECT_EQ(sky.a, skyAlpha);
    Step();
    EXPECT_FALSE(boss.IsTeleporting());
}

// Each part rests, charges and fires at the player on its own timer; below
// half health (exactly half included) both fire faster, the depths swap
// and the sky darkens further.
TEST_F(FinalBossTest, PartsFireOnTheirOwnTimersFasterFromHalfHealth) {
    struct Row {
        float health;
        int leftInterval;
        int rightInterval;
        float leftDepth;
        float rightDepth;
        float skyRed;
        int frames;
    };
    for (const Row& row : {Row{1.0f, 150, 180, 3.31f, 3.11f, 0.8f, 490},
                           Row{0.5f, 63, 99, 3.11f, 3.31f, 0.1f, 330}}) {
        SCOPED_TRACE(row.health);
        m_seen.clear();
        m_shots.clear();
        UnknownBoss& boss = StartFight();
        HoldHealth();
        boss.SetHealth(row.health);
        for (int frame = 0; frame < row.frames; ++frame) {
            UnknownBossTestAccess::RestartTeleportRest(boss);
            Step();
            NoteNewShots(frame);
        }
        for (const std::int32_t kind : {BossProjectile::kLeftFadingShot, BossProjectile::kRightFadingShot}) {
            const int expected = kind == BossProjectile::kLeftFadingShot ? row.leftInterval : row.rightInterval;
            const std::vector<int> intervals = Intervals(kind);
            ASSERT_GE(intervals.size(), 2u) << kind;
            for (int interval : intervals) {
                EXPECT_NEAR(interval, expected, 2) << kind;
            }
        }
        const Vector2D player = Stage()->GetPlayer()->GetPosition();
        for (const Shot& shot : m_shots) {
            const bool left = shot.kind == BossProjectile::kLeftFadingShot;
            EXPECT_NEAR(shot.velocity.Length(), 40.0f, 1e-3f);
            EXPECT_LT(shot.velocity.x, 0.0f);
            EXPECT_EQ(shot.z, left ? row.leftDepth : row.rightDepth);
            EXPECT_FALSE(shot.flipped);
            EXPECT_GT(shot.position.x, player.x);
        }
        const Color sky = Sky().GetModulationColor();
        EXPECT_LE(sky.r, row.skyRed);
        EXPECT_GT(sky.r, row.skyRed - 0.015f);
        EXPECT_EQ(sky.a, 1.0f);
    }
}

// A part that fired is unseen, then fades back in before its next shot.
TEST_F(FinalBossTest, APartThatFiredFadesBackIn) {
    UnknownBoss& boss = StartFight();
    HoldHealth();
    Tundra::Sprite& right = Part("UnknownRight");
    int frame = 0;
    for (; frame < 200 && m_shots.empty(); ++frame) {
        UnknownBossTestAccess::RestartTeleportRest(boss);
        Step();
        NoteNewShots(frame);
    }
    ASSERT_FALSE(m_shots.empty());
    Tundra::Sprite& fired = m_shots.front().kind == BossProjectile::kLeftFadingShot ? Part("UnknownLeft") : right;
    // Unseen as it fires, it starts fading in within the same frame.
    EXPECT_EQ(fired.GetOpacity(), 0.02f);
    EXPECT_EQ(fired.GetCurrentFrameIndex(), 1);
    float opacity = fired.GetOpacity();
    for (int i = 0; i < 48; ++i) {
        UnknownBossTestAccess::RestartTeleportRest(boss);
        Step();
        EXPECT_NEAR(fired.GetOpacity() - opacity, 0.02f, kStep);
        opacity = fired.GetOpacity();
    }
    EXPECT_TRUE(RunUntil([&] { return fired.GetOpacity() == 1.0f; }, 3));
}

// Teleports come only after 4 s at full opacity; the boss fades out,
// reappears on the other side facing the other way and fades back in, and
// while it is not fully opaque it neither circles, fires nor hurts.
TEST_F(FinalBossTest, TeleportsAcrossAfterARestAndIsHarmlessWhileFaded) {
    UnknownBoss& boss = StartFight();
    const float offset = static_cast<float>(boss.GetVerticalOffset());
    const float radius = (boss.GetPosition() - boss.GetHome()).Length();
    int frames = 0;
    while (!boss.IsFadingOut() && frames < 2000) {
        Step();
        ++frames;
        EXPECT_NEAR((boss.GetPosition() - boss.GetHome()).Length(), radius, 1.0f);
    }
    ASSERT_TRUE(boss.IsFadingOut());
    EXPECT_GT(frames, 240);
    EXPECT_EQ(boss.GetOpacity(), 1.0f);

    // Shots in the air go: only the body could hurt now.
    std::vector<Tundra::GameObject*> shots;
    const Core::String shotName("BossProjTemplate");
    GetGame()->GetCurrentLevel()->GetGameObjects(&shotName, shots);
    for (Tundra::GameObject* shot : shots) {
        shot->Destroy();
    }
    const float health = Stage()->GetHealth();
    Vector2D held = boss.GetPosition();
    float opacity = boss.GetOpacity();
    int frame = 0;
    while (boss.IsFadingOut() && frame < 100) {
        HoldPlayerAt(held);
        Step();
        NoteNewShots(++frame);
        if (boss.IsFadingOut()) {
            EXPECT_NEAR(opacity - boss.GetOpacity(), 0.04f, kStep);
            EXPECT_EQ(boss.GetPosition().x, held.x);
        }
        opacity = boss.GetOpacity();
    }
    EXPECT_EQ(boss.GetPositionX(), 124.0f);
    EXPECT_EQ(boss.GetPositionY(), offset + 217.0f);
    EXPECT_EQ(boss.GetSide(), UnknownBoss::kLeftSide);
    EXPECT_EQ(boss.GetHome().x, 194.0f);
    EXPECT_EQ(boss.GetHome().y, 430.0f);
    EXPECT_TRUE(boss.GetFlipHorizontal());
    EXPECT_EQ(Part("UnknownEye").GetPositionX(), 178.0f);
    EXPECT_TRUE(Part("UnknownEye").GetFlipHorizontal());
    EXPECT_EQ(Part("UnknownLeft").GetPositionX(), 214.0f);
    EXPECT_EQ(Part("UnknownLeft").GetZOrder(), 3.1f);
    EXPECT_EQ(Part("UnknownRight").GetPositionX(), 144.0f);
    EXPECT_EQ(Part("UnknownRight").GetZOrder(), 3.3f);
    EXPECT_TRUE(Part("UnknownRight").GetFlipHorizontal());

    held = boss.GetPosition();
    // The frame that makes it opaque is a frame of the fight.
    while (frame < 200) {
        HoldPlayerAt(held);
        Step();
        NoteNewShots(++frame);
        if (boss.GetOpacity() >= 1.0f) {
            break;
        }
        EXPECT_NEAR(boss.GetOpacity() - opacity, 0.02f, kStep);
        EXPECT_EQ(boss.GetPosition().x, held.x);
        EXPECT_EQ(boss.GetPosition().y, held.y);
        EXPECT_EQ(Stage()->GetHealth(), health);
        opacity = boss.GetOpacity();
    }
    EXPECT_TRUE(m_shots.empty());

    // Opaque again: it circles and costs 0.01 a frame while touched.
    for (int i = 0; i < 10; ++i) {
        HoldPlayerAt(boss.GetPosition());
        Step();
    }
    EXPECT_NEAR(Stage()->GetHealth(), health - 0.11f, 0.011f);
    EXPECT_NE(boss.GetPosition().y, held.y);
}

// Killed (burning), it plays its dying animations, hides eye and bar and
// burns no more; it fades at 0.006 a frame while the sky brightens back,
// then clears the stage and hides; the results count its bonus of 300.
TEST_F(FinalBossTest, DyingFadesOutWhileTheSkyBrightensThenClearsTheStage) {
    UnknownBoss& boss = StartFight();
    HoldHealth();
    boss.SetHealth(0.5f);
    ASSERT_TRUE(RunUntil([this] { return Sky().GetModulationColor().r <= 0.1f; }, 120));
    boss.SetOnFire();
    boss.SetHealth(0.001f);
    boss.TakeDamage(1.0f, static_cast<std::int32_t>(WeaponSprite::kFlameThrower));
    EXPECT_EQ(boss.GetHealth(), 0.0f);
    EXPECT_EQ(boss.GetDebuff(), nullptr);
    // The flame lights the body again in the frame of the killing hit.
    boss.SetOnFire();
    for (const char* name : {"UnknownLeft", "UnknownRight"}) {
        EXPECT_EQ(Part(name).GetCurrentAnimationIndex(), 1) << name;
    }
    EXPECT_EQ(boss.GetCurrentAnimationIndex(), 1);
    for (const char* name : {"UnknownEye", "BossHPBar", "BossHP"}) {
        EXPECT_FALSE(Part(name).GetVisible()) << name;
    }
    float opacity = boss.GetOpacity();
    int frames = 0;
    while (!Stage()->IsCleared() && frames < 400) {
        Step();
        ++frames;
        EXPECT_EQ(boss.GetDebuff(), nullptr);
        if (opacity > 0.0f) {
            EXPECT_NEAR(opacity - boss.GetOpacity(), 0.006f, kStep);
        }
        EXPECT_EQ(Sky().GetModulationColor().a, 1.0f);
        opacity = boss.GetOpacity();
    }
    ASSERT_TRUE(Stage()->IsCleared());
    EXPECT_LE(boss.GetOpacity(), 0.0f);
    EXPECT_GE(Sky().GetModulationColor().r, 1.0f);
    EXPECT_FALSE(boss.GetVisible());
    EXPECT_FALSE(Part("UnknownLeft").GetVisible());
    EXPECT_FALSE(Part("UnknownRight").GetVisible());

    // A click completes a story line, the next one moves on.
    const std::int32_t drops = Stage()->GetDrops();
    for (int i = 0; i < 100 && !Stage()->AreResultsShowing(); ++i) {
        Tap(os::VK_LBUTTON);
        Step();
    }
    ASSERT_TRUE(Stage()->AreResultsShowing());
    EXPECT_EQ(Stage()->GetDrops(), drops + 300);
}

// Content without its eye, its bar and the sky: the boss still comes in,
// fires, dies and clears the stage.
TEST_F(FinalBossTest, WithoutEyeBarAndSkyItStillFightsAndClearsTheStage) {
    AlsoBuild(MyLevelFactory::kWorldLayer, [](const LayerBuild& build) {
        std::vector<Tundra::GameObject*> objects;
        for (const char* name : {"UnknownEye", "BossHP", "BossHPBar", "SkyGradient"}) {
            build.layer.GetGameObjectsByName(name, objects);
            for (Tundra::GameObject* object : objects) {
                object->SetName("Missing");
            }
        }
    });
    UnknownBoss& boss = StartFight();
    HoldHealth();
    boss.SetHealth(0.5f);
    for (int frame = 0; frame < 120; ++frame) {
        UnknownBossTestAccess::RestartTeleportRest(boss);
        Step();
        NoteNewShots(frame);
    }
    EXPECT_FALSE(m_shots.empty());
    boss.SetHealth(0.001f);
    boss.TakeDamage(1.0f, static_cast<std::int32_t>(WeaponSprite::kRifle));
    EXPECT_TRUE(RunUntil([this] { return Stage()->IsCleared(); }, 200));
}

// A fight saved below half health and loaded into a fresh game goes on:
// the parts, the bar and the sky are found again by name.
TEST_F(FinalBossTest, ALoadedFightFindsItsPartsBarAndSkyAgain) {
    UnknownBoss& saved = StartFight();
    saved.SetHealth(0.5f);
    const Vector2D home = saved.GetHome();
    Save("fight");
    EndGame();
    ASSERT_TRUE(EnterStage(kFinalStage, kSeed + 1));
    Load("fight");
    auto* boss = dynamic_cast<UnknownBoss*>(Stage()->GetBoss());
    ASSERT_NE(boss, nullptr);
    EXPECT_TRUE(boss->IsOpeningDone());
    EXPECT_EQ(boss->GetHome().x, home.x);
    const float skyRed = Sky().GetModulationColor().r;
    for (int frame = 0; frame < 120; ++frame) {
        UnknownBossTestAccess::RestartTeleportRest(*boss);
        Step();
        NoteNewShots(frame);
    }
    EXPECT_FALSE(m_shots.empty());
    EXPECT_LT(Sky().GetModulationColor().r, skyRed);
    boss->TakeDamage(1.0f, static_cast<std::int32_t>(WeaponSprite::kRifle));
    EXPECT_EQ(Find<BossHp>("BossHP")->GetHealth(), boss->GetHealth());
}

}  // namespace
}  // namespace mygametest
