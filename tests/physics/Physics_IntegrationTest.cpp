#include "Physics_TestWorld.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numbers>

using namespace Physics2D;

namespace {

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();

PhysicsEngine MakeEngine() {
    PhysicsEngine engine;
    engine.SetScale(15.0f);
    return engine;
}

}  // namespace

TEST(MassPropertiesTest, InversesAreZeroForValuesThatCannotBeInverted) {
    const struct { float value, inverse; } cases[] = {
        {2.0f, 0.5f}, {4.0f, 0.25f}, {0.0f, 0.0f}, {-1.0f, 0.0f}, {kNaN, 0.0f},
        {std::numeric_limits<float>::infinity(), 0.0f}};
    for (const auto& c : cases) {
        const MassProperties mass(c.value, c.value);
        EXPECT_EQ(mass.GetInverseMass(), c.inverse) << c.value;
        EXPECT_EQ(mass.GetInverseInertia(), c.inverse) << c.value;
    }
}

TEST(IntegrationTest, OneGravityStepFromRestPerIntegrator) {
    const struct { int kind; float y; } cases[] = {{0, 0.0f}, {7, 0.0f}, {1, -0.0294f}, {2, -0.0294f}};
    for (const auto& c : cases) {
        PhysicsEngine engine = MakeEngine();
        const std::uint32_t id = engine.AddRigidBody(MakeBody(1.0f, c.kind, {}));
        engine.AddRigidBodyForce(id, MakeGravity());
        engine.Update(0.02f);
        const RigidBody* body = engine.GetRigidBody(id);
        EXPECT_NEAR(body->GetPosition().y, c.y, 1e-6f) << "kind " << c.kind;
        EXPECT_EQ(body->GetPosition().x, 0.0f);
        EXPECT_NEAR(body->GetVelocity().y, -0.196f, 1e-6f) << "kind " << c.kind;
    }
}

TEST(IntegrationTest, MasslessBodiesFlyUnmovedByForcesAndKindThreeNeverMoves) {
    PhysicsEngine engine = MakeEngine();
    CallbackLog log;
    const std::uint32_t shot = engine.AddRigidBody(MakeBody(0.0f, 0, {}));
    const std::uint32_t fixed = engine.AddRigidBody(MakeBody(1.0f, 3, {}, &log));
    for (const std::uint32_t id : {shot, fixed}) {
        engine.SetRigidBodyVelocity(id, {50.0f, 0.0f});
        engine.AddRigidBodyForce(id, MakeGravity());
    }
    engine.Update(0.01f);
    EXPECT_NEAR(engine.GetRigidBody(shot)->GetPosition().x, 50.0f * 15.0f * 0.01f, 1e-4f);
    EXPECT_EQ(engine.GetRigidBody(shot)->GetVelocity(), Vector2D(50.0f, 0.0f));
    EXPECT_EQ(engine.GetRigidBody(fixed)->GetPosition(), Vector2D());
    EXPECT_TRUE(log.calls.empty());
}

// A spring of the test's own: a force that depends on the position, so that
// each integrator's error shows in the energy it adds.
class SpringForce : public Force {
public:
    Vector2D Evaluate(const BodyState& state, const MassProperties&) const override { return state.position * -1.0f; }
};

TEST(IntegrationTest, SpringEnergyDriftsLeastWithHigherOrderIntegrators) {
    // Unit mass, stiffness 1, scale 1: period 2 pi, energy (x^2 + v^2) / 2.
    float drift[3] = {};
    for (int kind : {0, 1, 2}) {
        PhysicsEngine engine;
        engine.SetMaximumSimulationStep(1.0f);
        const std::uint32_t id = engine.AddRigidBody(MakeBody(1.0f, kind, {1.0f, 0.0f}));
        engine.AddRigidBodyForce(id, TUN_NEW(SpringForce));
        const RigidBody* body = engine.GetRigidBody(id);
        const auto energy = [&] { return 0.5f * (body->GetPosition().Dot(body->GetPosition()) + body->GetVelocity().Dot(body->GetVelocity())); };
        const int stepsPerPeriod = static_cast<int>(std::lround(2.0f * std::numbers::pi_v<float> * 60.0f));
        float previous = energy();
        for (int period = 0; period < 100; ++period) {
            for (int step = 0; step < stepsPerPeriod; ++step) engine.Update(1.0f / 60.0f);
            if (kind == 0) {
                EXPECT_GT(energy(), previous) << "period " << period;
            }
            previous = energy();
        }
        drift[kind] = std::abs(energy() - 0.5f);
    }
    EXPECT_LT(drift[1], drift[0] / 10.0f);
    EXPECT_LT(drift[2], 1e-3f);
}

TEST(IntegrationTest, TheStepIsCappedAndNonsenseStepsDoNothing) {
    const struct { float maximum, dt, expectedX; } cases[] = {
        {0.02f, 0.05f, 1.0f * 0.02f}, {0.02f, 0.01f, 0.01f}, {0.02f, 0.0f, 0.0f},
        {0.02f, -1.0f, 0.0f},         {0.02f, kNaN, 0.0f},    {1e-12f, 0.02f, 1e-12f}};
    for (const auto& c : cases) {
        PhysicsEngine engine;
        engine.SetMaximumSimulationStep(c.maximum);
        const std::uint32_t id = engine.AddRigidBody(MakeBody(1.0f, 0, {}));
        engine.SetRigidBodyVelocity(id, {1.0f, 0.0f});
        engine.Update(c.dt);
        EXPECT_FLOAT_EQ(engine.GetRigidBody(id)->GetPosition().x, c.expectedX) << c.dt;
    }
    PhysicsEngine paused;
    paused.SetScale(15.0f);
    paused.SetMaximumSimulationStep(1e-12f);
    const std::uint32_t id = paused.AddRigidBody(MakeBody(1.0f, 2, {}));
    paused.AddRigidBodyForce(id, MakeGravity());
    for (int frame = 0; frame < 1000; ++frame) paused.Update(1.0f / 60.0f);
    EXPECT_LT(std::abs(paused.GetRigidBody(id)->GetPosition().y), 1e-6f);
}

namespace {

// A body whose owner, when told of a move, moves itself again, pushes a
// second body and removes a third, as game objects do through their setters.
struct Meddler : Core::Object {
    PhysicsEngine* engine = nullptr;
    std::uint32_t pushed = 0;
    std::uint32_t removed = 0;

    static void Moved(RigidBody* body, Core::Object* owner) {
        auto* self = static_cast<Meddler*>(owner);
        body->SetPosition(body->GetPosition() + Vector2D(0.0f, 100.0f));
        self->engine->SetRigidBodyVelocity(self->pushed, {0.0f, 7.0f});
        self->engine->RemoveRigidBody(self->removed);
    }
};

}  // namespace

TEST(IntegrationTest, CallbacksSeeThePoseLeftThenTheNewOneAndMayReenterTheEngine) {
    PhysicsEngine engine;
    CallbackLog log;
    const std::uint32_t logged = engine.AddRigidBody(MakeBody(1.0f, 0, {}, &log));
    engine.SetRigidBodyPosition(logged, {});
    engine.SetRigidBodyVelocity(logged, {2.0f, 0.0f});
    EXPECT_TRUE(log.calls.empty()) << "a by-index setter called back";
    engine.SetMaximumSimulationStep(1.0f);
    engine.Update(0.5f);
    ASSERT_EQ(log.calls.size(), 2u);
    EXPECT_TRUE(log.calls[0].old);
    EXPECT_EQ(log.calls[0].position, Vector2D(0.0f, 0.0f));
    EXPECT_FALSE(log.calls[1].old);
    EXPECT_EQ(log.calls[1].position, Vector2D(1.0f, 0.0f));

    Meddler meddler;
    meddler.engine = &engine;
    auto* first = TUN_NEW(RigidBody, MassProperties(1.0f), 0, &Meddler::Moved, nullptr, &meddler);
    const std::uint32_t meddling = engine.AddRigidBody(first);
    meddler.pushed = engine.AddRigidBody(MakeBody(1.0f, 0, {}));
    meddler.removed = engine.AddRigidBody(MakeBody(1.0f, 0, {}));
    engine.Update(0.5f);
    EXPECT_EQ(engine.GetRigidBody(meddling)->GetPosition().y, 100.0f);
    EXPECT_EQ(engine.GetRigidBody(meddler.pushed)->GetPosition().y, 0.5f * 7.0f);
    EXPECT_EQ(engine.GetRigidBody(meddler.removed), nullptr);
}
