#include "Fuzz_Harness.h"

#include "core/Core_MemoryFile.h"
#include "engine/Engine_Sprite.h"
#include "engine/Engine_Text.h"
#include "engine/Engine_TransformationGroup.h"
#include "support/Renderer_RecordingScene.h"

// Scene-graph nodes come back from saves and replays: any bytes must read
// into a tree that updates and draws through a scene graph (its render
// queue and flush included), or into nothing, without a fault.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // A stream of its own per input: a reused stream's id table keeps naming
    // the objects it handed out after their holders released them.
    Core::MemoryFile stream(data, static_cast<std::uint32_t>(size));
    const Core::RefPtr<Engine::Node> node = stream.ReadObjectAs<Engine::Node>(Core::File::Reference::Owning);
    if (node) {
        testsupport::RecordingScene scene;
        scene.Add(node);
        scene.Frame(0.016f);
        scene.Frame(0.016f);
    }
    return 0;
}

void FuzzWriteSeeds(fuzz::Seeds& seeds) {
    const auto seed = [&seeds](std::string_view name, const Core::RefPtr<Engine::Node>& node) {
        Core::MemoryFile file;
        file << node;
        seeds.Add(name, fuzz::Bytes(file.GetData(), file.GetData() + file.GetSize()));
    };
    const Core::RefPtr<Engine::TransformationGroup> layer(TUN_NEW(Engine::TransformationGroup));
    layer->SetTransformation(Matrix4::Translation(10, 20, 0));
    layer->SetName("layer");
    layer->SetShowBoundingVolume(true, false);
    const Core::RefPtr<Engine::Group> group(TUN_NEW(Engine::Group));
    group->AddChild(Core::RefPtr<Engine::Node>(TUN_NEW(Engine::Node)));
    layer->AddChild(group);
    layer->AddChild(Core::RefPtr<Engine::Node>(TUN_NEW(Engine::TransformationGroup)));
    const Core::RefPtr<Engine::TransformationGroup> hud(TUN_NEW(Engine::TransformationGroup));
    hud->SetHUDObject(true);
    hud->SetShowBoundingVolume(true, false);
    const Core::RefPtr<Engine::Text> label(TUN_NEW(Engine::Text, "AB", false));
    label->SetFont(Core::RefPtr<Engine::BitmapFont>(TUN_NEW(Engine::BitmapFont)));
    label->SetHUDObject(true);
    hud->AddChild(label);
    hud->AddChild(Core::RefPtr<Engine::Node>(TUN_NEW(Engine::Sprite)));
    layer->AddChild(hud);
    seed("layer_tree", layer);
    seed("group", group);
    seed("node", Core::RefPtr<Engine::Node>(TUN_NEW(Engine::Node)));
}
