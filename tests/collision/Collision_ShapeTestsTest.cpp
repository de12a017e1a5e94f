#include "collision/Collision_ShapeTests.h"

#include <gtest/gtest.h>

using namespace Collision2D;

namespace {

Capsule CircleAt(Vector2D c, float r) { return {c, c, r}; }

void ExpectNear(const Vector2D& actual, const Vector2D& expected, const char* name) {
    EXPECT_NEAR(actual.x, expected.x, 1e-4f) << name;
    EXPECT_NEAR(actual.y, expected.y, 1e-4f) << name;
}

}  // namespace

TEST(CollisionShapeTests, KnownContacts) {
    const struct {
        const char* name;
        Capsule own, other;
        float depth;
        Vector2D normal;
        std::uint32_t points;
        Vector2D first, second;
    } cases[] = {
        {"circles crossing", CircleAt({0, 0}, 5), CircleAt({8, 0}, 5), 2, {-1, 0}, 2, {4, 3}, {4, -3}},
        {"circle above a line", CircleAt({0, 3}, 2), {{-10, 0}, {10, 0}, 2}, 1, {0, 1}, 1, {0, 1.5f}, {}},
        {"circle beside an end", CircleAt({12, 0}, 1), {{-10, 0}, {10, 0}, 2}, 1, {1, 0}, 1, {11.5f, 0}, {}},
        {"circle centred on a line", CircleAt({0, 0}, 3), {{-10, 0}, {10, 0}, 1}, 4, {0, 1}, 2, {-3, 0}, {3, 0}},
        {"line above a line", {{-5, 3}, {5, 3}, 1}, {{-5, 0}, {5, 0}, 2.5f}, 0.5f, {0, 1}, 1, {-5, 2.25f}, {}},
        {"lines crossing", {{-5, 0}, {5, 0}, 1}, {{0, -5}, {0, 5}, 1}, 2, {-1, 0}, 1, {0, 0}, {}},
    };
    for (const auto& c : cases) {
        ShapeContact contact;
        ASSERT_TRUE(TestShapes(c.own, c.other, contact)) << c.name;
        EXPECT_FLOAT_EQ(contact.depth, c.depth) << c.name;
        ExpectNear(contact.normal, c.normal, c.name);
        ASSERT_EQ(contact.pointCount, c.points) << c.name;
        ExpectNear(contact.points[0], c.first, c.name);
        if (c.points == 2) {
            ExpectNear(contact.points[1], c.second, c.name);
        }
    }
}

TEST(CollisionShapeTests, SeparateAndTouchingShapesDoNotOverlap) {
    ShapeContact contact;
    EXPECT_FALSE(TestShapes(CircleAt({0, 0}, 5), CircleAt({10, 0}, 5), contact));
    EXPECT_FALSE(TestShapes(CircleAt({0, 4}, 2), {{-10, 0}, {10, 0}, 2}, contact));
    EXPECT_FALSE(TestShapes({{0, 0}, {0, 10}, 1}, {{3, 0}, {3, 10}, 1}, contact));
}

TEST(CollisionShapeTests, SweepFindsTheMeetingTime) {
    const Capsule target = CircleAt({0, 0}, 16);
    const Capsule wall{{0, -50}, {0, 50}, 4};
    const struct {
        const char* name;
        Capsule own, other;
        Vector2D motion;
        bool met;
        float s;
    } cases[] = {
        {"shot through a circle", CircleAt({40, 0}, 10), target, {75, 0}, true, 9.0f / 75.0f},
        {"shot passing above", CircleAt({40, 30}, 10), target, {75, 0}, false, 0},
        {"shot stopping short", CircleAt({-30, 0}, 10), target, {10, 0}, false, 0},
        {"overlapping at the start", CircleAt({40, 0}, 10), target, {30, 0}, true, 0},
        {"shot through a wall", CircleAt({40, 0}, 10), wall, {80, 0}, true, 26.0f / 80.0f},
        {"shot past the wall's end", CircleAt({40, 70}, 10), wall, {80, 0}, false, 0},
        {"wall moving through a shot", wall, CircleAt({-40, 0}, 10), {80, 0}, true, 26.0f / 80.0f},
        {"two lines", wall, {{-40, -5}, {-40, 5}, 1}, {80, 0}, false, 0},
    };
    for (const auto& c : cases) {
        float s = -1.0f;
        ASSERT_EQ(SweepMeetingTime(c.own, c.other, c.motion, s), c.met) << c.name;
        if (c.met) {
            EXPECT_NEAR(s, c.s, 1e-5f) << c.name;
        }
    }
}
