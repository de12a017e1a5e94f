#include "Fuzz_Harness.h"

#include "collision/Collision_CollisionActor.h"
#include "collision/Collision_CollisionEngine.h"
#include "collision/Collision_FiniteRecords.h"
#include "core/Core_MemoryFile.h"

#include <cmath>
#include <cstdlib>
#include <vector>

// Collision engine and actor streams come from saved games and replays:
// any bytes must either load or fail with an empty engine or actor, never
// read outside the data or leak what a failed load made. The first byte
// chooses the reader (even: engine, odd: actor). A loaded engine is then
// stepped as the game steps it: several passes, with objects moved across
// each other and out near the float's limit, frames selected and actors
// attached again. A pose that loaded finite must stay finite, and every
// record a pass leaves must be finite; anything else aborts.
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

const CollisionActor& SharedActor() {
    static CollisionActor* actor = MakeActor();
    return *actor;
}

fuzz::Bytes WithTag(std::uint8_t tag, const Core::MemoryFile& file) {
    fuzz::Bytes bytes{tag};
    bytes.insert(bytes.end(), file.GetData(), file.GetData() + file.GetSize());
    return bytes;
}

bool IsFinite(const Vector2D& v) { return std::isfinite(v.x) && std::isfinite(v.y); }

bool PoseIsFinite(const DynamicObject& o) {
    return IsFinite(o.GetPosition()) && IsFinite(o.GetOldPosition()) && IsFinite(o.GetOffset()) &&
           std::isfinite(o.GetOrientation()) && std::isfinite(o.GetOldOrientation());
}

struct Loaded {
    std::uint32_t id;
    bool finitePose;
};

std::vector<Loaded> LoadedObjects(const CollisionEngine& engine) {
    std::vector<Loaded> objects;
    for (std::uint32_t l = 0; l < engine.GetLayerCount(); ++l) {
        const CollisionLayer* layer = engine.GetLayer(static_cast<std::uint8_t>(l));
        for (std::uint32_t entry = 1; entry < layer->GetDynamicEntryCount(); ++entry) {
            if (const DynamicObject* o = layer->GetDynamicObject(entry)) {
                objects.push_back({o->GetId(), PoseIsFinite(*o)});
            }
        }
    }
    return objects;
}

// Before pass 1 each even object moves onto the next one's place and the
// next one onto its place, so that they sweep through each other; before
// pass 2 the first two are put on one spot near the float's limit; before
// pass 3 the neighbouring frames are selected, flipped and attached again.
void MoveBeforePass(CollisionEngine& engine, const std::vector<Loaded>& objects, int pass) {
    for (std::size_t i = 0; i < objects.size(); ++i) {
        DynamicObject* o = engine.GetCollisionResults(objects[i].id);
        if (pass == 1 && i % 2 == 0 && i + 1 < objects.size()) {
            const Vector2D here = o->GetPosition();
            engine.SetObjectPosition(objects[i].id, engine.GetCollisionResults(objects[i + 1].id)->GetPosition());
            engine.SetObjectPosition(objects[i + 1].id, here);
        } else if (pass == 2 && i < 2) {
            engine.SetObjectPosition(objects[i].id, {-3.3e38f, 3.3e38f});
            o->ResetMotion();
        } else if (pass == 3) {
            if (i % 3 == 0) {
                o->AddCollisionData(&SharedActor(), o->GetAnimationIndex(), o->GetFrameIndex());
            }
            o->SetCurrentCollisionFrame(o->GetAnimationIndex(), o->GetFrameIndex() ^ 1, i % 2 == 0, false);
            engine.SetObjectOrientation(objects[i].id, o->GetOrientation() + 45.0f);
        }
    }
}

void StepLoaded(CollisionEngine& engine) {
    const std::vector<Loaded> objects = LoadedObjects(engine);
    for (int pass = 0; pass < 4; ++pass) {
        MoveBeforePass(engine, objects, pass);
        engine.Update(0.016f);
        for (const Loaded& loaded : objects) {
            const DynamicObject& o = *engine.GetCollisionResults(loaded.id);
            if ((loaded.finitePose && !PoseIsFinite(o)) || !RecordsAreFinite(o)) {
                std::abort();
            }
        }
    }
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
        StepLoaded(engine);
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
