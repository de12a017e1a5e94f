#include "Fuzz_Harness.h"

#include "core/Core_MemoryFile.h"
#include "physics/Physics_PhysicsEngine.h"

using namespace Physics2D;

// A saved physics world comes back from save games and replays: any bytes
// must load into an engine that steps, or fail the stream.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Core::MemoryFile file(data, static_cast<std::uint32_t>(size));
    for (int read = 0; read < 2 && !file.HasFailed(); ++read) {
        Core::RefPtr<PhysicsEngine> engine(file.ReadObjectAs<PhysicsEngine>(Core::File::Reference::Owning));
        if (engine == nullptr) break;
        engine->Update(0.02f);
        engine->PostCollisionUpdate(0.02f);
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
    Core::MemoryFile file;
    file.WriteObject(&engine);
    seeds.Add("world", fuzz::Bytes(file.GetData(), file.GetData() + file.GetSize()));
}
