#include "math/Math_Vector2D.h"
#include "mygame/MyGame_BearBoss.h"
#include "mygame/MyGame_BearBossTestHooks.h"
#include "mygame/MyGame_BossHp.h"
#include "mygame/MyGame_BossProjectile.h"
#include "mygame/MyGame_DialogText.h"
#include "mygame/MyGame_GameLevel.h"
#include "mygame/MyGame_GamePlayer.h"
#include "mygame/MyGame_MyLevelFactory.h"
#include "support/MyGame_StageFixture.h"
#include "tundra/Tundra_GameObject.h"
#include "tundra/Tundra_Layer.h"
#include "tundra/Tundra_Level.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <numbers>
#include <set>
#include <vector>

namespace mygametest {
namespace {

constexpr std::uint32_t kBearStage = 2;
constexpr int kFightFrameLimit = 1200;

// A boss shot as it was first seen, at the end of the frame it was made in.
struct ShotSeen {
    std::int32_t kind;
    Vector2D position;
    Vector2D home;
    Vector2D velocity;
    bool playing;
    bool looping;
};

// One attack from its start until the machine rests in "Idle" again.
struct AttackSeen {
    // States in the order entered, "Idle" last.
    std::vector<std::int32_t> states;
    std::vector<ShotSeen> shots;
    // Frames the arms were held at -180 or below before the strike.
    int framesHeldDown = 0;
    float lowestArm = 0.0f;
};

std::vector<ShotSeen> ShotsOfKind(const std::vector<ShotSeen>& shots, std::int32_t kind) {
    std::vector<ShotSeen> found;
    for (const ShotSeen& shot : shots) {
        if (shot.kind == kind) {
            found.push_back(shot);
        }
    }
    return found;
}

// Updated after every object the stage made before it, ahead of the physics
// step: it sees what they left for the step.
class FrameProbe : public Tundra::GameObject {
    TUN_DECLARE_CLASS(FrameProbe);
    FrameProbe() = default;
    FrameProbe(const FrameProbe&) = default;
    void Update(float) override {
        if (onUpdate) {
            onUpdate();
        }
    }
    std::function<void()> onUpdate;
};
TUN_DEFINE_CLASS_NAMED(FrameProbe, "BearTestFrameProbe")

float Degrees(const Vector2D& v) { return std::atan2(v.y, v.x) * 180.0f / std::numbers::pi_v<float>; }

class BearTest : public StageFixture {
protected:
    // The Bear called in on its stage, or null.
    BearBoss* CallBearIn() { return dynamic_cast<BearBoss*>(EnterBossFight(kBearStage)); }

    // The opening played out: the boss stands and the fight starts with the
    // next frame.
    bool PlayOpening(const BearBoss& bear) {
        return RunUntil([&bear] { return bear.IsOpeningDone(); }, kFightFrameLimit).has_value();
    }

    std::vector<BossProjectile*> Shots() const {
        std::vector<Tundra::GameObject*> objects;
        Stage()->GetLayer(MyLevelFactory::kWorldLayer)->GetGameObjectsByName("BossProjTemplate", objects);
        std::vector<BossProjectile*> shots;
        for (Tundra::GameObject* object : objects) {
            if (auto* shot = dynamic_cast<BossProjectile*>(object); shot != nullptr && !shot->IsDestroyRequested()) {
                shots.push_back(shot);
            }
        }
        return shots;
    }

    // Each shot not seen before, recorded once.
    void RecordNewShots(std::set<std::uint32_t>& known, std::vector<ShotSeen>& out) const {
        for (BossProjectile* shot : Shots()) {
            if (known.insert(shot->GetID()).second) {
                Vector2D velocity;
                shot->GetVelocity(velocity);
                out.push_back({shot->GetKind(), shot->GetPosition(), shot->GetHomePosition(), velocity,
                               shot->IsPlaying(), shot->GetLoop()});
            }
        }
    }

    // Starts the attack and steps until the machine is back in "Idle"; the
    // boss then waits until a case starts it again.
    AttackSeen RunAttack(BearBoss& bear, BearBoss::AttackChoice choice) {
        AttackSeen seen;
        std::set<std::uint32_t> known;
        for (BossProjectile* shot : Shots()) {
            known.insert(shot->GetID());
        }
        BearBossTestAccess::Attack(bear, choice);
        RunUntil(
            [&] {
                const std::int32_t state = bear.GetMachine()->GetCurrent();
                if (seen.states.empty() || seen.states.back() != state) {
                    seen.states.push_back(state);
                }
                const float arm = std::max(bear.GetLeftArm()->GetRotationAngle(), bear.GetRightArm()->GetRotationAngle());
                seen.lowestArm = std::min(seen.lowestArm, arm);
                seen.framesHeldDown += state == BearBoss::kPrepAttack && arm <= -180.0f ? 1 : 0;
                RecordNewShots(known, seen.shots);
                return state == BearBoss::kIdle;
            },
            kFightFrameLimit);
        BearBossTestAccess::SetCooldown(bear, 1000.0f);
        return seen;
    }
};

TEST_F(BearTest, OpensWithThreeMarkersThenThreeColumnsThenStandsAndOnlyThenFights) {
    BearBoss* bear = CallBearIn();
    ASSERT_NE(bear, nullptr);
    ASSERT_TRUE(bear->IsActive());
    const float offset = bear->GetVerticalOffset();
    std::set<std::uint32_t> known;
    std::vector<ShotSeen> seen;
    RecordNewShots(known, seen);
    ASSERT_EQ(seen.size(), 3u);
    for (std::size_t i = 0; i < seen.size(); ++i) {
        EXPECT_EQ(seen[i].kind, BossProjectile::kWarningMarker);
        EXPECT_EQ(seen[i].home, Vector2D((std::array{900.0f, 1000.0f, 800.0f})[i], 600.0f));
    }
    int frame = 0;
    bool markersGoneBeforeColumns = false;
    while (!bear->IsOpeningDone() && frame < 120) {
        EXPECT_TRUE(bear->GetMachine()->IsFirstUpdate()) << "no attack during the opening";
        Step();
        ++frame;
        RecordNewShots(known, seen);
        markersGoneBeforeColumns |= Shots().empty();
    }
    // 1.0 s after the first frame, the markers having lasted 0.8 s.
    EXPECT_TRUE(frame == 59 || frame == 60) << frame;
    EXPECT_TRUE(markersGoneBeforeColumns);
    const std::vector<ShotSeen> columns = ShotsOfKind(seen, BossProjectile::kColumn);
    ASSERT_EQ(columns.size(), 3u);
    ASSERT_EQ(seen.size(), 6u);
    for (std::size_t i = 0; i < columns.size(); ++i) {
        EXPECT_EQ(columns[i].position, Vector2D((std::array{900.0f, 1000.0f, 800.0f})[i], 400.0f));
        EXPECT_TRUE(columns[i].playing && !columns[i].looping);
    }
    EXPECT_EQ(bear->GetPosition(), Vector2D(900.0f, offset + 217.0f));
    EXPECT_EQ(Find<Tundra::Sprite>("BossHPBar")->GetPosition(), Vector2D(900.0f, offset + 517.0f));
    EXPECT_EQ(Find<BossHp>("BossHP")->GetAnchorX(), 900.0f);
    EXPECT_TRUE(bear->GetMachine()->IsFirstUpdate());
    Step();
    EXPECT_FALSE(bear->GetMachine()->IsFirstUpdate());
    EXPECT_EQ(bear->GetMachine()->GetCurrent(), BearBoss::kIdle);
}

// Above half health an attack is one swing pair or one strike; at half
// health or less it is three of each.
TEST_F(BearTest, SwingsThrowPairsAndLightningStrikesWhereThePlayerStood) {
    BearBoss* bear = CallBearIn();
    ASSERT_NE(bear, nullptr);
    ASSERT_TRUE(PlayOpening(*bear));
    HoldHealth();
    Step();
    BearBossTestAccess::SetCooldown(*bear, 1000.0f);
    using B = BearBoss;
    const std::vector<std::int32_t> onePair{B::kForeSwing, B::kLeftSwing, B::kRightSwing, B::kBackToIdle, B::kIdle};
    const std::vector<std::int32_t> threePairs{B::kForeSwing,  B::kLeftSwing,  B::kRightSwing, B::kBackToIdle,
                                               B::kLeftSwing,  B::kRightSwing, B::kBackToIdle, B::kLeftSwing,
                                               B::kRightSwing, B::kBackToIdle, B::kIdle};
    const std::vector<std::int32_t> strike{B::kForeLight, B::kPrepAttack, B::kLightningAttack, B::kBackToIdle2,
                                           B::kIdle};
    struct Case {
        float health;
        B::AttackChoice attack;
        std::vector<std::int32_t> states;
        std::size_t shots;
        std::vector<float> strikeOffsets;
    };
    const Case cases[] = {
        {1.0f, B::kSwing, onePair, 2, {}},
        {0.51f, B::kLightning, strike, 0, {0.0f}},
        {0.5f, B::kSwing, threePairs, 6, {}},
        {0.5f, B::kLightning, strike, 0, {0.0f, 100.0f, -100.0f}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.health << " attack " << c.attack);
        bear->SetHealth(c.health);
        const AttackSeen seen = RunAttack(*bear, c.attack);
        EXPECT_EQ(seen.states, c.states);
        EXPECT_EQ(bear->GetSwingCount(), 0);
        EXPECT_FALSE(bear->AreArmsDangerous());
        EXPECT_EQ(bear->GetLeftArm()->GetRotationAngle(), 0.0f);
        const std::vector<ShotSeen> thrown = ShotsOfKind(seen.shots, BossProjectile::kFlyingShot);
        ASSERT_EQ(thrown.size(), c.shots);
        const Vector2D towardPlayer = Stage()->GetPlayer()->GetPosition() - bear->GetPosition();
        for (const ShotSeen& shot : thrown) {
            EXPECT_NEAR(Degrees(shot.velocity), Degrees(towardPlayer), 3.0f);
        }
        if (c.shots == 2) {
            // Left arm first and faster.
            EXPECT_NEAR(thrown[0].velocity.Length(), 40.0f, 1e-3f);
            EXPECT_NEAR(thrown[1].velocity.Length(), 20.0f, 1e-3f);
        }
        const std::vector<ShotSeen> markers = ShotsOfKind(seen.shots, BossProjectile::kWarningMarker);
        const std::vector<ShotSeen> columns = ShotsOfKind(seen.shots, BossProjectile::kColumn);
        ASSERT_EQ(markers.size(), c.strikeOffsets.size());
        ASSERT_EQ(columns.size(), c.strikeOffsets.size());
        if (c.attack != B::kLightning) {
            continue;
        }
        const float x = bear->GetStrikeTarget().x;
        EXPECT_NEAR(x, Stage()->GetPlayer()->GetPositionX(), 1.0f);
        for (std::size_t i = 0; i < markers.size(); ++i) {
            EXPECT_EQ(markers[i].home, Vector2D(x + c.strikeOffsets[i], 600.0f));
            EXPECT_EQ(columns[i].position, Vector2D(x + c.strikeOffsets[i], 400.0f));
            EXPECT_TRUE(columns[i].playing && !columns[i].looping);
        }
        EXPECT_LE(seen.lowestArm, -180.0f);
        EXPECT_GE(seen.framesHeldDown, 60) << "held a second";
    }
}

TEST_F(BearTest, ASeededFightUsesBothAttacks) {
    BearBoss* bear = CallBearIn();
    ASSERT_NE(bear, nullptr);
    HoldHealth();
    bool swung = false;
    bool struck = false;
    EXPECT_TRUE(RunUntil(
        [&] {
            swung |= bear->GetMachine()->GetCurrent() == BearBoss::kForeSwing;
            struck |= bear->GetMachine()->GetCurrent() == BearBoss::kForeLight;
            return swung && struck;
        },
        3000));
}

// A count of three pairs sends the arms to rest whatever the health.
TEST_F(BearTest, AfterThreePairsTheBearRestsAndCountsAgainFromZero) {
    BearBoss* bear = CallBearIn();
    ASSERT_NE(bear, nullptr);
    ASSERT_TRUE(PlayOpening(*bear));
    HoldHealth();
    Step();
    for (float health : {1.0f, 0.5f, 0.25f}) {
        SCOPED_TRACE(health);
        bear->SetHealth(health);
        BearBossTestAccess::SetSwingCount(*bear, 3);
        BearBossTestAccess::SetArmAngles(*bear, -75.0f, -75.0f);
        ASSERT_TRUE(BearBossTestAccess::GoTo(*bear, "BackToIdle"));
        std::vector<std::int32_t> states;
        RunUntil(
            [&] {
                states.push_back(bear->GetMachine()->GetCurrent());
                return states.back() == BearBoss::kIdle;
            },
            kFightFrameLimit);
        EXPECT_EQ(states.front(), BearBoss::kBackToIdle);
        EXPECT_EQ(states.back(), BearBoss::kIdle);
        EXPECT_EQ(std::count(states.begin(), states.end(), BearBoss::kLeftSwing), 0);
        EXPECT_EQ(bear->GetSwingCount(), 0);
        BearBossTestAccess::SetCooldown(*bear, 1000.0f);
    }
}

// No invulnerability holds the arms off: every frame of contact while an
// attack is under way costs 0.01 and throws the player back.
TEST_F(BearTest, TheArmsHurtAndPushBackOnEveryFrameOfContactOnlyWhileDangerous) {
    BearBoss* bear = CallBearIn();
    ASSERT_NE(bear, nullptr);
    ASSERT_TRUE(PlayOpening(*bear));
    Step();
    BearBossTestAccess::SetCooldown(*bear, 1000.0f);
    auto* player = dynamic_cast<GamePlayer*>(Stage()->GetPlayer());
    ASSERT_NE(player, nullptr);
    // The centre of the arm's circle, 126 below its pivot as the arm turns.
    const auto onArm = [&] {
        const Tundra::Sprite& arm = *bear->GetRightArm();
        const float turn = arm.GetRotationAngle() * std::numbers::pi_v<float> / 180.0f;
        const Vector2D circle = arm.GetPosition() + Vector2D(126.0f * std::sin(turn), -126.0f * std::cos(turn));
        // The player's own circle lies 14 below its position.
        player->SetOldPosition(circle + Vector2D(0.0f, 14.0f));
        player->SetPosition(circle + Vector2D(0.0f, 14.0f));
    };
    // The velocity the frame leaves to the physics step, whose contacts then
    // change it.
    Vector2D velocity;
    auto* probe = TUN_NEW(FrameProbe);
    probe->onUpdate = [&] { player->GetVelocity(velocity); };
    Stage()->GetLayer(MyLevelFactory::kWorldLayer)->AddGameObject(probe);
    for (const bool dangerous : {false, true}) {
        SCOPED_TRACE(dangerous);
        if (dangerous) {
            BearBossTestAccess::Attack(*bear, BearBoss::kSwing);
            ASSERT_TRUE(RunUntil([&] { return bear->GetRightArm()->GetRotationAngle() >= 45.0f; }, 60));
        }
        ASSERT_EQ(bear->AreArmsDangerous(), dangerous);
        onArm();
        Step();
        float health = Stage()->GetHealth();
        for (int frame = 0; frame < 5; ++frame) {
            onArm();
            Step();
            if (dangerous) {
                health -= 0.01f;
                EXPECT_EQ(velocity, Vector2D(-80.0f, 50.0f)) << frame;
                EXPECT_GT(player->GetInvulnerableTime(), 0.0f);
            } else {
                EXPECT_NE(velocity, Vector2D(-80.0f, 50.0f)) << frame;
            }
            EXPECT_EQ(Stage()->GetHealth(), health) << frame;
        }
    }
}

// Content without the arms and the boss bar: the machine reads back the
// angles it gave, so the Bear still attacks both ways, dies and clears the
// stage.
TEST_F(BearTest, WithoutArmsAndBarItStillFightsAndClearsTheStage) {
    AlsoBuild(MyLevelFactory::kWorldLayer, [](const LayerBuild& build) {
        std::vector<Tundra::GameObject*> objects;
        for (const char* name : {"BearLArm", "BearRArm", "BossHP", "BossHPBar"}) {
            build.layer.GetGameObjectsByName(name, objects);
            for (Tundra::GameObject* object : objects) {
                object->SetName("Missing");
            }
        }
    });
    BearBoss* bear = CallBearIn();
    ASSERT_NE(bear, nullptr);
    ASSERT_EQ(bear->GetLeftArm(), nullptr);
    HoldHealth();
    bool swung = false;
    bool struck = false;
    EXPECT_TRUE(RunUntil(
        [&] {
            const std::int32_t state = bear->GetMachine()->GetCurrent();
            swung |= state == BearBoss::kRightSwing;
            struck |= state == BearBoss::kLightningAttack;
            return swung && struck && state == BearBoss::kIdle;
        },
        3000));
    bear->SetHealth(0.0f);
    bear->OnHealthChanged();
    EXPECT_TRUE(RunUntil([this] { return Stage()->IsCleared(); }, 400));
}

TEST_F(BearTest, KilledItFadesForAHundredAndOneFramesThenHidesAndTheStageIsClearedWithItsBonus) {
    BearBoss* bear = CallBearIn();
    ASSERT_NE(bear, nullptr);
    ASSERT_TRUE(PlayOpening(*bear));
    HoldHealth();
    Step();
    ASSERT_EQ(bear->GetOpacity(), 1.0f);
    bear->SetOnFire();
    ASSERT_NE(bear->GetDebuff(), nullptr);
    bear->SetHealth(0.0f);
    bear->OnHealthChanged();
    EXPECT_EQ(bear->GetDebuff(), nullptr) << "the dying boss no longer ticks its burn";
    bear->SetOnFire();
    Step();
    EXPECT_EQ(bear->GetDebuff(), nullptr) << "nor one a flame gives it while it dies";
    EXPECT_EQ(bear->GetCurrentAnimationIndex(), 2);
    EXPECT_EQ(bear->GetLeftArm()->GetCurrentAnimationIndex(), 1);
    EXPECT_FALSE(Find<BossHp>("BossHP")->GetVisible());
    EXPECT_FALSE(Find<Tundra::Sprite>("BossHPBar")->GetVisible());
    ASSERT_TRUE(RunUntil([&] { return bear->GetOpacity() < 1.0f; }, kFightFrameLimit));
    int fadeFrames = 1;
    while (bear->GetOpacity() > 0.0f && fadeFrames < 200) {
        EXPECT_FALSE(Stage()->IsCleared());
        Step();
        ++fadeFrames;
    }
    EXPECT_EQ(fadeFrames, 101);
    EXPECT_TRUE(bear->GetVisible());
    Step();
    EXPECT_TRUE(Stage()->IsCleared());
    EXPECT_FALSE(bear->GetVisible());
    EXPECT_FALSE(bear->GetLeftArm()->GetVisible());
    EXPECT_FALSE(bear->GetRightArm()->GetVisible());
    EXPECT_EQ(Stage()->GetBoss(), bear) << "hidden, not destroyed";

    const std::int32_t drops = Stage()->GetDrops();
    ASSERT_TRUE(RunUntil([this] { return Stage()->IsStoryActive(); }, 10));
    for (int line = 0; line < 20 && Stage()->IsStoryActive(); ++line) {
        auto* text = Find<DialogText>("DialogText");
        ASSERT_TRUE(RunUntil([text] { return text->IsLineComplete(); }, 600));
        Tap(os::VK_LBUTTON);
    }
    ASSERT_TRUE(Stage()->AreResultsShowing());
    EXPECT_EQ(Stage()->GetDrops(), drops + 50);
}

}  // namespace
}  // namespace mygametest
