#pragma once

#include "support/Tundra_TestGame.h"
#include "core/Core_RefPtr.h"
#include "tundra/Tundra_Layer.h"
#include "tundra/Tundra_Level.h"

#include <array>
#include <cstdint>
#include <functional>
#include <vector>

namespace Collision2D {
class DynamicObject;
}
namespace Physics2D {
class RigidBody;
}

// A game whose every hook may, with a seeded probability, do one random
// public operation on a random live object, as a game and its scripts do.
// One run at a time: the hooks find it through CurrentRun.
namespace tundrastress {

// Where an operation is asked for.
enum class Hook : std::uint8_t {
    ObjectStart,
    ObjectEnd,
    ObjectUpdate,
    ObjectRenderSync,
    ObjectCleanup,
    ObjectLate1,
    ObjectLate2,
    LevelStart,
    LevelEnd,
    LevelUpdate,
    LayerUpdate,
    LayerShutdown,
    GameLevelStarted,
    GameLevelEnded,
    GamePreUpdate,
    GamePostCollision,
    CollisionFilter,
    BodyTransform,
    BodyOldTransform,
    FactoryCreate,
    FactoryChanged,
    Count
};

enum class Op : std::uint8_t {
    AddCollision,
    RemoveCollision,
    AddBody,
    RemoveBody,
    AddForce,
    RemoveForce,
    Mount,
    UnMount,
    Destroy,
    RemoveFromLayer,
    AddToLayer,
    Spawn,
    Clone,
    SaveAndRead,
    Hold,
    Release,
    Rename,
    Move,
    SetVelocity,
    SetLifeTime,
    Find,
    ChangeLevel,
    AddLayer,
    AddStaticShape,
    Shutdown,
    Count
};

const char* HookName(Hook hook);
const char* OpName(Op op);

class Rng {
public:
    explicit Rng(std::uint64_t seed) : m_state(seed) {}
    std::uint64_t Next();
    // In [0, n); 0 when n is 0.
    std::uint32_t Below(std::uint32_t n) { return n == 0 ? 0 : static_cast<std::uint32_t>(Next() % n); }
    bool Chance(std::uint32_t perMillion) { return Below(1000000) < perMillion; }
    float Uniform(float low, float high);

private:
    std::uint64_t m_state;
};

struct StressObject;

struct StressRun {
    explicit StressRun(std::uint64_t seed) : rng(seed) {}

    Rng rng;
    // Every object alive, in any state: the operations' targets.
    std::vector<StressObject*> live;
    // The references the game itself keeps.
    std::vector<Core::RefPtr<Tundra::GameObject>> held;
    // A new collision object of one circle, its actor registered with the game.
    std::function<Collision2D::DynamicObject*(float radius)> makeShape;
    // Set once a hook asked for the shut-down; the hooks stop then.
    bool shutDown = false;
    bool trace = false;
    std::uint64_t frame = 0;
    std::uint64_t objectsMade = 0;
    std::array<std::uint64_t, static_cast<std::size_t>(Op::Count)> done{};
};

// Null outside a run.
StressRun* CurrentRun();
void SetCurrentRun(StressRun* run);

// With the hook's probability, one random operation.
void Act(Hook hook);

struct StressObject : Tundra::GameObject {
    TUN_DECLARE_CLASS(StressObject);
    StressObject();
    StressObject(const StressObject& other);
    ~StressObject() override;
    void OnStart() override { Act(Hook::ObjectStart); }
    void OnEnd() override { Act(Hook::ObjectEnd); }
    void Update(float) override { Act(Hook::ObjectUpdate); }
    void RenderSync(float) override { Act(Hook::ObjectRenderSync); }
    void Cleanup() override;
    void ReservedC(float) override { Act(Hook::ObjectLate1); }
    void ReservedD(float) override { Act(Hook::ObjectLate2); }
    bool cleanedUp = false;
    // Unique in the run, for the trace: ids start again at every level.
    std::uint64_t serial = 0;
};

struct StressLayer : Tundra::Layer {
    explicit StressLayer(float zOrder) : Tundra::Layer(zOrder) {}
    void OnUpdate(float) override { Act(Hook::LayerUpdate); }
    void Shutdown() override;
};

struct StressLevel : Tundra::Level {
    void OnStart() override { Act(Hook::LevelStart); }
    void OnEnd() override { Act(Hook::LevelEnd); }
    void Update(float) override { Act(Hook::LevelUpdate); }
};

// Two or three layers with static ground, and objects enough for a hundred
// or more in the level.
struct StressFactory : tundratest::TestFactory {
    Tundra::Level* CreateLevel(std::uint32_t index) override;
    void OnLevelChanged() override { Act(Hook::FactoryChanged); }
    std::uint32_t objectsPerLevel = 120;
};

struct StressGame : tundratest::TestGame {
    explicit StressGame(StressFactory* factory) : TestGame(factory, 0) {}
    void Shutdown() override;
    void OnLevelStarted() override { Act(Hook::GameLevelStarted); }
    void OnLevelEnded() override { Act(Hook::GameLevelEnded); }
    void PreUpdate(float) override { Act(Hook::GamePreUpdate); }
    void PostCollision(float) override { Act(Hook::GamePostCollision); }
    bool CollisionFilter(Tundra::GameObject* a, Tundra::GameObject* b, float& restitution, float& friction) override;
};

}  // namespace tundrastress
