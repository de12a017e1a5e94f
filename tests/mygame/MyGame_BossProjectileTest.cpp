#include "core/Core_MemoryFile.h"
#include "mygame/MyGame_BossProjectile.h"
#include "mygame/MyGame_Enemy.h"
#include "mygame/MyGame_GameLevel.h"
#include "mygame/MyGame_GamePlayer.h"
#include "support/MyGame_BossProjectileScene.h"
#include "support/MyGame_StageFixture.h"
#include "tundra/Tundra_Layer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <limits>
#include <optional>
#include <vector>

namespace mygametest {
namespace {

using Shot = Core::RefPtr<BossProjectile>;

// A stage (its content has the bosses' shot template), its first wave cleared away so
// that only the shots a test makes touch the player, and the player held
// in the air at one place (the scrolling ground would carry it off).
// Shots are made as the bosses make them: inside another object's update.
template <class Base>
class ShotScene : public Base {
protected:
    static inline const Vector2D kPlayerAt{300.0f, 600.0f};

    bool Enter() {
        if (!this->EnterStage(0)) {
            return false;
        }
        this->Step();
        GameLevel& stage = *this->Stage();
        while (stage.GetLiveEnemyCount() > 0) {
            stage.GetLiveEnemy(stage.GetLiveEnemyCount() - 1)->Destroy();
        }
        // After the player's own update, before any shot's.
        this->m_game->GetWorldLayer()->AddGameObject(TUN_NEW(ActingObject, [this] {
            GamePlayer& player = ThePlayer();
            player.SetPosition(kPlayerAt);
            player.SetOldPosition(kPlayerAt);
            player.SetVelocity({0.0f, 0.0f});
        }, true));
        this->Step(2);
        return true;
    }

    // Runs the action in another object's update (one frame); what it makes
    // starts and first updates in the next frame.
    void Act(std::function<void()> action) {
        this->m_game->GetWorldLayer()->AddGameObject(TUN_NEW(ActingObject, std::move(action), false));
        this->Step();
    }
    Shot Make(const std::function<BossProjectile*()>& make) {
        Shot made;
        Act([&] { made = make(); });
        return made;
    }

    GamePlayer& ThePlayer() { return *this->template Find<GamePlayer>("Player"); }
    float Health() { return this->Stage()->GetHealth(); }
    // The player as it stands, open to the next hit.
    void OpenPlayer() { ThePlayer().SetInvulnerableTime(0.0f); }

    // Steps until the shot goes; the frame it went in (counted from 1), or
    // nothing within the limit. `each` sees every frame before.
    std::optional<int> FramesUntilGone(const Shot& shot, int limit, const std::function<void(int)>& each = {}) {
        int frame = 0;
        return this->RunUntil([&] {
            ++frame;
            if (each) {
                each(frame);
            }
            return shot->IsDestroyRequested() || shot->GetLayer() == nullptr;
        }, limit);
    }
};

using BossProjectileTest = ShotScene<StageFixture>;

// A timed marker keeps the duration and home it was made with, though the
// layer starts it only after its maker's update: it goes in the first frame
// its timer passes 0.2, and bobs from its home down 30 units and back.
TEST_F(BossProjectileTest, AMarkerLastsItsDurationAndBobsBelowItsHome) {
    ASSERT_TRUE(Enter());
    Shot brief;
    Shot bobbing;
    Act([&] {
        brief = CreateBossProjectileTimed(BossProjectile::kWarningMarker, {300.0f, 500.0f}, 0.2f);
        bobbing = CreateBossProjectileTimed(BossProjectile::kWarningMarker, {600.0f, 400.0f}, 3.0f);
    });
    ASSERT_NE(brief, nullptr);
    ASSERT_NE(bobbing, nullptr);
    std::optional<int> briefGone;
    std::vector<float> heights;
    for (int frame = 1; frame <= 61; ++frame) {
        Step();
        if (!briefGone && brief->IsDestroyRequested()) {
            briefGone = frame;
            EXPECT_GT(brief->GetTimer(), 0.2f);
        } else if (!briefGone) {
            EXPECT_LE(brief->GetTimer(), 0.2f) << "frame " << frame;
        }
        heights.push_back(bobbing->GetPositionY());
    }
    EXPECT_EQ(briefGone, 13);
    EXPECT_EQ(bobbing->GetDuration(), 3.0f);
    EXPECT_EQ(bobbing->GetHomePosition(), (Vector2D{600.0f, 400.0f}));
    EXPECT_EQ(heights[0], 399.0f);
    EXPECT_EQ(heights[29], 370.0f);
    EXPECT_EQ(heights[30], 371.0f);
    EXPECT_EQ(heights[59], 400.0f);
    EXPECT_EQ(heights[60], 399.0f);
    EXPECT_EQ(*std::min_element(heights.begin(), heights.end()), 370.0f);
    EXPECT_EQ(*std::max_element(heights.begin(), heights.end()), 400.0f);
    EXPECT_EQ(bobbing->GetPositionX(), 600.0f);
}

// A strike made invisible waits out its 0.1 s, fades in over 25 frames and
// only then can hit: 0.075 once, after which it plays to its end and goes.
TEST_F(BossProjectileTest, AStrikeHurtsOnlyOnceFadedInAndGoesAfterPlaying) {
    ASSERT_TRUE(Enter());
    const Vector2D at = kPlayerAt;
    const Shot strike = Make([&] {
        BossProjectile* made = CreateBossProjectileTimed(BossProjectile::kStrike, at, 0.1f);
        made->SetOpacity(0.0f);
        return made;
    });
    ASSERT_NE(strike, nullptr);
    std::optional<int> opaqueAt;
    std::optional<int> hitAt;
    const std::optional<int> gone = FramesUntilGone(strike, 120, [&](int frame) {
        if (!opaqueAt && strike->GetOpacity() >= 1.0f) {
            opaqueAt = frame;
        }
        if (!hitAt && Health() < 1.0f) {
            hitAt = frame;
        }
    });
    ASSERT_TRUE(opaqueAt.has_value());
    ASSERT_TRUE(hitAt.has_value());
    EXPECT_EQ(*opaqueAt, 6 + 25) << "0.1 s of waiting, then 25 frames of 0.04";
    EXPECT_GT(*hitAt, *opaqueAt);
    EXPECT_FLOAT_EQ(Health(), 1.0f - 0.075f);
    ASSERT_TRUE(gone.has_value()) << "played once, it goes";
    EXPECT_FALSE(strike->IsPlaying());
}

// A column hurts by x alone: 40 units beside it (half its 80-pixel frame,
// the generated sheet's, which the headless textures read from its header)
// is inside, 41 is not, however high the player stands.
TEST_F(BossProjectileTest, AColumnHurtsAPlayerWithinHalfItsFrameOfIt) {
    ASSERT_TRUE(Enter());
    struct Case {
        float offset;
        bool hurts;
    };
    for (const Case c : {Case{40.0f, true}, Case{-40.0f, true}, Case{41.0f, false}, Case{-41.0f, false}}) {
        SCOPED_TRACE(c.offset);
        OpenPlayer();
        Step();
        const float before = Health();
        const Shot column = Make([&] {
            BossProjectile* made = CreateBossProjectileTurned(BossProjectile::kColumn, {kPlayerAt.x + c.offset, 100.0f});
            made->SetLoop(false);
            made->Play(true);
            return made;
        });
        ASSERT_NE(column, nullptr);
        EXPECT_EQ(column->GetFrameHeight(BossProjectile::kColumn), 80);
        EXPECT_EQ(column->GetRotationAngle(), -90.0f);
        ASSERT_TRUE(FramesUntilGone(column, 60).has_value()) << "played once, it goes";
        EXPECT_FLOAT_EQ(Health(), c.hurts ? before - 0.1f : before);
    }
}

// A flying shot bursts on an open player (0.05) or outside the area, stops,
// drifts up and back while its burst plays and goes at the burst's end.
TEST_F(BossProjectileTest, AFlyingShotBurstsOnThePlayerOrOutsideTheArea) {
    ASSERT_TRUE(Enter());
    struct Case {
        const char* name;
        Vector2D offset;
        Vector2D velocity;
        bool hurts;
    };
    const Vector2D player = kPlayerAt;
    for (const Case c : {Case{"at the player", {200.0f, -14.0f}, {-10.0f, 0.0f}, true},
                         Case{"leaving", {800.0f, -300.0f}, {10.0f, 0.0f}, false}}) {
        SCOPED_TRACE(c.name);
        OpenPlayer();
        Step();
        const float before = Health();
        const Shot shot = Make([&] {
            return CreateBossProjectileMoving(BossProjectile::kFlyingShot, player + c.offset, c.velocity);
        });
        ASSERT_NE(shot, nullptr);
        std::optional<Vector2D> burstAt;
        int burstFrames = 0;
        const std::optional<int> gone = FramesUntilGone(shot, 120, [&](int) {
            if (shot->IsPlaying() && !burstAt) {
                burstAt = shot->GetPosition();
            }
            burstFrames += burstAt ? 1 : 0;
        });
        ASSERT_TRUE(burstAt.has_value());
        ASSERT_TRUE(gone.has_value());
        EXPECT_GE(burstFrames, 30) << "the burst plays to its end";
        Vector2D velocity;
        ASSERT_TRUE(shot->GetVelocity(velocity));
        EXPECT_EQ(velocity, (Vector2D{0.0f, 0.0f}));
        EXPECT_LT(shot->GetPositionX(), burstAt->x);
        EXPECT_GT(shot->GetPositionY(), burstAt->y);
        EXPECT_FLOAT_EQ(Health(), c.hurts ? before - 0.05f : before);
    }
}

// A fading shot that hits at full opacity fades out in 10 frames and goes;
// one outside the area goes at once.
TEST_F(BossProjectileTest, AFadingShotFadesOutAfterAHitAndGoesOutsideTheArea) {
    ASSERT_TRUE(Enter());
    for (const std::int32_t kind : {BossProjectile::kLeftFadingShot, BossProjectile::kRightFadingShot}) {
        SCOPED_TRACE(kind);
        OpenPlayer();
        Step();
        const float before = Health();
        const Vector2D at = kPlayerAt;
        const Shot shot = Make([&] { return CreateBossProjectileMoving(kind, at, {0.0f, 0.0f}); });
        std::optional<int> hitAt;
        const std::optional<int> gone = FramesUntilGone(shot, 60, [&](int frame) {
            if (!hitAt && shot->IsFading()) {
                hitAt = frame;
            }
        });
        ASSERT_TRUE(hitAt.has_value());
        ASSERT_TRUE(gone.has_value());
        EXPECT_EQ(*gone - *hitAt + 1, 10);
        EXPECT_FLOAT_EQ(Health(), before - 0.05f);

        const Shot outside = Make([&] { return CreateBossProjectileMoving(kind, {1250.0f, 300.0f}, {0.0f, 0.0f}); });
        EXPECT_EQ(FramesUntilGone(outside, 5), 1);
    }
}

// A kind outside 0..5 or a value that is not finite makes nothing.
TEST_F(BossProjectileTest, BadCreationsMakeNothing) {
    ASSERT_TRUE(Enter());
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    std::vector<BossProjectile*> made;
    Act([&] {
        made = {CreateBossProjectileTimed(6, {100.0f, 100.0f}, 1.0f),
                CreateBossProjectileTimed(-1, {100.0f, 100.0f}, 1.0f),
                CreateBossProjectileTimed(BossProjectile::kWarningMarker, {100.0f, 100.0f}, nan),
                CreateBossProjectileMoving(BossProjectile::kFlyingShot, {inf, 100.0f}, {1.0f, 0.0f}),
                CreateBossProjectileMoving(BossProjectile::kFlyingShot, {100.0f, 100.0f}, {nan, 0.0f}),
                CreateBossProjectileTurned(BossProjectile::kColumn, {100.0f, nan})};
    });
    for (std::size_t i = 0; i < made.size(); ++i) {
        EXPECT_EQ(made[i], nullptr) << "call " << i;
    }
    Step();
    std::vector<Tundra::GameObject*> shots;
    Stage()->GetGameObjects(nullptr, shots);
    EXPECT_EQ(std::count_if(shots.begin(), shots.end(),
                            [](const Tundra::GameObject* object) { return dynamic_cast<const BossProjectile*>(object); }),
              0);
}

// What pausing must hold still.
struct Look {
    Vector2D position;
    float timer;
    float opacity;
    int frame;
    bool operator==(const Look&) const = default;
};

Look LookAt(const BossProjectile& shot) {
    return Look{shot.GetPosition(), shot.GetTimer(), shot.GetOpacity(), shot.GetCurrentFrameIndex()};
}

// Paused, no kind moves, counts, fades or plays; resumed, each goes on.
TEST_F(BossProjectileTest, PausedEveryKindStandsStill) {
    ASSERT_TRUE(Enter());
    std::vector<Shot> shots;
    Act([&] {
        shots.emplace_back(CreateBossProjectileTimed(BossProjectile::kWarningMarker, {500.0f, 500.0f}, 3.0f));
        shots.emplace_back(CreateBossProjectileMoving(BossProjectile::kFlyingShot, {600.0f, 650.0f}, {-5.0f, 0.0f}));
        BossProjectile* column = CreateBossProjectileTurned(BossProjectile::kColumn, {900.0f, 700.0f});
        column->SetLoop(true);
        column->Play(true);
        shots.emplace_back(column);
        BossProjectile* strike = CreateBossProjectileTimed(BossProjectile::kStrike, {800.0f, 650.0f}, 0.0f);
        strike->SetOpacity(0.0f);
        shots.emplace_back(strike);
        shots.emplace_back(CreateBossProjectileMoving(BossProjectile::kLeftFadingShot, {400.0f, 650.0f}, {-5.0f, 0.0f}));
        shots.emplace_back(CreateBossProjectileMoving(BossProjectile::kRightFadingShot, {450.0f, 650.0f}, {5.0f, 0.0f}));
    });
    Step(3);
    Stage()->SetLevelPaused(true);
    std::vector<Look> paused;
    for (const Shot& shot : shots) {
        paused.push_back(LookAt(*shot));
    }
    Step(30);
    for (std::size_t i = 0; i < shots.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_FALSE(shots[i]->IsDestroyRequested());
        EXPECT_EQ(LookAt(*shots[i]), paused[i]);
    }
    Stage()->SetLevelPaused(false);
    Step(6);
    for (std::size_t i = 0; i < shots.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_NE(LookAt(*shots[i]), paused[i]);
    }
}

// A marker read back mid-bob has its kind, timer, duration, home and place
// in "BossAttWarn"; a stream with a bad field or cut short gives nothing,
// and reading it into a marker changes none of its fields.
TEST_F(BossProjectileTest, AMarkerSurvivesTheStreamAndBadStreamsFailCleanly) {
    ASSERT_TRUE(Enter());
    const Shot marker =
        Make([] { return CreateBossProjectileTimed(BossProjectile::kWarningMarker, {500.0f, 450.0f}, 2.0f); });
    Step(40);
    Core::MemoryFile file;
    file << static_cast<const Core::Object*>(marker.Get());
    Core::MemoryFile reader(file.GetData(), file.GetSize());
    const Shot read = reader.ReadObjectAs<BossProjectile>(Core::File::Reference::Owning);
    ASSERT_FALSE(reader.HasFailed());
    ASSERT_NE(read, nullptr);
    auto same = [](const BossProjectile& a, const BossProjectile& b) {
        const BossProjectile::StateMachine& ma = *a.GetWarningMachine();
        const BossProjectile::StateMachine& mb = *b.GetWarningMachine();
        return a.GetKind() == b.GetKind() && a.GetTimer() == b.GetTimer() && a.GetDuration() == b.GetDuration() &&
               a.GetHomePosition() == b.GetHomePosition() && a.IsFading() == b.IsFading() &&
               ma.GetCurrent() == mb.GetCurrent() && ma.GetTimeInState() == mb.GetTimeInState() &&
               ma.IsFirstUpdate() == mb.IsFirstUpdate();
    };
    EXPECT_TRUE(same(*read, *marker));
    EXPECT_EQ(read->GetWarningMachine()->GetCurrent(), BossProjectile::kGoUp);
    EXPECT_EQ(read->GetPosition(), marker->GetPosition());

    Core::MemoryFile raw;
    marker->Save(raw);
    const std::vector<std::uint8_t> bytes(raw.GetData(), raw.GetData() + raw.GetSize());
    // The fields close the stream: kind, timer, duration, home, then three flags.
    constexpr std::size_t kFieldsSize = 4 + 4 + 4 + 8 + 3;
    const std::size_t kindAt = bytes.size() - kFieldsSize;
    struct Damage {
        const char* what;
        std::size_t at;
        std::vector<std::uint8_t> value;
    };
    for (const Damage& d : {Damage{"kind 6", kindAt, {6, 0, 0, 0}}, Damage{"kind -1", kindAt, {0xFF, 0xFF, 0xFF, 0xFF}},
                            Damage{"timer NaN", kindAt + 4, {0x00, 0x00, 0xC0, 0x7F}},
                            Damage{"home inf", kindAt + 16, {0x00, 0x00, 0x80, 0x7F}},
                            Damage{"fading 2", bytes.size() - 2, {2}}}) {
        SCOPED_TRACE(d.what);
        std::vector<std::uint8_t> damaged = bytes;
        std::copy(d.value.begin(), d.value.end(), damaged.begin() + static_cast<std::ptrdiff_t>(d.at));
        Core::MemoryFile bad(damaged.data(), static_cast<std::uint32_t>(damaged.size()));
        const std::int32_t kind = read->GetKind();
        read->Load(bad);
        EXPECT_TRUE(bad.HasFailed());
        EXPECT_TRUE(same(*read, *marker));
        EXPECT_EQ(read->GetKind(), kind);
    }
    for (std::uint32_t size = 0; size < file.GetSize(); ++size) {
        Core::MemoryFile cut(file.GetData(), size);
        EXPECT_EQ(cut.ReadObjectAs<BossProjectile>(Core::File::Reference::Owning), nullptr) << "size " << size;
        EXPECT_TRUE(cut.HasFailed()) << "size " << size;
    }
}

}  // namespace
}  // namespace mygametest
