#include "support/MyGame_TestGame.h"
#include "tundra/Tundra_GameObject.h"

#include <string>
#include <vector>

namespace mygametest {
namespace {

constexpr float kPresetRestitution = 0.3f;
constexpr float kPresetFriction = 0.5f;

struct Contact {
    bool touches;
    bool oneSided;
    float restitution;
    float friction;
    friend bool operator==(const Contact&, const Contact&) = default;
};

std::ostream& operator<<(std::ostream& out, const Contact& c) {
    return out << "{" << c.touches << ", " << c.oneSided << ", " << c.restitution << ", " << c.friction << "}";
}

constexpr Contact kNormal{true, false, kPresetRestitution, kPresetFriction};
constexpr Contact kNone{false, false, kPresetRestitution, kPresetFriction};
constexpr Contact kOneSided{true, true, kPresetRestitution, kPresetFriction};

// Contacts in a stage between the first and second name of each row, in
// that order and reversed.
struct PairRow {
    const char* first;
    const char* second;
    Contact forward;
    Contact reversed;
};

const std::vector<PairRow> kStagePairs = {
    {"EnemyDropTemplate", "Player", kNone, kNone},
    {"EnemyDropTemplate", "RollingSpikeTemplate", kNone, kNone},
    {"EnemyDropTemplate", "ProjectileTemplate", kNone, kOneSided},
    {"EnemyDropTemplate", "BossProjTemplate", kNone, kOneSided},
    {"EnemyDropTemplate", "BulletTemplate", kNone, kOneSided},
    {"EnemyDropTemplate", "FlyingRangedEnemyTemplate", kNone, kOneSided},
    {"EnemyDropTemplate", "WalkingRangedEnemyTemplate", kNone, kOneSided},
    {"RollingSpikeTemplate", "Player", kNone, kNone},
    {"RollingSpikeTemplate", "ProjectileTemplate", kNone, kNone},
    {"RollingSpikeTemplate", "BulletTemplate", kNone, kOneSided},
    {"RollingSpikeTemplate", "WalkingRangedEnemyTemplate", kNone, kOneSided},
    {"RollingSpikeTemplate", "FlyingRangedEnemyTemplate", kNone, kOneSided},
    {"RollingSpikeTemplate", "BearBossBody", kNone, kOneSided},
    {"Player", "BulletTemplate", kNone, kNone},
    {"Player", "WalkingRangedEnemyTemplate", kNone, kNone},
    {"Player", "ProjectileTemplate", kNone, kOneSided},
    {"Player", "FlyingRangedEnemyTemplate", kNone, kOneSided},
    {"Player", "BossProjTemplate", kNone, kNone},
    {"Player", "UnknownBoss", kNone, kOneSided},
    {"Player", "UnknownEye", kNone, kNone},
    {"WalkingRangedEnemyTemplate", "BulletTemplate", kNone, kOneSided},
    {"WalkingRangedEnemyTemplate", "ProjectileTemplate", kNone, kOneSided},
    {"ProjectileTemplate", "FlyingRangedEnemyTemplate", kNone, kOneSided},
    {"ProjectileTemplate", "BulletTemplate", kNone, kNone},
    {"ProjectileTemplate", "BossProjTemplate", kNone, kNone},
    {"BearRArm", "MapTileTemplate", kNone, kOneSided},
    {"BearRArm", "RollingSpikeTemplate", kNone, kOneSided},
    {"BearRArm", "ProjectileTemplate", kNone, kOneSided},
    {"BearRArm", "BossProjTemplate", kNone, kOneSided},
    {"BearRArm", "BearLArm", kNone, kNone},
    {"BearRArm", "MapTileColliderTemplate", kNone, kOneSided},
    {"BearRArm", "BearBossBody", kNone, kOneSided},
    {"BearRArm", "Player", kNone, kOneSided},
    {"BearLArm", "MapTileTemplate", kNone, kOneSided},
    {"BearLArm", "RollingSpikeTemplate", kNone, kOneSided},
    {"BearLArm", "ProjectileTemplate", kNone, kOneSided},
    {"BearLArm", "BossProjTemplate", kNone, kOneSided},
    {"BearLArm", "MapTileColliderTemplate", kNone, kOneSided},
    {"BearLArm", "BearBossBody", kNone, kOneSided},
    {"BearLArm", "Player", kNone, kOneSided},
    {"BossProjTemplate", "BulletTemplate", kNone, kNone},
    {"BossProjTemplate", "RollingSpikeTemplate", kNone, kOneSided},
    // The player on the ground tiles: firm and without a bounce.
    {"Player", "MapTileTemplate", {true, false, 0.0f, 1.0f}, {true, false, 0.0f, 1.0f}},
    {"Player", "MapTileColliderTemplate", {true, false, 0.0f, 1.0f}, {true, false, 0.0f, 1.0f}},
    // Unlisted pairs, clones of one template, and names that only look alike.
    {"Player", "Player", kNormal, kNormal},
    {"BulletTemplate", "BulletTemplate", kNormal, kNormal},
    {"Player", "CloudTemplate", kNormal, kNormal},
    {"player", "BulletTemplate", kNormal, kNormal},
    {"Player ", "BulletTemplate", kNormal, kNormal},
};

class CollisionFilterTest : public MyGameTest {
protected:
    // The filter as the contact callback calls it: presets set and the
    // one-sided flag cleared first. A null name is static geometry.
    Contact Filter(const char* a, const char* b) {
        const Core::RefPtr<Tundra::GameObject> first = Named(a);
        const Core::RefPtr<Tundra::GameObject> second = b != nullptr ? Named(b) : nullptr;
        Contact contact{false, false, kPresetRestitution, kPresetFriction};
        Tundra::Game::SetOneWayCollision(false);
        contact.touches = Game().CollisionFilter(first.Get(), second.Get(), contact.restitution, contact.friction);
        contact.oneSided = Tundra::Game::GetOneWayCollision();
        return contact;
    }

    static Core::RefPtr<Tundra::GameObject> Named(const char* name) {
        Core::RefPtr<Tundra::GameObject> object = TUN_NEW(Tundra::GameObject);
        object->SetName(name);
        return object;
    }

    // Every name the stage rules know, and one they do not.
    static std::vector<const char*> AllNames() {
        std::vector<const char*> names = {"Stranger"};
        for (const PairRow& row : kStagePairs) {
            names.push_back(row.first);
            names.push_back(row.second);
        }
        return names;
    }
};

TEST_F(CollisionFilterTest, StagePairsBothWays) {
    StartGame();
    ASSERT_TRUE(GoToLevel(2));
    for (const PairRow& row : kStagePairs) {
        EXPECT_EQ(Filter(row.first, row.second), row.forward) << row.first << " / " << row.second;
        EXPECT_EQ(Filter(row.second, row.first), row.reversed) << row.second << " / " << row.first;
    }
}

TEST_F(CollisionFilterTest, StaticGeometryPerLevel) {
    struct Row {
        std::uint32_t level;
        const char* name;
        Contact contact;
    };
    const Row rows[] = {
        {0, "Player", kNormal},
        {0, "BulletTemplate", kNormal},
        {1, "Player", {true, false, 0.0f, kPresetFriction}},
        {1, "BulletTemplate", kNormal},
        {1, "MenuPlayer", kNormal},
        {2, "Player", kNormal},
        {2, "EnemyDropTemplate", kNormal},
        {2, "BearRArm", kNormal},
    };
    StartGame();
    Step();
    for (const Row& row : rows) {
        if (Game().GetCurrentLevelIndex() != row.level) {
            ASSERT_TRUE(GoToLevel(row.level));
        }
        EXPECT_EQ(Filter(row.name, nullptr), row.contact) << row.level << " " << row.name;
    }
}

// Outside a stage the named pairs mean nothing: every contact is normal.
TEST_F(CollisionFilterTest, OtherLevelsKeepEveryPairNormal) {
    StartGame();
    Step();
    for (const std::uint32_t level : {0u, 1u}) {
        if (Game().GetCurrentLevelIndex() != level) {
            ASSERT_TRUE(GoToLevel(level));
        }
        for (const char* a : AllNames()) {
            for (const char* b : {"Player", "BulletTemplate", "MapTileTemplate", "BearLArm"}) {
                EXPECT_EQ(Filter(a, b), kNormal) << level << " " << a << " / " << b;
            }
        }
    }
}

}  // namespace
}  // namespace mygametest
