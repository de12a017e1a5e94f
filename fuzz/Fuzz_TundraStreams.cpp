#include "Fuzz_Harness.h"

#include "core/Core_MemoryFile.h"
#include "tundra/Tundra_GameObject.h"
#include "tundra/Tundra_Layer.h"
#include "tundra/Tundra_Level.h"

// Levels, layers and game objects come back from save games: any bytes must
// read into objects that update, end and shut down, or into nothing. The
// first byte chooses what the rest is read as.
namespace {

Core::RefPtr<Core::Object> Read(Core::File& file, std::uint8_t kind) {
    constexpr auto owning = Core::File::Reference::Owning;
    switch (kind % 3) {
        case 0: return file.ReadObjectAs<Tundra::Level>(owning);
        case 1: return file.ReadObjectAs<Tundra::Layer>(owning);
        default: return file.ReadObjectAs<Tundra::GameObject>(owning);
    }
}

void Exercise(Core::Object* object) {
    if (auto* level = dynamic_cast<Tundra::Level*>(object)) {
        level->FrameUpdate(0.016f);
        level->FirstLateUpdate(0.016f);
        level->UpdateGameObjectTransformations();
        level->End();
        level->Shutdown();
    } else if (auto* layer = dynamic_cast<Tundra::Layer*>(object)) {
        layer->Update(0.016f);
        layer->Shutdown();
    } else if (auto* gameObject = dynamic_cast<Tundra::GameObject*>(object)) {
        gameObject->EngineUpdate(0.016f);
        gameObject->SetPosition({1.0f, 2.0f});
        gameObject->SetRotationAngle(45.0f);
        gameObject->Destroy();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::Input input(data, size);
    const std::uint8_t kind = input.Byte();
    const fuzz::Bytes rest = input.Rest();
    Core::MemoryFile file(rest.data(), static_cast<std::uint32_t>(rest.size()));
    // Both reads first: the second may name objects of the first by id,
    // which the exercise may let go of.
    Core::RefPtr<Core::Object> results[2];
    for (int read = 0; read < 2 && !file.HasFailed(); ++read) {
        results[read] = Read(file, kind);
    }
    for (const Core::RefPtr<Core::Object>& result : results) {
        Exercise(result.Get());
    }
    return 0;
}

void FuzzWriteSeeds(fuzz::Seeds& seeds) {
    const Core::RefPtr<Tundra::Level> level = TUN_NEW(Tundra::Level);
    for (int i = 0; i < 2; ++i) {
        auto* layer = TUN_NEW(Tundra::Layer);
        layer->SetName(i == 0 ? "world" : "hud");
        level->AddLayer(layer);
        auto* mount = TUN_NEW(Tundra::GameObject);
        auto* child = TUN_NEW(Tundra::GameObject);
        mount->SetName("mount");
        child->SetName("child");
        child->SetLifeTime(0.01f);
        mount->Mount(child);
        layer->AddGameObject(mount);
        layer->AddGameObject(child);
        layer->Update(0.016f);
        layer->AddGameObject(TUN_NEW(Tundra::GameObject));
    }
    const auto seed = [&seeds](std::string_view name, std::uint8_t kind, const Core::Object* object) {
        Core::MemoryFile file;
        file.WriteU8(kind);
        file << object;
        seeds.Add(name, fuzz::Bytes(file.GetData(), file.GetData() + file.GetSize()));
    };
    seed("level", 0, level.Get());
    seed("layer", 1, level->GetLayer(0));
    const Core::RefPtr<Tundra::GameObject> object = TUN_NEW(Tundra::GameObject);
    object->SetName("A");
    seed("object", 2, object.Get());
}
