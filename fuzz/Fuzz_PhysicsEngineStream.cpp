#include "Fuzz_Harness.h"

#include "core/Core_MemoryFile.h"
#include "physics/Physics_Finite.h"
#include "physics/Physics_PhysicsEngine.h"

#include <cstdlib>

using namespace Physics2D;

namespace {

constexpr int kFrames = 5;
constexpr float kFrame = 1.0f / 60.0f;

// As the game's callback would: the first body presses on the second (or
// the world), the last one on the world along a slanted normal.
void AddContacts(PhysicsEngine* engine, void*) {
    const std::uint32_t last = engine->GetRigidBodyCount();
    if (const RigidBody* body = engine->GetRigidBody(1)) {
        engine->AddContact(1, 2, Contact(body->GetPosition(), {0.0f, 1.0f}, {}, {}, 2.0f, 0.3f, 0.5f, 1));
    }
    if (const RigidBody* body = engine->GetRigidBody(last)) {
        engine->AddContact(last, 0, Contact(body->GetWorldCenterOfMass(), {0.6f, 0.8f}, {}, {}, 1.0f, 0.3f, 0.5f, 0));
    }
}

void RequireFiniteBodies(const PhysicsEngine& engine) {
    for (std::uint32_t i = 1; i <= engine.GetRigidBodyCount(); ++i) {
        const RigidBody* body = engine.GetRigidBody(i);
        if (body != nullptr && !IsFinite(body->GetState())) std::abort();
    }
}

void Step(PhysicsEngine& engine) {
    engine.Update(kFrame);
    RequireFiniteBodies(engine);
    engine.PostCollisionUpdate(kFrame);
    RequireFiniteBodies(engine);
}

fuzz::Bytes Saved(const PhysicsEngine& engine) {
    Core::MemoryFile file;
    file.WriteObject(&engine);
    return {file.GetData(), file.GetData() + file.GetSize()};
}

}  // namespace

// A saved physics world comes back from save games and replays: any bytes
// must either fail the stream or load into an engine whose bodies stay
// finite while it steps with contacts, whose copy keeps in step with it, and
// whose own save loads again.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Core::MemoryFile file(data, static_cast<std::uint32_t>(size));
    for (int read = 0; read < 2 && !file.HasFailed(); ++read) {
        Core::RefPtr<PhysicsEngine> engine(file.ReadObjectAs<PhysicsEngine>(Core::File::Reference::Owning));
        if (engine == nullptr) break;
        RequireFiniteBodies(*engine);
        engine->SetContactListUpdate(&AddContacts);
        PhysicsEngine copy(*engine);
        for (int frame = 0; frame < kFrames; ++frame) {
            Step(*engine);
            Step(copy);
        }
        // Compared with a copy of the stepped engine, so that objects the
        // stream shares (copies own theirs) are written alike.
        const fuzz::Bytes saved = Saved(*engine);
        if (Saved(copy) != Saved(PhysicsEngine(*engine))) std::abort();
        Core::MemoryFile again(saved.data(), static_cast<std::uint32_t>(saved.size()));
        Core::RefPtr<PhysicsEngine> reloaded(again.ReadObjectAs<PhysicsEngine>(Core::File::Reference::Owning));
        if (reloaded == nullptr || again.HasFailed()) std::abort();
    }
    return 0;
}

void FuzzWriteSeeds(fuzz::Seeds& seeds) {
    PhysicsEngine engine;
    engine.SetScale(15.0f);
    engine.SetAccuracy(150);
    for (int kind = 0; kind < 4; ++kind) {
        auto* body = TUN_NEW(RigidBody, MassProperties(1.0f + kind), kind, nullptr, nullptr, nullptr);
        const std::uint32_t id = engine.AddRigidBody(body);
        engine.AddRigidBodyForce(id, TUN_NEW(GravityForce, Vector2D(0.0f, -1.0f), 9.8f));
    }
    engine.AddRigidBodyForce(1, TUN_NEW(DragForce, 0.5f));
    engine.AddRigidBodyForce(2, TUN_NEW(ConstantForce, Vector2D(1.0f, 2.0f)));
    engine.RemoveRigidBody(3);
    engine.AddJoint(TUN_NEW(JointSlider, 1, 2, Vector2D(), Vector2D(1.0f, 1.0f)));
    engine.AddContact(1, 2, Contact({1.0f, 1.0f}, {0.0f, 1.0f}, {}, {}, 2.0f, 0.3f, 0.5f, 1));
    seeds.Add("world", Saved(engine));
    // Stepped with contacts: the stream then holds remembered impulses.
    engine.SetContactListUpdate(&AddContacts);
    for (int frame = 0; frame < kFrames; ++frame) Step(engine);
    seeds.Add("stepped", Saved(engine));
}
