#include "Tundra_StressWorld.h"

#include "core/Core_MemoryFile.h"
#include "physics/Physics_Force.h"
#include "physics/Physics_PhysicsEngine.h"
#include "tundra/Tundra_FindObject.h"

#include <algorithm>
#include <cstdio>
#include <string>

namespace tundrastress {
namespace {

StressRun* g_run = nullptr;

constexpr std::size_t kHooks = static_cast<std::size_t>(Hook::Count);
constexpr std::size_t kOps = static_cast<std::size_t>(Op::Count);

constexpr std::array<const char*, kHooks> kHookNames = {
    "object start", "object end",     "object update", "object render sync", "object cleanup",  "object late 1",
    "object late 2", "level start",   "level end",     "level update",       "layer update",    "layer shutdown",
    "game started", "game ended",     "pre update",    "post collision",     "collision filter", "body transform",
    "body old transform", "factory create", "factory changed"};

// Chance per call, in millionths: hooks that run once a frame act often,
// those that run per object, per contact point or per body seldom, so that
// a frame sees a dozen operations or so.
constexpr std::array<std::uint32_t, kHooks> kRates = {
    100000, 100000, 40000,  10000,  100000, 10000, 10000, 300000, 300000, 300000, 200000,
    200000, 500000, 500000, 300000, 300000, 10000, 5000,  5000,   500000, 500000};

struct OpInfo {
    const char* name;
    std::uint32_t weight;
    bool needsTarget;
};

// Weights out of about 11,800: a level change asked for every seventy
// frames or so, a shut-down every thousand.
constexpr std::array<OpInfo, kOps> kOpInfo = {{
    {"add collision", 700, true},
    {"remove collision", 400, true},
    {"add body", 700, true},
    {"remove body", 400, true},
    {"add force", 500, true},
    {"remove force", 300, true},
    {"mount", 600, true},
    {"unmount", 400, true},
    {"destroy", 600, true},
    {"remove from layer", 400, true},
    {"add to layer", 500, true},
    {"spawn", 800, false},
    {"clone", 500, true},
    {"save and read", 200, true},
    {"hold", 500, true},
    {"release", 500, false},
    {"rename", 500, true},
    {"move", 1000, true},
    {"set velocity", 800, true},
    {"set lifetime", 200, true},
    {"find", 200, false},
    {"change level", 12, false},
    {"add layer", 60, false},
    {"add static shape", 300, false},
    {"shutdown", 1, false},
}};

constexpr std::uint32_t TotalWeight() {
    std::uint32_t total = 0;
    for (const OpInfo& info : kOpInfo) {
        total += info.weight;
    }
    return total;
}

constexpr const char* kNames[] = {"a", "b", "c", "player", ""};
constexpr std::size_t kMostObjects = 600;
constexpr std::size_t kMostHeld = 64;
constexpr std::uint32_t kMostLayers = 6;

Tundra::Game* RunningGame() {
    Tundra::Game* game = Tundra::Game::GetInstance();
    return game != nullptr && game->GetCollisionEngine() != nullptr && game->GetPhysicsEngine() != nullptr ? game
                                                                                                            : nullptr;
}

void OnBodyTransform(Physics2D::RigidBody* body, Core::Object* owner) {
    Tundra::GameObject::OnRigidBodyTransform(body, owner);
    Act(Hook::BodyTransform);
}

void OnBodyOldTransform(Physics2D::RigidBody* body, Core::Object* owner) {
    Tundra::GameObject::OnRigidBodyOldTransform(body, owner);
    Act(Hook::BodyOldTransform);
}

const char* RandomName(Rng& rng) { return kNames[rng.Below(std::size(kNames))]; }

// A new last layer with static ground along y = 0.
Tundra::Layer& AddGroundLayer(Tundra::Level& level) {
    auto* layer = TUN_NEW(StressLayer, static_cast<float>(level.GetLayersCount()));
    level.AddLayer(layer);
    layer->AddStaticLineSegment({-2000.0f, 0.0f}, {2000.0f, 0.0f}, 0, 1);
    return *layer;
}

Vector2D RandomPoint(Rng& rng) { return {rng.Uniform(-400.0f, 400.0f), rng.Uniform(-50.0f, 400.0f)}; }

Core::RefPtr<Tundra::Layer> RandomLayer(Rng& rng, const Tundra::Level* level) {
    const std::uint32_t count = level != nullptr ? level->GetLayersCount() : 0;
    return count != 0 ? level->GetLayer(rng.Below(count)) : nullptr;
}

bool AddBody(StressRun& run, Tundra::GameObject& object) {
    const Physics2D::MassProperties mass(run.rng.Uniform(0.5f, 3.0f), run.rng.Uniform(0.5f, 3.0f));
    if (!object.AddPhysicalProperties(&mass, static_cast<int>(run.rng.Below(4)))) {
        return false;
    }
    if (Physics2D::RigidBody* body = RunningGame()->GetPhysicsEngine()->GetRigidBody(object.GetPhysicsId())) {
        body->SetTransformCallback(&OnBodyTransform);
        body->SetOldTransformCallback(&OnBodyOldTransform);
    }
    return true;
}

void AddForce(StressRun& run, Tundra::GameObject& object) {
    switch (run.rng.Below(3)) {
        case 0: object.AddForce(TUN_NEW(Physics2D::GravityForce, Vector2D(0.0f, -1.0f), run.rng.Uniform(0, 60))); break;
        case 1: object.AddForce(TUN_NEW(Physics2D::ConstantForce, Vector2D(run.rng.Uniform(-20, 20), 0.0f))); break;
        default: object.AddForce(TUN_NEW(Physics2D::DragForce, run.rng.Uniform(0.0f, 1.0f))); break;
    }
}

// Named, placed, and sometimes given a collision object in the collision
// layer, a body with gravity and a lifetime.
Core::RefPtr<StressObject> NewObject(StressRun& run, std::uint8_t collisionLayer) {
    const Core::RefPtr<StressObject> object = TUN_NEW(StressObject);
    object->SetName(RandomName(run.rng));
    object->SetPosition(RandomPoint(run.rng));
    if (run.rng.Below(2) == 0) {
        object->AddCollision(run.makeShape(run.rng.Uniform(2.0f, 12.0f)), collisionLayer);
        if (run.rng.Below(3) != 0 && AddBody(run, *object)) {
            object->AddForce(TUN_NEW(Physics2D::GravityForce, Vector2D(0.0f, -1.0f), 30.0f));
        }
    }
    if (run.rng.Below(20) == 0) {
        object->SetLifeTime(run.rng.Uniform(0.05f, 2.0f));
    }
    return object;
}

// A new object in a random layer of the level; the live object or null.
Tundra::GameObject* SpawnInto(Tundra::Level& level) {
    StressRun& run = *g_run;
    const Core::RefPtr<Tundra::Layer> layer = RandomLayer(run.rng, &level);
    if (!layer) {
        return nullptr;
    }
    const Core::RefPtr<StressObject> object = NewObject(run, layer->GetCollisionId());
    layer->AddGameObject(object.Get());
    return object->GetLayer() == layer.Get() ? object.Get() : nullptr;
}

void RequestLevelChange(StressRun& run, Tundra::Game& game) {
    switch (run.rng.Below(5)) {
        case 0: game.GoToLevel(run.rng.Below(game.GetLevelsCount() + 1)); break;
        case 1: game.GoToNextLevel(); break;
        case 2: game.GoToPreviousLevel(); break;
        case 3: game.RestartLevel(); break;
        default: game.GoToLevelByName(std::to_string(run.rng.Below(4)).c_str()); break;
    }
}

void Move(StressRun& run, Tundra::GameObject& target) {
    Rng& rng = run.rng;
    switch (rng.Below(8)) {
        case 0: target.SetPosition(RandomPoint(rng)); break;
        case 1: target.SetOldPosition(RandomPoint(rng)); break;
        case 2: target.SetRotationAngle(rng.Uniform(-720.0f, 720.0f)); break;
        case 3: target.SetScale(rng.Uniform(0.1f, 4.0f), rng.Uniform(0.1f, 4.0f)); break;
        case 4: target.SetCenter({rng.Uniform(-10.0f, 10.0f), rng.Uniform(-10.0f, 10.0f)}); break;
        case 5: target.SetDirectionX(rng.Uniform(-1.0f, 1.0f)); break;
        case 6: target.SetVisible(rng.Below(2) == 0); break;
        default: target.SetOldRotationAngle(rng.Uniform(-180.0f, 180.0f)); break;
    }
}

void SetVelocity(StressRun& run, Tundra::GameObject& target) {
    Rng& rng = run.rng;
    switch (rng.Below(4)) {
        case 0: target.SetVelocity({rng.Uniform(-200.0f, 200.0f), rng.Uniform(-200.0f, 200.0f)}); break;
        case 1: target.SetAngularVelocity(rng.Uniform(-360.0f, 360.0f)); break;
        case 2: target.SetSpeed(rng.Uniform(0.0f, 300.0f)); break;
        // A zero direction too.
        default: target.SetVelocityDirection(rng.Uniform(-1, 1) * float(rng.Below(2)), rng.Uniform(-1, 1)); break;
    }
}

void Perform(StressRun& run, Op op, Tundra::Game& game, Tundra::GameObject* target) {
    Rng& rng = run.rng;
    const Core::RefPtr<Tundra::Level> level = game.GetCurrentLevel();
    switch (op) {
        case Op::AddCollision: {
            const Core::RefPtr<Tundra::Layer> layer = RandomLayer(rng, level.Get());
            target->AddCollision(run.makeShape(rng.Uniform(2.0f, 12.0f)), layer ? layer->GetCollisionId() : 0);
            return;
        }
        case Op::RemoveCollision: target->RemoveCollision(); return;
        case Op::AddBody: AddBody(run, *target); return;
        case Op::RemoveBody: target->RemovePhysicalProperties(); return;
        case Op::AddForce: AddForce(run, *target); return;
        case Op::RemoveForce:
            if (rng.Below(4) == 0) {
                target->RemoveAllForces();
            } else {
                target->RemoveForce(rng.Below(3));
            }
            return;
        case Op::Mount: {
            const Core::RefPtr<StressObject> other = run.live[rng.Below(static_cast<std::uint32_t>(run.live.size()))];
            target->Mount(other.Get());
            return;
        }
        case Op::UnMount: {
            if (target->GetMountsCount() != 0) {
                const auto count = static_cast<std::uint32_t>(target->GetMountsCount());
                const Core::RefPtr<Tundra::GameObject> child = target->GetMountAt(static_cast<int>(rng.Below(count)));
                target->UnMount(child.Get());
            } else if (const Core::RefPtr<Tundra::GameObject> mount = target->GetMount()) {
                mount->UnMount(target);
            }
            return;
        }
        case Op::Destroy: target->Destroy(); return;
        case Op::RemoveFromLayer:
            if (const Core::RefPtr<Tundra::Layer> layer = target->GetLayer()) {
                layer->RemoveGameObject(target);
            }
            return;
        case Op::AddToLayer:
            if (const Core::RefPtr<Tundra::Layer> layer = RandomLayer(rng, level.Get())) {
                layer->AddGameObject(target);
            }
            return;
        case Op::Spawn:
            // Now and then one the game keeps outside every layer.
            if (run.live.size() >= kMostObjects) {
                return;
            }
            if (rng.Below(8) == 0 && run.held.size() < kMostHeld) {
                run.held.emplace_back(NewObject(run, 0).Get());
            } else if (level) {
                SpawnInto(*level);
            }
            return;
        case Op::Clone: {
            const Core::RefPtr<Tundra::Layer> layer = RandomLayer(rng, level.Get());
            if (layer && run.live.size() < kMostObjects) {
                const Core::RefPtr<Tundra::GameObject> copy = static_cast<Tundra::GameObject*>(target->Clone());
                layer->AddGameObject(copy.Get());
            }
            return;
        }
        case Op::SaveAndRead: {
            // A save of one object taken out of the running scene, read back
            // beside it and sometimes put in a layer.
            Core::MemoryFile saved;
            saved << target;
            Core::MemoryFile file(saved.GetData(), saved.GetSize());
            const Core::RefPtr<Tundra::GameObject> copy =
                file.ReadObjectAs<Tundra::GameObject>(Core::File::Reference::Owning);
            const Core::RefPtr<Tundra::Layer> layer = RandomLayer(rng, level.Get());
            if (copy && layer && run.live.size() < kMostObjects) {
                layer->AddGameObject(copy.Get());
            }
            return;
        }
        case Op::Hold:
            if (run.held.size() < kMostHeld) {
                run.held.emplace_back(target);
            }
            return;
        case Op::Release:
            if (!run.held.empty()) {
                // Out of the list first: the object may go, and its end may act.
                const auto at = run.held.begin() + rng.Below(static_cast<std::uint32_t>(run.held.size()));
                Core::RefPtr<Tundra::GameObject> last = *at;
                run.held.erase(at);
                last = nullptr;
            }
            return;
        case Op::Rename: target->SetName(RandomName(rng)); return;
        case Op::Move: Move(run, *target); return;
        case Op::SetVelocity: SetVelocity(run, *target); return;
        case Op::SetLifeTime: target->SetLifeTime(rng.Uniform(0.01f, 0.5f)); return;
        case Op::Find:
            if (const Core::RefPtr<StressObject> found = Tundra::FindObject<StressObject>(RandomName(rng))) {
                found->SetPositionX(found->GetPositionX() + 1.0f);
            }
            return;
        case Op::ChangeLevel: RequestLevelChange(run, game); return;
        case Op::AddLayer:
            if (level && level->GetLayersCount() < kMostLayers) {
                AddGroundLayer(*level);
            }
            return;
        case Op::AddStaticShape:
            if (const Core::RefPtr<Tundra::Layer> layer = RandomLayer(rng, level.Get())) {
                const Vector2D at = RandomPoint(rng);
                if (rng.Below(2) == 0) {
                    const Vector2D to = at + Vector2D(rng.Uniform(-80.0f, 80.0f), rng.Uniform(-20.0f, 20.0f));
                    layer->AddStaticLineSegment(at, to, 0, 3);
                } else {
                    layer->AddStaticCircle(at, rng.Uniform(1.0f, 40.0f), 0, 4);
                }
            }
            return;
        case Op::Shutdown: game.Shutdown(); return;
        case Op::Count: return;
    }
}

Op PickOp(Rng& rng) {
    std::uint32_t pick = rng.Below(TotalWeight());
    for (std::size_t i = 0; i < kOps; ++i) {
        if (pick < kOpInfo[i].weight) {
            return static_cast<Op>(i);
        }
        pick -= kOpInfo[i].weight;
    }
    return Op::Move;
}

}  // namespace

const char* HookName(Hook hook) { return kHookNames[static_cast<std::size_t>(hook)]; }

const char* OpName(Op op) { return kOpInfo[static_cast<std::size_t>(op)].name; }

std::uint64_t Rng::Next() {
    // splitmix64: the same sequence on every platform.
    std::uint64_t z = (m_state += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

float Rng::Uniform(float low, float high) {
    return low + (high - low) * static_cast<float>(Next() >> 40) / static_cast<float>(1u << 24);
}

StressRun* CurrentRun() { return g_run; }

void SetCurrentRun(StressRun* run) { g_run = run; }

void Act(Hook hook) {
    StressRun* run = g_run;
    Tundra::Game* game = RunningGame();
    if (run == nullptr || run->shutDown || game == nullptr) {
        return;
    }
    if (!run->rng.Chance(kRates[static_cast<std::size_t>(hook)])) {
        return;
    }
    const Op op = PickOp(run->rng);
    const OpInfo& info = kOpInfo[static_cast<std::size_t>(op)];
    // A quarter of the time one the game keeps, as a game keeps its player.
    Core::RefPtr<Tundra::GameObject> target;
    if (info.needsTarget) {
        if (run->live.empty()) {
            return;
        }
        const bool kept = !run->held.empty() && run->rng.Below(4) == 0;
        target = kept ? run->held[run->rng.Below(static_cast<std::uint32_t>(run->held.size()))]
                      : run->live[run->rng.Below(static_cast<std::uint32_t>(run->live.size()))];
    }
    if (run->trace) {
        const auto* object = dynamic_cast<const StressObject*>(target.Get());
        std::fprintf(stderr, "frame %llu %s: %s %s#%u serial %llu\n", static_cast<unsigned long long>(run->frame),
                     HookName(hook), info.name, target ? target->GetName().c_str() : "", target ? target->GetID() : 0u,
                     static_cast<unsigned long long>(object != nullptr ? object->serial : 0));
    }
    ++run->done[static_cast<std::size_t>(op)];
    Perform(*run, op, *game, target.Get());
}

StressObject::StressObject() {
    if (g_run != nullptr) {
        g_run->live.push_back(this);
        serial = ++g_run->objectsMade;
    }
}

// A clone starts its own life: it was never cleaned up.
StressObject::StressObject(const StressObject& other) : Tundra::GameObject(other) {
    if (g_run != nullptr) {
        g_run->live.push_back(this);
        serial = ++g_run->objectsMade;
    }
}

StressObject::~StressObject() {
    if (g_run != nullptr) {
        std::erase(g_run->live, this);
    }
}

void StressObject::Cleanup() {
    if (!cleanedUp) {
        Act(Hook::ObjectCleanup);
    }
    cleanedUp = true;
    GameObject::Cleanup();
}

void StressLayer::Shutdown() {
    Act(Hook::LayerShutdown);
    Layer::Shutdown();
}

Tundra::Level* StressFactory::CreateLevel(std::uint32_t index) {
    StressRun& run = *g_run;
    // Count 0 until the game takes it; nothing below holds it.
    auto* level = TUN_NEW(StressLevel);
    level->SetTypeName(std::to_string(index).c_str());
    const std::uint32_t layers = 2 + run.rng.Below(2);
    for (std::uint32_t i = 0; i < layers; ++i) {
        AddGroundLayer(*level).AddStaticCircle({run.rng.Uniform(-300.0f, 300.0f), 0.0f}, 20.0f, 0, 2);
    }
    Tundra::GameObject* previous = nullptr;
    for (std::uint32_t i = 0; i < objectsPerLevel; ++i) {
        Tundra::GameObject* object = SpawnInto(*level);
        if (object != nullptr && previous != nullptr && run.rng.Below(8) == 0) {
            previous->Mount(object);
        }
        previous = object != nullptr ? object : previous;
    }
    // A body nobody owns, as a level read back from a save may leave.
    if (Tundra::Game* game = RunningGame()) {
        game->GetPhysicsEngine()->AddRigidBody(TUN_NEW(Physics2D::RigidBody));
    }
    Act(Hook::FactoryCreate);
    return level;
}

void StressGame::Shutdown() {
    if (StressRun* run = CurrentRun()) {
        run->shutDown = true;
    }
    TestGame::Shutdown();
}

bool StressGame::CollisionFilter(Tundra::GameObject* a, Tundra::GameObject* b, float& restitution, float& friction) {
    Act(Hook::CollisionFilter);
    return Game::CollisionFilter(a, b, restitution, friction);
}

}  // namespace tundrastress

TUN_DEFINE_CLASS(tundrastress::StressObject)
