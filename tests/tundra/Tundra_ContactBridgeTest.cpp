#include "Tundra_TestGame.h"

#include "physics/Physics_PhysicsEngine.h"

using namespace tundratest;

namespace {

struct Call {
    Tundra::GameObject* a;
    Tundra::GameObject* b;
};

}  // namespace

TEST_F(GameTest, EveryIntersectedPointAsksTheFilterWithFreshDefaultsAndAcceptedOnesBecomeContacts) {
    TestGame& game = Start();
    TestObject& a = Spawn("a");
    TestObject& b = Spawn("b");
    const Physics2D::MassProperties mass(1.0f, 1.0f);
    for (TestObject* object : {&a, &b}) {
        ASSERT_TRUE(object->AddCollision(CircleShape(5.0f, 1), 0));
        ASSERT_TRUE(object->AddPhysicalProperties(&mass, 0));
    }
    b.SetPosition({6.0f, 0.0f});
    LayerAt(0).AddStaticCircle({-6.0f, 0.0f}, 5.0f, 0, 9);
    const Core::RefPtr<Physics2D::RigidBody> stray = TUN_NEW(Physics2D::RigidBody);
    game.GetPhysicsEngine()->AddRigidBody(stray.Get());

    std::vector<Call> calls;
    bool freshDefaults = true;
    game.filter = [&](Tundra::GameObject* first, Tundra::GameObject* second, float& restitution, float& friction) {
        freshDefaults &= restitution == 0.3f && friction == 0.5f && !Tundra::Game::GetOneWayCollision();
        calls.push_back({first, second});
        restitution = 9.0f;
        Tundra::Game::SetOneWayCollision(true);
        return second == nullptr;
    };
    Step(1);
    ASSERT_FALSE(calls.empty());
    EXPECT_TRUE(freshDefaults);
    const auto count = [&calls](Tundra::GameObject* first, Tundra::GameObject* second) {
        return std::count_if(calls.begin(), calls.end(), [&](const Call& c) { return c.a == first && c.b == second; });
    };
    EXPECT_GT(count(&a, &b), 0);
    EXPECT_EQ(count(&a, &b), count(&b, &a));
    EXPECT_GT(count(&a, nullptr), 0);
    EXPECT_EQ(count(&b, nullptr), 0);
    EXPECT_EQ(calls.front().a, &a) << "bodies in the engine's order, pairs before statics";

    calls.clear();
    Physics2D::PhysicsEngine& physics = *game.GetPhysicsEngine();
    Tundra::Game::ContactCallback(&physics, &game);
    EXPECT_EQ(physics.GetContactCount(), static_cast<std::uint32_t>(count(&a, nullptr)));
    game.filter = nullptr;
    const std::uint32_t before = physics.GetContactCount();
    Tundra::Game::ContactCallback(&physics, &game);
    EXPECT_EQ(physics.GetContactCount() - before, calls.size());
}
