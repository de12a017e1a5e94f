#include "Tundra_ParticleTestSupport.h"

#include "core/Core_Random.h"
#include "os/OS_Random.h"
#include "tundra/Tundra_ParticleEmitterShapes.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>

using namespace Tundra;
using particletest::Body;
using particletest::Bytes;

namespace {

constexpr float kTurn = 6.2831855f;
constexpr float kDegrees = 0.0174532924f;

// One draw as the engine's helpers take it: r = rand() / 32767 in single precision.
float R() { return static_cast<float>(os::Rand() / 32767.0); }

// The rounded draw of 0..3; a fraction of exactly 0.5 goes down.
int Edge() {
    const float v = R() * 3.0f;
    const int whole = static_cast<int>(v);
    return v - static_cast<float>(whole) > 0.5f ? whole + 1 : whole;
}

Vector2D Unit(float radians) { return {std::cos(radians), std::sin(radians)}; }

struct Answer {
    Vector2D position;
    Vector2D direction;
};

Answer Ask(ParticleEmitter& emitter, Answer start = {}) {
    emitter.GetPositionAndDirection(0.016f, start.position, start.direction);
    return start;
}

const Vector2D kEdgeDirections[4] = {{0.0f, -1.0f}, {1.0f, 0.0f}, {0.0f, 1.0f}, {-1.0f, 0.0f}};

Answer OnEdge(const Vector2D (&corners)[4], int edge, float r) {
    const Vector2D& a = corners[edge];
    const Vector2D& b = corners[(edge + 1) % 4];
    return {a + r * (b - a), kEdgeDirections[edge]};
}

struct Shape {
    std::string name;
    std::function<ParticleEmitter*()> make;
    // The answer from the Part's formulas, drawing in its order.
    std::function<Answer()> reference;
};

std::vector<Shape> Shapes() {
    static const Vector2D kCorners[4] = {{10, 20}, {40, 20}, {40, 60}, {10, 60}};
    return {
        {"point", [] { return new PointEmitter(10.0f, 80.0f, {3.0f, -2.0f}); },
         [] { return Answer{{3.0f, -2.0f}, Unit((10.0f + R() * 70.0f) * kDegrees)}; }},
        {"line", [] { return new LineEmitter({1.0f, 2.0f}, {11.0f, 7.0f}); },
         [] {
             const Vector2D d(10.0f, 5.0f);
             const float length = std::sqrt(d.x * d.x + d.y * d.y);
             return Answer{Vector2D(1.0f, 2.0f) + R() * d, {-d.y / length, d.x / length}};
         }},
        {"circle", [] { return new CircleEmitter({5.0f, 5.0f}, 20.0f); },
         [] {
             const Vector2D u = Unit(R() * kTurn);
             return Answer{Vector2D(5.0f, 5.0f) + 20.0f * u, u};
         }},
        {"disk", [] { return new DiskEmitter({5.0f, 5.0f}, 20.0f); },
         [] {
             const float distance = R() * 20.0f;
             const Vector2D u = Unit(R() * kTurn);
             return Answer{Vector2D(5.0f, 5.0f) + distance * u, u};
         }},
        {"rectangle", [] { return new RectangleEmitter(10.0f, 20.0f, 30.0f, 40.0f); },
         [] {
             const int edge = Edge();
             return OnEdge(kCorners, edge, R());
         }},
        {"filled rectangle", [] { return new FilledRectangleEmitter(10.0f, 20.0f, 30.0f, 40.0f); },
         [] {
             const int edge = Edge();
             const float x = 10.0f + R() * 30.0f;
             const float y = 20.0f + R() * 40.0f;
             return Answer{{x, y}, kEdgeDirections[edge]};
         }},
    };
}

}  // namespace

TEST(ParticleEmitter, SeededAnswersEqualThePartsFormulasInTheirDrawOrder) {
    for (const Shape& shape : Shapes()) {
        SCOPED_TRACE(shape.name);
        const Core::RefPtr<ParticleEmitter> emitter = shape.make();
        for (const std::uint32_t seed : {1u, 77u}) {
            SeedRandom(seed);
            std::vector<Answer> expected;
            for (int i = 0; i < 40; ++i) {
                expected.push_back(shape.reference());
            }
            SeedRandom(seed);
            for (const Answer& want : expected) {
                const Answer got = Ask(*emitter);
                ASSERT_EQ(got.position, want.position);
                ASSERT_EQ(got.direction, want.direction);
            }
        }
    }
}

TEST(ParticleEmitter, DegenerateAndBoundaryShapesAnswerAsTheirGeometrySays) {
    SeedRandom(5);
    PointEmitter fixed(45.0f, 45.0f, {1.0f, 1.0f});
    LineEmitter axis({0.0f, 0.0f}, {10.0f, 0.0f});
    LineEmitter dot({4.0f, 4.0f}, {4.0f, 4.0f});
    CircleEmitter centre({2.0f, 3.0f}, 0.0f);
    RectangleEmitter square(0.0f, 0.0f, 100.0f, 100.0f);
    FilledRectangleEmitter filled(0.0f, 0.0f, 100.0f, 50.0f);
    ParticleEmitter base;
    for (int i = 0; i < 200; ++i) {
        EXPECT_EQ(Ask(fixed).direction, Unit(45.0f * kDegrees));
        const Answer onAxis = Ask(axis);
        EXPECT_TRUE(onAxis.position.y == 0.0f && onAxis.position.x >= 0.0f && onAxis.position.x <= 10.0f);
        EXPECT_EQ(onAxis.direction, Vector2D(0.0f, 1.0f));
        const Answer onDot = Ask(dot, {{9.0f, 9.0f}, {9.0f, 9.0f}});
        EXPECT_EQ(onDot.position, Vector2D(4.0f, 4.0f));
        EXPECT_EQ(onDot.direction, Vector2D(0.0f, 0.0f));
        const Answer round = Ask(centre);
        EXPECT_EQ(round.position, Vector2D(2.0f, 3.0f));
        EXPECT_NEAR(round.direction.Length(), 1.0f, 1e-6f);
        // Edge 0 is the bottom, leaving downward; edge 2 the top, leaving upward.
        const Answer edge = Ask(square);
        if (edge.direction == kEdgeDirections[0] || edge.direction == kEdgeDirections[2]) {
            EXPECT_EQ(edge.position.y, edge.direction.y < 0.0f ? 0.0f : 100.0f);
        }
        const Answer inside = Ask(filled);
        EXPECT_TRUE(inside.position.x >= 0.0f && inside.position.x <= 100.0f);
        EXPECT_TRUE(inside.position.y >= 0.0f && inside.position.y <= 50.0f);
        // Without a script the base leaves the caller's values.
        const Answer kept = Ask(base, {{7.0f, 8.0f}, {0.6f, 0.8f}});
        EXPECT_EQ(kept.position, Vector2D(7.0f, 8.0f));
        EXPECT_EQ(kept.direction, Vector2D(0.6f, 0.8f));
    }
}

TEST(ParticleEmitter, APointEmittersBodyIsTheScriptPartThenPositionThenAngles) {
    const PointEmitter emitter(10.0f, 20.0f, {3.0f, 4.0f});
    const Bytes expected = {0, 0, 0, 0, 0, 0, 0,  // script active, empty name, owned, restore
                            0x00, 0x00, 0x40, 0x40, 0x00, 0x00, 0x80, 0x40,   // position (3, 4)
                            0x00, 0x00, 0x20, 0x41, 0x00, 0x00, 0xA0, 0x41};  // angles 10, 20
    EXPECT_EQ(Body(emitter), expected);
}

TEST(ParticleEmitter, AllSevenClassesComeFromTheRegistryWithTheirDefaultsAndRoundTripAndClone) {
    struct Case {
        const char* name;
        std::function<ParticleEmitter*()> defaults;
        std::function<ParticleEmitter*()> custom;
    };
    const Case cases[] = {
        {"Tundra::ParticleEmitter", [] { return new ParticleEmitter; }, [] { return new ParticleEmitter; }},
        {"Tundra::PointEmitter", [] { return new PointEmitter(0.0f, 360.0f, {}); },
         [] { return new PointEmitter(-5.0f, 15.0f, {1.0f, 2.0f}); }},
        {"Tundra::LineEmitter", [] { return new LineEmitter({}, {}); },
         [] { return new LineEmitter({1.0f, 2.0f}, {3.0f, 4.0f}); }},
        {"Tundra::CircleEmitter", [] { return new CircleEmitter({}, 100.0f); },
         [] { return new CircleEmitter({1.0f, 2.0f}, 3.0f); }},
        {"Tundra::DiskEmitter", [] { return new DiskEmitter({}, 100.0f); },
         [] { return new DiskEmitter({-1.0f, 2.0f}, 0.5f); }},
        {"Tundra::RectangleEmitter", [] { return new RectangleEmitter(0.0f, 0.0f, 100.0f, 100.0f); },
         [] { return new RectangleEmitter(1.0f, 2.0f, 3.0f, 4.0f); }},
        {"Tundra::FilledRectangleEmitter", [] { return new FilledRectangleEmitter(0.0f, 0.0f, 100.0f, 100.0f); },
         [] { return new FilledRectangleEmitter(-1.0f, -2.0f, 30.0f, 40.0f); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Core::RefPtr<Core::Object> made = CreateObjectByName(c.name);
        ASSERT_TRUE(made);
        EXPECT_STREQ(made->GetType(), c.name);
        const Core::RefPtr<ParticleEmitter> defaults = c.defaults();
        EXPECT_EQ(Body(*made), Body(*defaults));

        const Core::RefPtr<ParticleEmitter> original = c.custom();
        original->SetScript("smoke.lua");
        original->SetRestoreOnLoad(true);
        const Bytes saved = particletest::Saved(original.Get());
        Core::MemoryFile file(saved.data(), static_cast<std::uint32_t>(saved.size()));
        const Core::RefPtr<ParticleEmitter> read = file.ReadObjectAs<ParticleEmitter>(Core::File::Reference::Owning);
        ASSERT_TRUE(read);
        EXPECT_STREQ(read->GetType(), c.name);
        EXPECT_EQ(read->GetScriptName(), Core::String("smoke.lua"));
        EXPECT_EQ(Body(*read), Body(*original));
        const Core::RefPtr<Core::Object> clone = original->Clone();
        EXPECT_STREQ(clone->GetType(), c.name);
        EXPECT_EQ(Body(*clone), Body(*original));
    }
}

TEST(ParticleEmitter, HostileStreamsOfEveryClassReadOrFailCleanly) {
    const Core::RefPtr<ParticleEmitter> emitters[] = {
        TUN_NEW(ParticleEmitter),
        TUN_NEW(PointEmitter, 0.0f, 90.0f, Vector2D(1.0f, 1.0f)),
        TUN_NEW(LineEmitter, Vector2D(0.0f, 0.0f), Vector2D(5.0f, 5.0f)),
        TUN_NEW(CircleEmitter, Vector2D(1.0f, 1.0f), 4.0f),
        TUN_NEW(DiskEmitter, Vector2D(1.0f, 1.0f), 4.0f),
        TUN_NEW(RectangleEmitter, 0.0f, 0.0f, 8.0f, 8.0f),
        TUN_NEW(FilledRectangleEmitter, 0.0f, 0.0f, 8.0f, 8.0f),
    };
    for (const Core::RefPtr<ParticleEmitter>& emitter : emitters) {
        emitter->SetScript("fx.lua");
        emitter->SetRestoreOnLoad(true);
        particletest::ReadHostile<ParticleEmitter>(particletest::Saved(emitter.Get()), 3000, [](ParticleEmitter& read) {
            read.Update(0.016f);
            Ask(read);
            const Core::RefPtr<Core::Object> clone = read.Clone();
        });
    }
}
