#include "MyGame_QuietStageFixture.h"

#include "core/Core_MemoryFile.h"
#include "mygame/MyGame_EnemyDrop.h"
#include "mygame/MyGame_EnemySpawns.h"
#include "mygame/MyGame_FlyingRangedEnemy.h"
#include "mygame/MyGame_GameLevel.h"
#include "mygame/MyGame_GamePlayer.h"
#include "mygame/MyGame_Globals.h"
#include "mygame/MyGame_PathFollower.h"
#include "mygame/MyGame_Projectile.h"
#include "mygame/MyGame_RollingSpike.h"
#include "mygame/MyGame_WalkingRangedEnemy.h"
#include "support/MyGame_FrameStep.h"
#include "support/MyGame_StageSaves.h"
#include "tundra/Tundra_CollisionQueries.h"
#include "tundra/Tundra_Game.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <initializer_list>
#include <numbers>
#include <set>
#include <vector>

namespace {


Core::RefPtr<Tundra::CompositeBezierCurve> FlyerPath(int number) {
    const Core::String path = Tundra::Game::GetDirectory() + "\\Resources\\Paths\\FlyingRangedEnemy_path" +
                              Core::String(std::to_string(number).c_str());
    return TUN_NEW(Tundra::CompositeBezierCurve, path);
}

PathFollower Follower(int path, bool loop) {
    PathFollower follower;
    follower.curve = FlyerPath(path);
    follower.speed = 100.0f;
    follower.loop = loop ? 1 : 0;
    return follower;
}

float Distance(const Vector2D& a, const Vector2D& b) { return (b - a).Length(); }

// Every generated path, from end to end: each frame covers the same
// distance, the two-piece path's joint included.
TEST(PathFollowerTest, MovesEqualDistancesPerFrameAndStopsAtTheEnd) {
    for (int path = 1; path <= 3; ++path) {
        SCOPED_TRACE(path);
        PathFollower follower = Follower(path, false);
        ASSERT_GT(follower.curve->GetLength(), 100.0f);
        Vector2D position;
        Vector2D direction;
        follower.Advance(0.0f, position, direction);
        Vector2D last = position;
        int frames = 0;
        while (follower.t < 1.0f && frames < 10000) {
            follower.Advance(kDt, position, direction);
            if (follower.t < 1.0f) {
                EXPECT_NEAR(Distance(last, position), 100.0f * kDt, 0.01f * 100.0f * kDt) << frames;
            }
            last = position;
            ++frames;
        }
        EXPECT_NEAR(static_cast<float>(frames) * 100.0f * kDt, follower.curve->GetLength(), 100.0f * kDt);
        const Vector2D end = follower.curve->GetPosition(1.0f);
        for (int more = 0; more < 10; ++more) {
            follower.Advance(kDt, position, direction);
            EXPECT_EQ(position, end);
            EXPECT_EQ(follower.t, 1.0f);
        }
    }
}

TEST(PathFollowerTest, WrapsAroundWithLoopOnBothWays) {
    PathFollower follower = Follower(1, true);
    Vector2D position;
    Vector2D direction;
    follower.t = 0.999f;
    follower.Advance(kDt * 6.0f, position, direction);
    EXPECT_GT(follower.t, 0.0f);
    EXPECT_LT(follower.t, 0.05f);
    EXPECT_LT(Distance(position, follower.curve->GetPosition(0.0f)), 10.0f);
    follower.speed = -100.0f;
    follower.Advance(kDt * 12.0f, position, direction);
    EXPECT_GT(follower.t, 0.95f);
    EXPECT_LT(follower.t, 1.0f);
    // Running backwards, the direction points back along the path.
    const Vector2D ahead = follower.curve->GetDirection(follower.curve->LookupSampledValue(follower.t));
    EXPECT_LT(ahead.x * direction.x + ahead.y * direction.y, 0.0f);
}

// A refused path file leaves a curve of length 0: nothing moves, nothing
// is divided by it.
TEST(PathFollowerTest, WithoutAUsableCurveNothingHappens) {
    PathFollower followers[2];
    followers[1].curve = TUN_NEW(Tundra::CompositeBezierCurve, Core::String("\\no\\such\\path"));
    for (PathFollower& follower : followers) {
        follower.speed = 100.0f;
        follower.t = 0.5f;
        Vector2D position{7.0f, 8.0f};
        Vector2D direction{1.0f, 0.0f};
        follower.Advance(kDt, position, direction);
        EXPECT_EQ(position, (Vector2D{7.0f, 8.0f}));
        EXPECT_EQ(direction, (Vector2D{1.0f, 0.0f}));
        EXPECT_EQ(follower.t, 0.5f);
        EXPECT_FALSE(follower.HasPath());
    }
}

// Two followers of one curve read back sharing one curve; a bad value
// fails the read and leaves the follower as it was.
TEST(PathFollowerTest, StreamsItsCurveOnceAndRefusesBadValues) {
    PathFollower saved[2] = {Follower(2, false), Follower(2, true)};
    saved[1].curve = saved[0].curve;
    saved[0].t = 0.25f;
    saved[1].mode = 1;
    Core::MemoryFile file;
    saved[0].Save(file);
    saved[1].Save(file);
    PathFollower read[2];
    Core::MemoryFile in(file.GetData(), file.GetSize());
    read[0].Load(in);
    read[1].Load(in);
    ASSERT_FALSE(in.HasFailed());
    EXPECT_EQ(read[0].curve.Get(), read[1].curve.Get());
    EXPECT_EQ(read[0].curve->GetLength(), saved[0].curve->GetLength());
    EXPECT_EQ(read[0].t, 0.25f);
    EXPECT_EQ(read[1].mode, 1);
    EXPECT_EQ(read[1].loop, 1);

    struct BadValue {
        const char* what;
        void (*spoil)(PathFollower&);
    };
    const BadValue bad[] = {
        {"t past the end", [](PathFollower& f) { f.t = 1.5f; }},
        {"t not a number", [](PathFollower& f) { f.t = std::nanf(""); }},
        {"speed infinite", [](PathFollower& f) { f.speed = INFINITY; }},
        {"mode 2", [](PathFollower& f) { f.mode = 2; }},
        {"loop 2", [](PathFollower& f) { f.loop = 2; }},
    };
    for (const BadValue& value : bad) {
        SCOPED_TRACE(value.what);
        PathFollower spoiled = Follower(1, false);
        value.spoil(spoiled);
        Core::MemoryFile out;
        spoiled.Save(out);
        PathFollower target = Follower(3, true);
        target.t = 0.75f;
        const Core::RefPtr<Tundra::CompositeBezierCurve> curve = target.curve;
        Core::MemoryFile badIn(out.GetData(), out.GetSize());
        target.Load(badIn);
        EXPECT_TRUE(badIn.HasFailed());
        EXPECT_EQ(target.curve.Get(), curve.Get());
        EXPECT_EQ(target.t, 0.75f);
        EXPECT_EQ(target.loop, 1);
    }
}

using mygametest::QuietStageFixture;

class OrdinaryEnemyTest : public QuietStageFixture {
protected:
    FlyingRangedEnemy& Flyer(std::int32_t pattern, const Vector2D& at = {1000.0f, 1000.0f}, float angle = 0.0f) {
        return *Keep<FlyingRangedEnemy>(CreateFlyingRangedEnemy(at, pattern, angle));
    }
    WalkingRangedEnemy& Walker(const Vector2D& at) { return *Keep<WalkingRangedEnemy>(CreateWalkingRangedEnemy(at)); }

    GamePlayer& ThePlayer() const { return *dynamic_cast<GamePlayer*>(Stage()->GetPlayer()); }

    // The point of the follower's curve where it stands.
    static Vector2D PathPoint(const PathFollower& follower) {
        return follower.curve->GetPosition(follower.curve->LookupSampledValue(follower.t));
    }
};

TEST_F(OrdinaryEnemyTest, FlyersOnPathsMove80UnitsASecondAlongThem) {
    EnterQuietStage();
    FlyingRangedEnemy* flyers[] = {&Flyer(1), &Flyer(2), &Flyer(3)};
    Run(2);
    for (int frame = 0; frame < 60; ++frame) {
        Vector2D before[3];
        for (int i = 0; i < 3; ++i) {
            before[i] = flyers[i]->GetPosition();
        }
        Run();
        for (int i = 0; i < 3; ++i) {
            SCOPED_TRACE(i);
            EXPECT_NEAR(Distance(before[i], flyers[i]->GetPosition()), 80.0f * kDt, 0.01f * 80.0f * kDt);
            EXPECT_LT(Distance(flyers[i]->GetPosition(), PathPoint(flyers[i]->GetFollower(i))), 0.001f);
        }
    }
}

// A ring of five, as the stage sends it: 80 units around follower 1's
// point, 2 pi / 5 apart, turning at 0.4 radians a second.
TEST_F(OrdinaryEnemyTest, ARingOfFiveCirclesTheFirstPathsPoint) {
    EnterQuietStage();
    std::vector<FlyingRangedEnemy*> ring;
    float angle = 0.0f;
    for (int i = 0; i < 5; ++i) {
        ring.push_back(&Flyer(FlyingRangedEnemy::kRingPattern, {1000.0f, 1000.0f}, angle));
        angle += 2.0f * std::numbers::pi_v<float> / 5.0f;
    }
    RunUntil([&ring] { return ring[0]->GetFormationAngle() > 0.0f; }, 3);
    const Vector2D centre = PathPoint(ring[0]->GetFollower(0));
    EXPECT_NEAR(ring[0]->GetPositionX() - centre.x, 80.0f, 0.001f);
    EXPECT_NEAR(ring[0]->GetPositionY(), centre.y, 0.001f);
    for (int i = 0; i < 5; ++i) {
        EXPECT_NEAR(Distance(ring[i]->GetPosition(), centre), 80.0f, 0.001f);
        EXPECT_NEAR(Distance(ring[i]->GetPosition(), ring[(i + 1) % 5]->GetPosition()),
                    160.0f * std::sin(std::numbers::pi_v<float> / 5.0f), 0.01f);
    }
    Run(59);
    EXPECT_NEAR(ring[0]->GetFormationAngle(), 0.4f, 1e-5f);
}

TEST_F(OrdinaryEnemyTest, AFlyerShootsAfter4Point5SecondsThenEvery2Point5To3Point5) {
    EnterQuietStage();
    FlyingRangedEnemy& flyer = Flyer(1);
    int updates = 0;
    std::vector<int> shotAt;
    while (shotAt.size() < 3 && updates < 900) {
        const std::size_t shots = Shots().size();
        Run();
        if (flyer.GetShotTimer() != 4.5f) {
            ++updates;
        }
        if (Shots().size() > shots) {
            shotAt.push_back(updates);
            const Projectile& shot = *Shots().back();
            EXPECT_EQ(shot.GetKind(), Projectile::kStraight);
            const Vector2D from = shot.GetPosition();
            Run();
            ++updates;
            EXPECT_NEAR(Distance(from, shot.GetPosition()), 450.0f * kDt, 0.01f);
        }
    }
    ASSERT_EQ(shotAt.size(), 3u);
    EXPECT_GE(shotAt[0], 270);
    EXPECT_LE(shotAt[0], 271);
    for (std::size_t i = 1; i < shotAt.size(); ++i) {
        EXPECT_GE(shotAt[i] - shotAt[i - 1], 150);
        EXPECT_LE(shotAt[i] - shotAt[i - 1], 211);
    }
}

// Aimed within 30 units of where the player will be: its position, led by
// its body's velocity (physics units, 15 world units each).
TEST_F(OrdinaryEnemyTest, AShotAimsAtThePlayerLedByItsVelocity) {
    EnterQuietStage();
    FlyingRangedEnemy& flyer = Flyer(0, {800.0f, 600.0f});
    Run(2);
    GamePlayer& player = ThePlayer();
    for (const float lead : {0.0f, 4.0f, -4.0f}) {
        SCOPED_TRACE(lead);
        player.SetVelocity({lead, 0.0f});
        const std::size_t before = Shots().size();
        flyer.Shoot();
        ASSERT_EQ(Shots().size(), before + 1);
        Vector2D velocity;
        ASSERT_TRUE(Shots().back()->GetVelocity(velocity));
        EXPECT_NEAR(velocity.Length(), 30.0f, 0.001f);
        const Vector2D toPlayer = player.GetPosition() - flyer.GetPosition();
        const float aimedX = toPlayer.y * velocity.x / velocity.y;
        EXPECT_GE(aimedX, toPlayer.x + lead * 15.0f - 30.5f);
        EXPECT_LE(aimedX, toPlayer.x + lead * 15.0f + 30.5f);
    }
    Globals().player = nullptr;
    const std::size_t before = Shots().size();
    flyer.Shoot();
    EXPECT_EQ(Shots().size(), before);
    Globals().player = &player;
}

// Killed just before its first shot: no shot ever, a drop and a kill, and a
// fall that gains speed every frame until its death has played or it is
// below the screen.
TEST_F(OrdinaryEnemyTest, AKilledFlyerNeverShootsFallsFasterAndGoes) {
    struct Case {
        const char* name;
        Vector2D at;
        bool goneBelowScreen;
    };
    for (const Case& c : {Case{"high", {600.0f, 600.0f}, false}, Case{"low", {600.0f, 40.0f}, true}}) {
        SCOPED_TRACE(c.name);
        GameLevel& stage = EnterQuietStage();
        Core::RefPtr<FlyingRangedEnemy> flyer(&Flyer(0, c.at));
        Run(260);
        const std::size_t shots = Shots().size();
        flyer->TakeDamage(100.0f, 1);
        EXPECT_EQ(flyer->GetHealth(), 0.0f);
        EXPECT_EQ(stage.GetKills().flying, 1);
        EXPECT_NE(Find<EnemyDrop>("EnemyDropTemplate"), nullptr);
        float lastFall = 0.0f;
        int frames = 0;
        while (!flyer->IsDestroyRequested() && frames < 200) {
            const float y = flyer->GetPositionY();
            Run();
            ++frames;
            EXPECT_GT(y - flyer->GetPositionY(), lastFall);
            lastFall = y - flyer->GetPositionY();
        }
        EXPECT_EQ(Shots().size(), shots);
        EXPECT_EQ(flyer->GetPositionY() < -50.0f, c.goneBelowScreen);
        EXPECT_EQ(flyer->IsEndOfAnimation(), !c.goneBelowScreen);
        EXPECT_EQ(stage.GetKills().flying, 1);
    }
}

// The wind-up starts in the first frame that begins with the timer below
// 0.3, the throw comes in the first that ends it below 0, and every 3 s.
TEST_F(OrdinaryEnemyTest, AWalkerDriftsLeftAndThrowsAnArcAtThePlayerEveryThreeSeconds) {
    EnterQuietStage();
    WalkingRangedEnemy& walker = Walker({1000.0f, 400.0f});
    Run(2);
    std::vector<int> throws;
    float timer = walker.GetThrowTimer();
    float previous = timer;
    for (int frame = 1; throws.size() < 2 && frame < 400; ++frame) {
        const float x = walker.GetPositionX();
        const bool wasPlaying = walker.IsPlaying();
        const std::size_t shots = Shots().size();
        Run();
        EXPECT_NEAR(x - walker.GetPositionX(), 100.0f * kDt, 1e-3f);
        if (!wasPlaying && walker.IsPlaying()) {
            EXPECT_LT(timer, 0.3f);
            EXPECT_GE(previous, 0.3f);
        }
        if (Shots().size() > shots) {
            throws.push_back(frame);
            EXPECT_GE(timer, 0.0f);
            EXPECT_EQ(walker.GetThrowTimer(), 3.0f);
            EXPECT_TRUE(walker.IsPlaying());
            const Projectile& arc = *Shots().back();
            EXPECT_EQ(arc.GetKind(), Projectile::kArc);
            EXPECT_EQ(arc.GetStartPoint(), (Vector2D{walker.GetPositionX() + 10.0f, walker.GetPositionY()}));
            EXPECT_LT(Distance(arc.GetEndPoint(), ThePlayer().GetPosition()), 2.0f);
        }
        previous = timer;
        timer = walker.GetThrowTimer();
    }
    ASSERT_EQ(throws.size(), 2u);
    EXPECT_NEAR(throws[1] - throws[0], 180, 1);
}

// Flipped toward the player when left of it or exactly level with it.
TEST_F(OrdinaryEnemyTest, AWalkerFacesThePlayer) {
    EnterQuietStage();
    Run(30);
    const float playerX = ThePlayer().GetPositionX();
    std::vector<std::pair<WalkingRangedEnemy*, float>> walkers;
    for (const float offset : {-10.0f, 0.0f, 10.0f}) {
        // Placed so that its first frame's drift ends it there.
        const float target = playerX + offset;
        float x = target + 100.0f * kDt;
        while (x - kDt * 100.0f < target) {
            x = std::nextafter(x, 2000.0f);
        }
        while (x - kDt * 100.0f > target) {
            x = std::nextafter(x, 0.0f);
        }
        walkers.emplace_back(&Walker({x, 400.0f}), target);
    }
    WalkingRangedEnemy& first = *walkers[0].first;
    RunUntil([&first] { return first.GetThrowTimer() > 0.0f && first.GetThrowTimer() < 1.0f; }, 3);
    EXPECT_EQ(ThePlayer().GetPositionX(), playerX);
    for (const auto& [walker, target] : walkers) {
        EXPECT_EQ(walker->GetPositionX(), target);
        EXPECT_EQ(walker->GetFlipHorizontal(), target <= playerX) << target - playerX;
    }
}

// Contact costs 0.005 in every frame that begins touching, blinking player
// or not; the spike rolls left, spinning at |v| x 50 + 150 degrees a second
// for the speed it begins the frame with.
TEST_F(OrdinaryEnemyTest, ASpikeRollsLeftSpinsWithItsSpeedAndHurtsEveryFrameOfContact) {
    GameLevel& stage = EnterQuietStage();
    Run(30);
    const Vector2D player = ThePlayer().GetPosition();
    RollingSpike& spike = *Keep<RollingSpike>(CreateRollingSpike(player + Vector2D{80.0f, 20.0f}, {0.0f, -2.0f}));
    Run(2);
    int contacts = 0;
    for (int frame = 0; frame < 120 && contacts < 10; ++frame) {
        const bool touching = Tundra::IsCollidedWithSprite(spike.GetCollisionObject(), "Player", true);
        const float health = stage.GetHealth();
        const float x = spike.GetPositionX();
        Vector2D velocity;
        ASSERT_TRUE(spike.GetVelocity(velocity));
        Run();
        EXPECT_NEAR(health - stage.GetHealth(), touching ? 0.005f : 0.0f, 1e-6f) << frame;
        EXPECT_LT(spike.GetPositionX(), x);
        contacts += touching ? 1 : 0;
        float spin = 0.0f;
        ASSERT_TRUE(spike.GetAngularVelocity(spin));
        EXPECT_NEAR(spin, velocity.Length() * 50.0f + 150.0f, 0.01f);
    }
    EXPECT_EQ(contacts, 10);
    EXPECT_NEAR(1.0f - stage.GetHealth(), 10 * 0.005f, 1e-5f);
}

// Runs a job in its first update, as the stage and the bosses make
// enemies and shots during a frame.
class Spawner : public Tundra::GameObject {
public:
    explicit Spawner(std::function<void()> job) : m_job(std::move(job)) {}
    void Update(float) override {
        if (m_job) {
            const std::function<void()> job = std::move(m_job);
            m_job = nullptr;
            job();
        }
    }

private:
    std::function<void()> m_job;
};

// Walkers and flyers show their theme's living animation from a random
// frame, with a bar above them; spikes get their theme's animation and no
// bar. Their start keeps what their creation set.
TEST_F(OrdinaryEnemyTest, CreationGivesTheThemesArtRandomFramesAndBars) {
    for (const std::uint32_t stage : {0u, 3u, 6u}) {
        SCOPED_TRACE(stage);
        EnterQuietStage(stage);
        const int theme = static_cast<int>(stage / 3);
        std::vector<Enemy*> made[3];
        const float ringAngle = 1.2566f;
        m_game->GetWorldLayer()->AddGameObject(TUN_NEW(Spawner, [&] {
            for (int i = 0; i < 6; ++i) {
                const Vector2D at{300.0f + 100.0f * static_cast<float>(i), 600.0f};
                made[0].push_back(Keep<Enemy>(CreateFlyingRangedEnemy(at, 0, ringAngle)));
                made[1].push_back(Keep<Enemy>(CreateWalkingRangedEnemy(at - Vector2D{0.0f, 200.0f})));
                made[2].push_back(Keep<Enemy>(CreateRollingSpike(at + Vector2D{0.0f, 100.0f}, {0.0f, -2.0f})));
            }
        }));
        RunUntil([&made] { return !made[0].empty(); }, 3);
        const std::vector<Vector2D> where = [&made] {
            std::vector<Vector2D> positions;
            for (const Enemy* flyer : made[0]) {
                positions.push_back(flyer->GetPosition());
            }
            return positions;
        }();
        Run(2);
        for (int kind = 0; kind < 3; ++kind) {
            std::set<int> frames;
            for (std::size_t i = 0; i < made[kind].size(); ++i) {
                const Enemy& enemy = *made[kind][i];
                ASSERT_EQ(enemy.GetHealth(), 1.0f);
                EXPECT_EQ(enemy.GetCurrentAnimationIndex(), kind == 2 ? theme : theme * 2);
                frames.insert(enemy.GetCurrentFrameIndex());
                if (kind == 2) {
                    EXPECT_EQ(enemy.GetHealthBar(), nullptr);
                    continue;
                }
                EXPECT_TRUE(enemy.GetVisible());
                ASSERT_NE(enemy.GetHealthBar(), nullptr);
                EXPECT_EQ(enemy.GetHealthBar()->GetMount(), &enemy);
                EXPECT_EQ(enemy.GetHealthBarBackground()->GetMount(), &enemy);
                EXPECT_EQ(enemy.GetHealthBar()->GetPosition(), enemy.GetPosition() + Vector2D(0.0f, 10.0f));
            }
            EXPECT_GT(frames.size(), kind == 2 ? 0u : 1u) << kind;
            EXPECT_LE(*frames.rbegin(), 4);
        }
        for (std::size_t i = 0; i < made[0].size(); ++i) {
            const auto& flyer = dynamic_cast<const FlyingRangedEnemy&>(*made[0][i]);
            EXPECT_EQ(flyer.GetPosition(), where[i]);
            EXPECT_EQ(flyer.GetFormationAngle(), ringAngle);
            EXPECT_EQ(flyer.GetFlightPattern(), 0);
        }
    }
}

TEST_F(OrdinaryEnemyTest, CreationRefusesValuesItCannotUse) {
    EnterQuietStage();
    const float nan = std::nanf("");
    const Vector2D lost{nan, 100.0f};
    const Vector2D at{500.0f, 500.0f};
    std::vector<Tundra::GameObject*> before;
    m_game->GetWorldLayer()->GetHeldGameObjects(before);
    EXPECT_EQ(CreateFlyingRangedEnemy(lost, 1), nullptr);
    EXPECT_EQ(CreateFlyingRangedEnemy(at, 4, nan), nullptr);
    EXPECT_EQ(CreateWalkingRangedEnemy(lost), nullptr);
    EXPECT_EQ(CreateRollingSpike(at, lost), nullptr);
    EXPECT_EQ(CreateProjectile(2, at, {1.0f, 0.0f}), nullptr);
    EXPECT_EQ(CreateProjectile(Projectile::kStraight, at, lost), nullptr);
    EXPECT_EQ(CreateArcProjectile(-1, at, at), nullptr);
    EXPECT_EQ(CreateArcProjectile(Projectile::kArc, at, lost), nullptr);
    std::vector<Tundra::GameObject*> after;
    m_game->GetWorldLayer()->GetHeldGameObjects(after);
    EXPECT_EQ(after.size(), before.size());
}

std::vector<EnemyDrop*> Drops(const Tundra::Layer& world) {
    std::vector<Tundra::GameObject*> held;
    world.GetHeldGameObjects(held);
    std::vector<EnemyDrop*> drops;
    for (Tundra::GameObject* object : held) {
        auto* drop = dynamic_cast<EnemyDrop*>(object);
        if (drop != nullptr && std::find(drops.begin(), drops.end(), drop) == drops.end()) {
            drops.push_back(drop);
        }
    }
    return drops;
}

// Hits after the first that kills change nothing: one kill, one drop
// where it died, one death animation, then it is gone; a dead walker
// throws no more.
TEST_F(OrdinaryEnemyTest, KilledWalkersAndSpikesDieOnceLeaveADropAndGo) {
    GameLevel& stage = EnterQuietStage();
    WalkingRangedEnemy& walker = Walker({700.0f, 450.0f});
    Core::RefPtr<Enemy> enemies[] = {&walker, Keep<Enemy>(CreateRollingSpike({850.0f, 500.0f}, {0.0f, 0.0f}))};
    Run(50);
    for (const Core::RefPtr<Enemy>& enemy : enemies) {
        for (int hit = 0; hit < 3; ++hit) {
            enemy->TakeDamage(100.0f, 1);
        }
        EXPECT_EQ(Drops(*m_game->GetWorldLayer()).back()->GetPosition(), enemy->GetPosition());
        EXPECT_TRUE(enemy->IsPlaying());
    }
    EXPECT_EQ(walker.GetCurrentAnimationIndex(), 1);
    EXPECT_EQ(Drops(*m_game->GetWorldLayer()).size(), 2u);
    const std::size_t shots = Shots().size();
    const auto gone = RunUntil([&enemies] { return enemies[0]->IsDestroyRequested() && enemies[1]->IsDestroyRequested(); }, 120);
    ASSERT_TRUE(gone);
    for (const Core::RefPtr<Enemy>& enemy : enemies) {
        EXPECT_FALSE(enemy->GetVisible());
        EXPECT_TRUE(enemy->IsEndOfAnimation());
    }
    EXPECT_EQ(stage.GetKills().ground, 1);
    EXPECT_EQ(stage.GetKills().rolling, 1);
    EXPECT_EQ(stage.GetKills().flying, 0);
    EXPECT_EQ(Shots().size(), shots);
}

TEST_F(OrdinaryEnemyTest, PausedEnemiesAndShotsStandStillAndGoOnWhenResumed) {
    GameLevel& stage = EnterQuietStage();
    Tundra::GameObject* objects[] = {
        &Flyer(2), &Walker({900.0f, 450.0f}), Keep<Enemy>(CreateRollingSpike({800.0f, 500.0f}, {-2.0f, 0.0f})),
        CreateProjectile(Projectile::kStraight, {700.0f, 600.0f}, {-10.0f, 0.0f}),
        CreateArcProjectile(Projectile::kArc, {900.0f, 400.0f}, {500.0f, 400.0f})};
    Run(10);
    std::vector<Vector2D> at;
    for (const Tundra::GameObject* object : objects) {
        at.push_back(object->GetPosition());
    }
    stage.SetLevelPaused(true);
    Run(30);
    for (std::size_t i = 0; i < at.size(); ++i) {
        EXPECT_EQ(objects[i]->GetPosition(), at[i]) << i;
    }
    stage.SetLevelPaused(false);
    Run(2);
    for (std::size_t i = 0; i < at.size(); ++i) {
        EXPECT_NE(objects[i]->GetPosition(), at[i]) << i;
    }
}

std::vector<std::uint8_t> Saved(const Core::Object& object) {
    Core::MemoryFile file;
    object.Save(file);
    return {file.GetData(), file.GetData() + file.GetSize()};
}

bool LoadInto(Core::Object& object, const std::vector<std::uint8_t>& bytes) {
    Core::MemoryFile file(bytes.data(), static_cast<std::uint32_t>(bytes.size()));
    object.Load(file);
    return !file.HasFailed();
}

// Each class's own fields come after its base part and read back whole; a
// value there that the class could not hold fails the read and leaves the
// object as it was.
TEST_F(OrdinaryEnemyTest, EnemiesAndShotsStreamTheirOwnFieldsAndRefuseBadOnes) {
    EnterQuietStage();
    Core::RefPtr<FlyingRangedEnemy> flyer(TUN_NEW(FlyingRangedEnemy, mygametest::TestAnimations(2)));
    flyer->SetFlightPattern(FlyingRangedEnemy::kRingPattern);
    flyer->SetFormationAngle(1.25f);
    Core::RefPtr<WalkingRangedEnemy> walker(TUN_NEW(WalkingRangedEnemy, mygametest::TestAnimations(2)));
    Core::RefPtr<Projectile> arc(TUN_NEW(Projectile, mygametest::TestAnimations(2)));
    arc->SetArc({900.0f, 100.0f}, {300.0f, 100.0f});
    for (Core::Object* object : std::initializer_list<Core::Object*>{flyer.Get(), walker.Get(), arc.Get()}) {
        auto* sprite = dynamic_cast<Tundra::Sprite*>(object);
        sprite->SetOldPosition({400.0f, 300.0f});
        m_game->GetWorldLayer()->AddGameObject(sprite);
    }
    Run(20);

    const Core::RefPtr<Core::Object> fresh[] = {TUN_NEW(FlyingRangedEnemy), TUN_NEW(WalkingRangedEnemy),
                                                TUN_NEW(Projectile)};
    const Core::Object* saved[] = {flyer.Get(), walker.Get(), arc.Get()};
    for (int i = 0; i < 3; ++i) {
        const std::vector<std::uint8_t> bytes = Saved(*saved[i]);
        ASSERT_TRUE(LoadInto(*fresh[i], bytes)) << i;
        EXPECT_EQ(Saved(*fresh[i]), bytes) << i;
    }
    EXPECT_EQ(dynamic_cast<FlyingRangedEnemy&>(*fresh[0]).GetFollower(0).curve->GetLength(),
              flyer->GetFollower(0).curve->GetLength());

    struct BadValue {
        const char* what;
        Core::Object* object;
        // Bytes before the end of the stream.
        std::size_t fromEnd;
        std::uint32_t value;
    };
    constexpr std::uint32_t kNaN = 0x7fc00000u;
    const BadValue bad[] = {
        {"flyer's state", flyer.Get(), 12, 1},
        {"flyer's shot timer", flyer.Get(), 8, kNaN},
        {"flyer's flight position", flyer.Get(), 20, 0x7f800000u},
        {"flyer's formation angle", flyer.Get(), 24, kNaN},
        {"third follower's t", flyer.Get(), 33, 0x3fc00000u},
        {"walker's throw timer", walker.Get(), 4, kNaN},
        {"shot's kind", arc.Get(), 6, 2},
        {"shot's spin", arc.Get(), 10, kNaN},
        {"shot's t", arc.Get(), 14, 0x7f800000u},
        {"shot's arc", arc.Get(), 30, kNaN},
    };
    for (const BadValue& value : bad) {
        SCOPED_TRACE(value.what);
        const std::vector<std::uint8_t> good = Saved(*value.object);
        std::vector<std::uint8_t> spoiled = good;
        for (std::size_t byte = 0; byte < 4; ++byte) {
            spoiled[good.size() - value.fromEnd + byte] = static_cast<std::uint8_t>(value.value >> (8 * byte));
        }
        EXPECT_FALSE(LoadInto(*value.object, spoiled));
        EXPECT_EQ(Saved(*value.object), good);
    }
    // The spin direction and the pause flag: bytes 2 and 1 from the end.
    for (const std::size_t fromEnd : {2u, 1u}) {
        const std::vector<std::uint8_t> good = Saved(*arc);
        std::vector<std::uint8_t> spoiled = good;
        spoiled[spoiled.size() - fromEnd] = 2;
        EXPECT_FALSE(LoadInto(*arc, spoiled));
        EXPECT_EQ(Saved(*arc), good);
    }
}

// Saved with every kind in motion (a ring on its path, a walker's arc in
// the air, a flyer falling, a spike rolling), loaded into a fresh game: it
// plays on as the uninterrupted run.
TEST_F(OrdinaryEnemyTest, AStageSavedWithEnemiesAndShotsInMotionPlaysOnAsBefore) {
    mygametest::StageSaves saves;
    EnterQuietStage();
    for (int i = 0; i < 5; ++i) {
        Flyer(FlyingRangedEnemy::kRingPattern, {1000.0f, 1000.0f}, 1.2566f * static_cast<float>(i));
    }
    FlyingRangedEnemy& falling = Flyer(2);
    Walker({800.0f, 400.0f});
    Keep<RollingSpike>(CreateRollingSpike({900.0f, 300.0f}, {0.0f, -2.0f}));
    Run(60);
    falling.TakeDamage(100.0f, 1);
    Run(5);
    ASSERT_EQ(Shots().size(), 1u);
    m_game->RequestSave("enemies");
    std::vector<std::uint64_t> uninterrupted;
    for (int frame = 0; frame < 120; ++frame) {
        Step();
        uninterrupted.push_back(m_game->GetStateHash());
    }
    ASSERT_FALSE(saves.Payload("enemies").empty());
    EndGame();

    ASSERT_TRUE(EnterStage(0, kSeed + 1));
    const Tundra::Level* before = m_game->GetCurrentLevel();
    m_game->RequestLoad("enemies");
    ASSERT_TRUE(RunUntil([&] { return m_game->GetCurrentLevel() != before; }, 3));
    ASSERT_EQ(m_game->GetStateHash(), uninterrupted[0]);
    Step();
    for (std::size_t frame = 1; frame < uninterrupted.size(); ++frame) {
        Step();
        ASSERT_EQ(m_game->GetStateHash(), uninterrupted[frame]) << "frame " << frame;
    }
}

}  // namespace
