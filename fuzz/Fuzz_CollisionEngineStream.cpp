#include "Fuzz_Harness.h"

#include "collision/Collision_CollisionActor.h"
#include "collision/Collision_CollisionEngine.h"
#include "core/Core_MemoryFile.h"

// Collision engine and actor streams come from saved games and replays:
// any bytes must either load or fail with an empty engine or actor, never
// read outside the data or leak what a failed load made. The first byte
// chooses the reader (even: engine, odd: actor).
namespace {

using namespace Collision2D;

Core::MemoryFile& Stream() {
    static Core::MemoryFile file;
    return file;
}

CollisionActor* MakeActor() {
    auto* actor = new CollisionActor;
    auto* animation = new CollisionAnimation;
    for (int f = 0; f < 2; ++f) {
        auto* frame = new CollisionFrame;
        frame->SetBoundingRectangle({25, -25, 25, -25}, true);
        frame->AddLineSegment({-24, 18}, {24, 18}, 22, true);
        frame->AddCircle({0, -14}, 30.0f + f, 0, f == 0);
        animation->AddCollisionFrame(frame);
    }
    actor->AddCollisionAnimation(animation);
    return actor;
}

fuzz::Bytes WithTag(std::uint8_t tag, const Core::MemoryFile& file) {
    fuzz::Bytes bytes{tag};
    bytes.insert(bytes.end(), file.GetData(), file.GetData() + file.GetSize());
    return bytes;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    Core::MemoryFile& file = Stream();
    file.ClearBuffer();
    file.Write(data + 1, static_cast<std::uint32_t>(size - 1));
    if (data[0] % 2 == 0) {
        CollisionEngine engine;
        engine.Load(file);
        engine.Update(0.016f);
    } else {
        auto* actor = new CollisionActor;
        actor->Load(file);
        FreeCollisionActor(actor);
    }
    return 0;
}

void FuzzWriteSeeds(fuzz::Seeds& seeds) {
    CollisionActor* actor = MakeActor();
    CollisionEngine engine;
    engine.AddLayer();
    engine.AddLayer();
    engine.SetLayerGrid(1, {0, 0}, 1000, 800, 50);
    engine.AddObject(new StaticCollisionLineSegment(Math::LineSegment2D({0, 0}, {1000, 0})), 1, {});
    engine.AddObject(new StaticCollisionCircle(Math::Circle2D({50, 50}, 10)), 1, {});
    for (int i = 0; i < 4; ++i) {
        auto* object = new DynamicObject;
        object->AddCollisionData(actor, 0, i % 2);
        object->SetCollisionType(1);
        object->SetCollisionThickness(8);
        object->SetCanCollid(0, true);
        object->SetUpdateOnIdle(i % 2 == 0);
        engine.AddObject(object, 1, {40.0f * i, 40});
    }
    engine.Update(0.016f);
    engine.RemoveObject((1u << 24) | 9537u);
    engine.SetObjectPosition((1u << 24) | 9536u, {60, 30});
    engine.Update(0.016f);

    Core::MemoryFile engineFile;
    engine.Save(engineFile);
    seeds.Add("engine_scene", WithTag(0, engineFile));
    Core::MemoryFile actorFile;
    actor->Save(actorFile);
    seeds.Add("actor_two_frames", WithTag(1, actorFile));
    FreeCollisionActor(actor);
}
