#include "support/Tundra_TestGame.h"

#include "collision/Collision_DynamicObject.h"
#include "physics/Physics_PhysicsEngine.h"
#include "tundra/Tundra_FindObject.h"

using namespace tundratest;

namespace {

void ShutDownTheGame(Physics2D::RigidBody*, Core::Object*) { Tundra::Game::GetInstance()->Shutdown(); }

class HookTest : public GameTest {
protected:
    // Two touching objects with bodies and circles, one also touching a
    // static circle; then arm() and the frame that finds their contacts.
    void StartTouching(const std::function<void()>& arm = [] {}) {
        Start();
        a = &Spawn("a");
        b = &Spawn("b");
        const Physics2D::MassProperties mass(1.0f, 1.0f);
        for (TestObject* object : {a, b}) {
            ASSERT_TRUE(object->AddCollision(CircleShape(5.0f, 1), 0));
            ASSERT_TRUE(object->AddPhysicalProperties(&mass, 0));
        }
        b->SetPosition({6.0f, 0.0f});
        LayerAt(0).AddStaticCircle({-6.0f, 0.0f}, 5.0f, 0, 9);
        Log().clear();
        arm();
        Step(1);
    }

    TestObject* a = nullptr;
    TestObject* b = nullptr;
};

}  // namespace

TEST_F(HookTest, AShutDownFromAnyHookEndsTheFrameOrTheChangeAndEngineStepsFinishFirst) {
    using Arm = std::function<void(TestGame&, TestObject&)>;
    // Shuts down at the entry; a change asks for the level again once the objects run.
    const auto at = [](const std::string& entry, bool change = false) -> Arm {
        return [entry, change](TestGame& game, TestObject&) {
            OnRecord() = [&game, entry, change](const std::string& logged) {
                if (change && logged == "post collision") {
                    game.RestartLevel();
                }
                if (logged == entry) {
                    game.Shutdown();
                }
            };
        };
    };
    const std::pair<const char*, Arm> cases[] = {
        {"first late pass", at("late1 a")},
        {"second late pass", at("late2 a")},
        {"post collision", at("post collision")},
        {"collision filter",
         [](TestGame& game, TestObject&) {
             game.filter = [&game](Tundra::GameObject*, Tundra::GameObject*, float&, float&) {
                 game.Shutdown();
                 return true;
             };
         }},
        {"body callback",
         [](TestGame& game, TestObject& a) {
             game.GetPhysicsEngine()->GetRigidBody(a.GetPhysicsId())->SetTransformCallback(&ShutDownTheGame);
         }},
        {"an object's end in a change", at("end a", true)},
        {"the factory's change hook", at("factory changed", true)},
        {"the build", at("build 0", true)},
        {"the new level's start", at("level start 0", true)},
    };
    for (const auto& [name, arm] : cases) {
        StartTouching([&, arm = arm] { arm(*m_game, *a); });
        const TestGame& game = *m_game;
        Step(2);
        EXPECT_TRUE(game.GetCollisionEngine() == nullptr && game.GetPhysicsEngine() == nullptr) << name;
        EXPECT_EQ(Entries("cleanup a").size(), 1u) << name;
        EXPECT_EQ(Entries("cleanup").size(), 2u) << name;
        OnRecord() = nullptr;
    }

    // Layers added by a late pass wait for the next frame's walk.
    StartTouching();
    Tundra::Level& level = *m_game->GetCurrentLevel();
    OnRecord() = [&level](const std::string& logged) {
        for (int i = 0; i < 8 && logged == "late1 a"; ++i) {
            level.AddLayer(TUN_NEW(Tundra::Layer, 5.0f));
        }
    };
    Step(1);
    EXPECT_EQ(level.GetLayersCount(), 10u);
}

TEST_F(HookTest, AFilterMayRemoveCollisionOrBodiesOrShutTheGameDown) {
    // Each filter acts at its first call on a; what it does is checked on the contacts added after.
    using Act = std::function<void(Tundra::GameObject&)>;
    const std::tuple<const char*, Act> cases[] = {
        {"collision removed", [](Tundra::GameObject& first) { first.RemoveCollision(); }},
        {"collision replaced", [this](Tundra::GameObject& first) { first.AddCollision(CircleShape(1.0f, 2), 0); }},
        {"body replaced",
         [](Tundra::GameObject& first) {
             first.RemovePhysicalProperties();
             Tundra::Game::GetInstance()->GetPhysicsEngine()->AddRigidBody(TUN_NEW(Physics2D::RigidBody));
         }},
        {"level changed (after the step)",
         [](Tundra::GameObject&) {
             Tundra::Game::GetInstance()->RestartLevel();
             Tundra::Game::GetInstance()->ChangeLevelNow();
         }},
        {"shut down", [](Tundra::GameObject&) { Tundra::Game::GetInstance()->Shutdown(); }},
    };
    for (const auto& [name, act] : cases) {
        StartTouching();
        TestGame& game = *m_game;
        Physics2D::PhysicsEngine* physics = game.GetPhysicsEngine();
        const std::uint32_t idA = a->GetPhysicsId();
        int calls = 0;
        game.filter = [&](Tundra::GameObject* first, Tundra::GameObject*, float&, float&) {
            if (calls++ == 0) {
                act(*first);
            }
            return true;
        };
        const std::uint32_t before = physics->GetContactCount();
        Tundra::Game::ContactCallback(physics, &game);
        if (std::string(name) == "shut down") {
            EXPECT_TRUE(calls == 1 && game.GetPhysicsEngine() == nullptr) << name;
            continue;
        }
        EXPECT_GT(calls, 1) << name;
        for (std::uint32_t i = before; i < physics->GetContactCount(); ++i) {
            EXPECT_TRUE(physics->GetContact(i)->bodyA != idA || std::string(name) != "body replaced") << name;
        }
        Step(2);
    }
}

TEST_F(HookTest, ALayerUpdatedFromItsObjectsHooksStartsAndEndsEachObjectOnce) {
    Start();
    Spawn("a");
    Spawn("b");
    OnRecord() = [this](const std::string& logged) {
        if (logged == "start a" || logged == "end a") {
            LayerAt(0).Update(0.0f);
        }
    };
    Step(1);
    EXPECT_EQ(Entries("start").size(), 2u);
    EXPECT_EQ(LayerAt(0).GetGameObjectsCount(), 2u);
    LayerAt(0).RemoveGameObject(Tundra::FindObject<TestObject>("a"));
    Step(1);
    EXPECT_EQ(Entries("end a").size(), 1u);
    EXPECT_EQ(LayerAt(0).GetGameObjectsCount(), 1u);
}
