#include "Fuzz_Harness.h"

#include "core/Core_MemoryFile.h"
#include "engine/Engine_Sprite.h"
#include "support/Renderer_RecordingScene.h"

namespace {

Core::RefPtr<Engine::SpriteAnimation> Animation(const char* name, std::uint32_t frames) {
    std::vector<Engine::SpriteFrame> list;
    for (std::uint32_t i = 0; i < frames; ++i) {
        list.push_back({i, i / 4, 0.1f});
    }
    Core::RefPtr<Engine::SpriteAnimation> animation(TUN_NEW(Engine::SpriteAnimation, nullptr, 32, 32, list));
    animation->SetName(name);
    animation->SetLoopStartingFrame(frames / 2);
    return animation;
}

}  // namespace

// Sprites and their animations come back from saves and replays: any bytes
// must read into a sprite that plays and draws through a scene graph (its
// render queue and flush included), or into nothing, without a fault. The
// renderer records instead of drawing, and no texture is loaded.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // A stream of its own per input: a reused stream's id table keeps naming
    // the objects it handed out after their holders released them.
    Core::MemoryFile stream(data, static_cast<std::uint32_t>(size));
    const Core::RefPtr<Core::Object> object = stream.ReadObjectAs<Core::Object>(Core::File::Reference::Owning);
    if (auto* sprite = dynamic_cast<Engine::Sprite*>(object.Get())) {
        for (int i = 0; i < 3; ++i) {
            sprite->Update(0.15f);
        }
        sprite->GoToLastFrame(false);
        sprite->SetCurrentAnimationIndex(sprite->GetAnimationsCount() - 1, true);
        (void)sprite->GetFrameTextureMatrix();
        testsupport::RecordingScene scene;
        scene.Add(sprite);
        scene.Frame(0.15f);
        sprite->SetHUDObject(true);
        scene.Frame(0.15f);
    }
    return 0;
}

void FuzzWriteSeeds(fuzz::Seeds& seeds) {
    const auto seed = [&seeds](std::string_view name, const Core::Object* object) {
        Core::MemoryFile file;
        file << object;
        seeds.Add(name, fuzz::Bytes(file.GetData(), file.GetData() + file.GetSize()));
    };
    Core::RefPtrVector<Engine::SpriteAnimation> animations;
    animations.push_back(Animation("walk", 8));
    animations.push_back(Animation("jump", 3));
    const Core::RefPtr<Engine::Sprite> sprite(TUN_NEW(Engine::Sprite, animations));
    sprite->SetName("hero");
    sprite->SetPlaying(true);
    sprite->SetCurrentAnimationIndex(1, false);
    sprite->Update(0.2f);
    seed("sprite", sprite.Get());
    seed("animation", animations[0].Get());
    seed("empty_sprite", Core::RefPtr<Engine::Sprite>(TUN_NEW(Engine::Sprite)).Get());
}
