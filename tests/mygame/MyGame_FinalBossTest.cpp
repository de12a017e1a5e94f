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

#include <set>
#include <utility>
#include <vector>

namespace mygametest {
namespace {

constexpr std::uint32_t kFinalStage = 8;
constexpr float kStep = 1e-5f;

// A part's shot as first seen, with its part's opacity before and after
// that frame and the part's frame.
struct Shot {
    int frame;
    std::int32_t kind;
    Vector2D position;
    Vector2D velocity;
    float z;
    bool flipped;
    float partOpacityBefore;
    float partOpacityAfter;
    int partFrame;
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

    SkyGradient* Sky() { return Find<SkyGradient>("SkyGradient"); }
    Tundra::Sprite& Part(const char* name) { return *Find<Tundra::Sprite>(name); }
    Tundra::Sprite* PartOf(std::int32_t kind) {
        return Find<Tundra::Sprite>(kind == BossProjectile::kLeftFadingShot ? "UnknownLeft" : "UnknownRight");
    }

    // Frames of the fight without teleports, each part's new shots noted.
    void FightFrames(UnknownBoss& boss, int frames) {
        for (int frame = 0; frame < frames; ++frame) {
            UnknownBossTestAccess::RestartTeleportRest(boss);
            const float before[] = {Part("UnknownLeft").GetOpacity(), Part("UnknownRight").GetOpacity()};
            Step();
            NoteNewShots(m_frame++, before);
        }
    }

    void NoteNewShots(int frame, const float (&partOpacities)[2]) {
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
            const bool left = shot->GetKind() == BossProjectile::kLeftFadingShot;
            const Tundra::Sprite* part = PartOf(shot->GetKind());
            m_shots.push_back({frame, shot->GetKind(), shot->GetPosition(), velocity, shot->GetZOrder(),
                               shot->GetFlipHorizontal(), partOpacities[left ? 0 : 1], part->GetOpacity(),
                               part->GetCurrentFrameIndex()});
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

    static void Kill(UnknownBoss& boss, std::uint32_t weapon) {
        boss.SetHealth(0.001f);
        boss.TakeDamage(1.0f, static_cast<std::int32_t>(weapon));
    }

    int m_frame = 0;
    std::set<std::uint32_t> m_seen;
    std::vector<Shot> m_shots;
};

// The opening: a fade of 0.01 a frame while it glides in, the sky's colour
// (not its alpha) falling to 0.8, and nothing of the fight meanwhile.
TEST_F(FinalBossTest, FadesInWhileGlidingInAndDarkensTheSkyKeepingItsAlpha) {
    UnknownBoss& boss = CallBossIn();
    ASSERT_TRUE(boss.IsActive());
    const float offset = static_cast<float>(boss.GetVerticalOffset());
    int frames = 1;
    float opacity = boss.GetOpacity();
    float x = boss.GetPositionX();
    while (!boss.IsOpeningDone() && frames < 300) {
        const float before[] = {1.0f, 1.0f};
        Step();
        NoteNewShots(++frames, before);
        if (opacity < 1.0f) {
            EXPECT_NEAR(boss.GetOpacity() - opacity, 0.01f, kStep) << "frame " << frames;
        }
        EXPECT_LE(x - boss.GetPositionX(), 4.0f);
        EXPECT_EQ(Sky()->GetModulationColor().a, 1.0f);
        opacity = boss.GetOpacity();
        x = boss.GetPositionX();
    }
    ASSERT_TRUE(boss.IsOpeningDone());
    EXPECT_GE(frames, 101);
    EXPECT_TRUE(m_shots.empty());
    EXPECT_EQ(boss.GetPositionX(), 900.0f);
    EXPECT_EQ(boss.GetPositionY(), offset + 217.0f);
    EXPECT_EQ(Part("BossHPBar").GetPositionY(), offset + 517.0f);
    EXPECT_EQ(Part("BossHP").GetPositionY(), offset + 513.0f);
    EXPECT_EQ(Find<BossHp>("BossHP")->GetAnchorX(), 900.0f);
    const Color sky = Sky()->GetModulationColor();
    EXPECT_LE(sky.r, 0.8f);
    EXPECT_GT(sky.r, 0.8f - 0.015f);
    EXPECT_EQ(sky.b, sky.r);
}

// Each part rests, charges and fires at the player on its own timer, unseen
// as it fires and faded back in before it fires again; from half health
// (exactly half included) both fire faster, their depths swap and the sky
// darkens further.
TEST_F(FinalBossTest, PartsFireOnTheirOwnTimersFasterFromHalfHealth) {
    struct Row {
        float health;
        int leftInterval;
        int rightInterval;
        float leftDepth;
        float rightDepth;
        float partFadeIn;
        float skyRed;
        int frames;
    };
    for (const Row& row : {Row{1.0f, 150, 180, 3.31f, 3.11f, 0.02f, 0.8f, 310},
                           Row{0.5f, 63, 99, 3.11f, 3.31f, 0.04f, 0.1f, 230}}) {
        SCOPED_TRACE(row.health);
        m_seen.clear();
        m_shots.clear();
        UnknownBoss& boss = StartFight();
        HoldHealth();
        boss.SetHealth(row.health);
        FightFrames(boss, row.frames);
        for (const std::int32_t kind : {BossProjectile::kLeftFadingShot, BossProjectile::kRightFadingShot}) {
            const int expected = kind == BossProjectile::kLeftFadingShot ? row.leftInterval : row.rightInterval;
            const std::vector<int> intervals = Intervals(kind);
            ASSERT_FALSE(intervals.empty()) << kind;
            for (int interval : intervals) {
                EXPECT_NEAR(interval, expected, 2) << kind;
            }
        }
        const Vector2D player = Stage()->GetPlayer()->GetPosition();
        for (const Shot& shot : m_shots) {
            const bool left = shot.kind == BossProjectile::kLeftFadingShot;
            EXPECT_NEAR(shot.velocity.Length(), 40.0f, 1e-3f);
            EXPECT_LT(shot.velocity.x, 0.0f);
            EXPECT_GT(shot.position.x, player.x);
            EXPECT_EQ(shot.z, left ? row.leftDepth : row.rightDepth);
            EXPECT_FALSE(shot.flipped);
            EXPECT_EQ(shot.partOpacityBefore, 1.0f);
            EXPECT_EQ(shot.partOpacityAfter, row.partFadeIn);
            EXPECT_EQ(shot.partFrame, 1);
        }
        const Color sky = Sky()->GetModulationColor();
        EXPECT_LE(sky.r, row.skyRed);
        EXPECT_GT(sky.r, row.skyRed - 0.015f);
        EXPECT_EQ(sky.a, 1.0f);
    }
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
    const float before[] = {1.0f, 1.0f};
    // Out at 0.04 a frame, across, then in at 0.02 a frame; the frame that
    // makes it opaque is a frame of the fight.
    for (int frame = 0; frame < 200; ++frame) {
        HoldPlayerAt(held);
        Step();
        NoteNewShots(frame, before);
        if (boss.GetOpacity() >= 1.0f) {
            break;
        }
        if (boss.IsFadingOut()) {
            EXPECT_NEAR(opacity - boss.GetOpacity(), 0.04f, kStep);
        } else if (boss.GetPositionX() == held.x) {
            EXPECT_NEAR(boss.GetOpacity() - opacity, 0.02f, kStep);
            EXPECT_EQ(boss.GetPositionY(), held.y);
        } else {
            EXPECT_EQ(boss.GetPositionX(), 124.0f);
            EXPECT_EQ(boss.GetPositionY(), offset + 217.0f);
            EXPECT_EQ(boss.GetSide(), UnknownBoss::kLeftSide);
            EXPECT_EQ(boss.GetHome().x, 194.0f);
            EXPECT_EQ(boss.GetHome().y, 430.0f);
            EXPECT_TRUE(boss.GetFlipHorizontal());
            for (const auto& [name, x] : {std::pair{"UnknownEye", 178.0f}, {"UnknownLeft", 214.0f},
                                          {"UnknownRight", 144.0f}}) {
                EXPECT_EQ(Part(name).GetPositionX(), x) << name;
                EXPECT_TRUE(Part(name).GetFlipHorizontal()) << name;
            }
            // On the left the right part is drawn in front of the left one.
            EXPECT_GT(Part("UnknownRight").GetZOrder(), Part("UnknownLeft").GetZOrder());
            held = boss.GetPosition();
        }
        EXPECT_EQ(Stage()->GetHealth(), health);
        opacity = boss.GetOpacity();
    }
    EXPECT_EQ(boss.GetSide(), UnknownBoss::kLeftSide);
    EXPECT_TRUE(m_shots.empty());

    // Opaque again: it circles and costs 0.01 a frame while touched.
    for (int i = 0; i < 10; ++i) {
        HoldPlayerAt(boss.GetPosition());
        Step();
    }
    EXPECT_NEAR(Stage()->GetHealth(), health - 0.11f, 0.011f);
    EXPECT_NE(boss.GetPositionY(), held.y);
}

// Killed (burning), it plays its dying animations, hides eye and bar and
// burns no more; it fades at 0.006 a frame while the sky brightens back,
// then clears the stage and hides; the results count its bonus of 300.
TEST_F(FinalBossTest, DyingFadesOutWhileTheSkyBrightensThenClearsTheStage) {
    UnknownBoss& boss = StartFight();
    HoldHealth();
    boss.SetHealth(0.5f);
    ASSERT_TRUE(RunUntil([this] { return Sky()->GetModulationColor().r <= 0.1f; }, 120));
    boss.SetOnFire();
    Kill(boss, WeaponSprite::kFlameThrower);
    EXPECT_EQ(boss.GetHealth(), 0.0f);
    EXPECT_EQ(boss.GetDebuff(), nullptr);
    // Nothing lights the dead body again.
    boss.SetOnFire();
    for (Tundra::Sprite* sprite : {static_cast<Tundra::Sprite*>(&boss), &Part("UnknownLeft"), &Part("UnknownRight")}) {
        EXPECT_EQ(sprite->GetCurrentAnimationIndex(), 1) << sprite->GetName().c_str();
    }
    for (const char* name : {"UnknownEye", "BossHPBar", "BossHP"}) {
        EXPECT_FALSE(Part(name).GetVisible()) << name;
    }
    float opacity = boss.GetOpacity();
    for (int frame = 0; frame < 400 && !Stage()->IsCleared(); ++frame) {
        Step();
        EXPECT_EQ(boss.GetDebuff(), nullptr);
        if (opacity > 0.0f) {
            EXPECT_NEAR(opacity - boss.GetOpacity(), 0.006f, kStep);
        }
        EXPECT_EQ(Sky()->GetModulationColor().a, 1.0f);
        opacity = boss.GetOpacity();
    }
    ASSERT_TRUE(Stage()->IsCleared());
    EXPECT_LE(boss.GetOpacity(), 0.0f);
    EXPECT_GE(Sky()->GetModulationColor().r, 1.0f);
    for (Tundra::Sprite* sprite : {static_cast<Tundra::Sprite*>(&boss), &Part("UnknownLeft"), &Part("UnknownRight")}) {
        EXPECT_FALSE(sprite->GetVisible()) << sprite->GetName().c_str();
    }

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
    FightFrames(boss, 120);
    EXPECT_FALSE(m_shots.empty());
    Kill(boss, WeaponSprite::kRifle);
    EXPECT_TRUE(RunUntil([this] { return Stage()->IsCleared(); }, 200));
}

// A fight saved below half health and loaded into a fresh game goes on:
// the parts, the bar and the sky are found again by name.
TEST_F(FinalBossTest, ALoadedFightFindsItsPartsBarAndSkyAgain) {
    StartFight().SetHealth(0.5f);
    Save("fight");
    EndGame();
    ASSERT_TRUE(EnterStage(kFinalStage, kSeed + 1));
    Load("fight");
    auto* boss = dynamic_cast<UnknownBoss*>(Stage()->GetBoss());
    ASSERT_NE(boss, nullptr);
    EXPECT_TRUE(boss->IsOpeningDone());
    const float skyRed = Sky()->GetModulationColor().r;
    FightFrames(*boss, 120);
    EXPECT_FALSE(m_shots.empty());
    EXPECT_LT(Sky()->GetModulationColor().r, skyRed);
    boss->TakeDamage(1.0f, static_cast<std::int32_t>(WeaponSprite::kRifle));
    EXPECT_EQ(Find<BossHp>("BossHP")->GetHealth(), boss->GetHealth());
}

}  // namespace
}  // namespace mygametest
