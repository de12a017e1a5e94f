#include "core/Core_MemoryFile.h"
#include "mygame/MyGame_PathFollower.h"
#include "tundra/Tundra_Game.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

constexpr float kFrame = 1.0f / 60.0f;

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
            follower.Advance(kFrame, position, direction);
            if (follower.t < 1.0f) {
                EXPECT_NEAR(Distance(last, position), 100.0f * kFrame, 0.01f * 100.0f * kFrame) << frames;
            }
            last = position;
            ++frames;
        }
        EXPECT_NEAR(static_cast<float>(frames) * 100.0f * kFrame, follower.curve->GetLength(), 100.0f * kFrame);
        const Vector2D end = follower.curve->GetPosition(1.0f);
        for (int more = 0; more < 10; ++more) {
            follower.Advance(kFrame, position, direction);
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
    follower.Advance(kFrame * 6.0f, position, direction);
    EXPECT_GT(follower.t, 0.0f);
    EXPECT_LT(follower.t, 0.05f);
    EXPECT_LT(Distance(position, follower.curve->GetPosition(0.0f)), 10.0f);
    follower.speed = -100.0f;
    follower.Advance(kFrame * 12.0f, position, direction);
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
        follower.Advance(kFrame, position, direction);
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

}  // namespace
