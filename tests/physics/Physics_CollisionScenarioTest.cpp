#include "collision/Collision_TestScenes.h"
#include "core/Core_MemoryFile.h"
#include "support/Physics_ContactBridge.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <string_view>

using namespace scenes;
using bridge::Owner;

namespace {

enum Tag { kShotTag = 1, kTileTag };
constexpr float kTouch = 14 + 30 + 4;  // a player this high has its circle on the ground's 4-unit skin

// On ground along y = 0: a player without forces, its velocity written (0, 0) each frame, on collider tiles
// scrolling left at 100 units a second; a player dropped from high up, one put 6 units into the ground, a stack
// of drops; a massless one-sided shot crossing at 75 units a frame (wrapping) and an enemy that only its sweep meets.
struct Stage : bridge::World {
    Actor player = PlayerActor(), tile = TileActor(), enemy = FlyingEnemyActor(), shot = ShotActor();
    Owner *standing, *dropped, *sunk, *bullet, *target;
    Stage() {
        filter = [](const Owner& a, const Owner*, float&, float&, bool& one) { return one = a.tag == kShotTag, true; };
        collision.AddObject(new StaticCollisionLineSegment(Math::LineSegment2D({-3000, 0}, {3000, 0})), 0, {});
        for (int i = 0; i < 6; ++i) Add(MakeObject(tile.get(), kTile), {48.0f * i - 96, 0}).tag = kTileTag;
        standing = &Add(MakeObject(player.get(), kPlayer), {0, 18 + kTouch - 0.5f}, 1);
        dropped = &Add(MakeObject(player.get(), kPlayer), {1000, 150}, 1, true);
        sunk = &Add(MakeObject(player.get(), kPlayer), {1500, kTouch - 4 - 6}, 1, true);
        for (int i = 0; i < 3; ++i) Add(MakeObject(shot.get(), kPlayer), {2000.0f + 4 * i, 40.0f + 30 * i}, 1, true);
        bullet = &Add(MakeObject(shot.get(), kBullet), {-300, 200}, 0);
        bullet->tag = kShotTag, physics.SetRigidBodyVelocity(bullet->body, {300, 0});
        target = &Add(MakeObject(enemy.get(), kFlyingEnemy), {-190, 218});
    }
    void Frame() {
        for (Owner& o : owners) {
            if (o.tag == kTileTag) o.SetPose(o.position - Vector2D(100.0f / 60.0f, 0), 0);
            if (o.tag == kShotTag && o.position.x > 600) o.SetPose({-600, 200}, 0, true), o.SetPose({-600, 200}, 0);
        }
        physics.SetRigidBodyVelocity(standing->body, {0, 0}), Step();
    }
    const DynamicObject& Results(const Owner* o) const { return *collision.GetCollisionResults(o->collision); }
    std::size_t Hash() {
        Core::MemoryFile file;
        physics.Save(file), collision.Save(file);
        return std::hash<std::string_view>{}({reinterpret_cast<const char*>(file.GetData()), file.GetSize()});
    }
};

}  // namespace

TEST(PhysicsCollisionScenario, BodiesMeetTilesShotsAndGroundAsTheGameExpects) {
    Stage s;
    for (int frame = 1; frame <= 60; ++frame) {
        s.Frame();
        const auto& t = s.Results(s.standing).GetShapeCollisions();  // the tiles' top segment is 22
        ASSERT_TRUE(t.Count() && t[0].currentLineSegmentsNumber > 0 && t[0].lineSegments[0].otherUserId == 22) << frame;
        ASSERT_NEAR(s.standing->position.y, 18 + kTouch - 0.5f, 0.5f) << frame;
        const auto& met = s.Results(s.bullet).GetShapeCollisions();
        if (frame <= 4) {
            EXPECT_EQ(met.Count() == 1 && met[0].handle == s.target->collision, frame == 2) << frame;
        }
        if (frame == 2) {
            EXPECT_GE(s.sunk->position.y, kTouch - 4) << "still inside the ground";
        }
    }
    EXPECT_EQ(s.physics.GetRigidBody(s.bullet->body)->GetVelocity(), Vector2D(300, 0));
    for (int i = 60; i < 300; ++i) s.Frame();
    const float rest = s.dropped->position.y, sunkRest = s.sunk->position.y;
    for (int i = 0; i < 600; ++i) {
        s.Frame();
        ASSERT_NEAR(s.dropped->position.y, rest, 0.1f) << "sank or bounced in frame " << i;
        ASSERT_NEAR(s.sunk->position.y, sunkRest, 0.1f) << i;
        ASSERT_GT(s.Results(s.dropped).GetLineSegmentCollisions().Count(), 0u) << "resting contacts stay reported";
    }
    s.physics.SetRigidBodyVelocity(s.dropped->body, {0, 5});
    float peak = rest;
    for (int i = 0; i < 180; ++i) s.Frame(), peak = std::max(peak, s.dropped->position.y);
    EXPECT_NEAR(peak - rest, 19.1f, 1.0f);
    EXPECT_NEAR(s.dropped->position.y, rest, 0.5f);
}

TEST(PhysicsCollisionScenario, TheSceneReplaysAndResumesFromSavedEnginesExactly) {
    Stage a, b, resumed;
    for (int step = 0; step < 200; ++step) a.Frame(), b.Frame();
    Core::MemoryFile file;
    a.physics.Save(file), a.collision.Save(file);
    resumed.physics.Load(file), resumed.collision.Load(file), resumed.Relink();
    ASSERT_FALSE(file.HasFailed());
    for (int step = 200; step < 600; ++step) a.Frame(), b.Frame(), resumed.Frame();
    EXPECT_EQ(a.Hash(), b.Hash());
    EXPECT_EQ(a.Hash(), resumed.Hash());
}
