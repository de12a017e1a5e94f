#pragma once

#include "core/Core_Clock.h"
#include "core/Core_String.h"
#include "tundra/Tundra_Game.h"
#include "tundra/Tundra_GameObject.h"

#include <gtest/gtest.h>

#include <atomic>

namespace Collision2D {
class DynamicObject;
}

#include <functional>
#include <string>
#include <vector>

// A test game, factory, level and object that log their hooks, over a
// scripted clock, on the OS layer's headless backend.
namespace tundratest {

std::vector<std::string>& Log();
// Runs after every entry the doubles log: a test's way into their hooks.
std::function<void(const std::string&)>& OnRecord();
void Record(const std::string& entry);
extern std::atomic<double> g_now;

struct TestObject : Tundra::GameObject {
    TUN_DECLARE_CLASS(TestObject);
    TestObject() = default;
    TestObject(const TestObject&) = default;
    explicit TestObject(const char* name) { SetName(name); }
    void OnStart() override;
    void OnEnd() override;
    void Update(float dt) override;
    void RenderSync(float dt) override;
    void Cleanup() override;
    void ReservedC(float dt) override;
    void ReservedD(float dt) override;
    // Runs inside this object's Update.
    std::function<void(TestObject&)> onUpdate;
};

struct TestLevel : Tundra::Level {
    void OnStart() override;
    void OnEnd() override;
    void Update(float dt) override;
    std::function<void(TestLevel&)> onUpdate;
};

struct TestFactory : Tundra::LevelFactory {
    std::uint32_t GetLevelsCount() const override { return count; }
    Tundra::Level* CreateLevel(std::uint32_t index) override;
    void OnLevelChanged() override { Record("factory changed"); }
    bool GetLevelIndex(const Core::String& name, std::uint32_t& index) const override;
    std::uint32_t count = 3;
    std::uint32_t layers = 2;
    double buildMs = 0.0;
    bool giveNull = false;
    // Fills each new level.
    std::function<void(Tundra::Level&, std::uint32_t)> fill;
};

struct TestGame : Tundra::Game {
    TestGame(TestFactory* factory, std::uint32_t start);
    void OnLevelStarted() override { Record("game started"); }
    void OnLevelEnded() override { Record("game ended"); }
    void PreUpdate(float dt) override;
    void PostCollision(float dt) override { Record("post collision"); }
    bool CollisionFilter(Tundra::GameObject* a, Tundra::GameObject* b, float& restitution, float& friction) override;
    // The network hooks record "net ..." with what they were given (players
    // by id, data bytes in hex).
    bool OnPlayerJoinRequest(Tundra::TunPlayer* player) override;
    void OnJoinAnswer(int answer) override;
    void OnJoinedSession() override { Record("net joined"); }
    void OnSessionHosted() override { Record("net hosted"); }
    void OnSessionEnded() override { Record("net ended"); }
    void OnNetworkEventKind4(Tundra::TunPlayer* player) override;
    void OnNetworkEventKind5(Tundra::TunPlayer* player) override;
    void OnTextMessage(Tundra::TunPlayer* sender, const Core::String& text) override;
    void OnDataMessage(Tundra::TunPlayer* sender, std::uint32_t code, std::uint32_t size, const void* data) override;
    std::function<bool(Tundra::GameObject*, Tundra::GameObject*, float&, float&)> filter;
    // The answer to a join request.
    bool admitPlayers = true;
    std::vector<float> dts;
};

class GameTest : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    // Builds the game and its first level; the next Step updates.
    TestGame& Start(std::uint32_t start = 0);
    void Step(int frames = 1, double ms = 16.0);
    Tundra::Layer& LayerAt(std::uint32_t index) { return *m_game->GetCurrentLevel()->GetLayer(index); }
    // Puts a new object in the layer; it starts at the next update.
    TestObject& Spawn(const char* name, std::uint32_t layer = 0);
    // A collision object of one circle (radius, user id) that collides
    // with group 0; its actor is the game's.
    Collision2D::DynamicObject* CircleShape(float radius, int userId);
    // The log's entries that start with the prefix.
    static std::vector<std::string> Entries(const std::string& prefix);

    Core::RefPtr<TestFactory> m_factory = TUN_NEW(TestFactory);
    Core::RefPtr<TestGame> m_game;

private:
    std::uint8_t m_core = 0;
    Core::ClockFunction m_clock = nullptr;
};

}  // namespace tundratest
