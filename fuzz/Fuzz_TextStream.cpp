#include "Fuzz_Harness.h"

#include "core/Core_MemoryFile.h"
#include "engine/Engine_Text.h"
#include "support/Renderer_RecordingScene.h"

// Texts come back from saves and replays: any bytes must read into a text
// that updates, lays out, is queued and flushed through a scene graph,
// clones and saves, or into nothing. The renderer records instead of
// drawing; fonts load from the stored name, and no texture is made.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // A stream of its own per input: a reused stream's id table keeps naming
    // the objects it handed out after their holders released them.
    Core::MemoryFile stream(data, static_cast<std::uint32_t>(size));
    const Core::RefPtr<Engine::Text> text = stream.ReadObjectAs<Engine::Text>(Core::File::Reference::Owning);
    if (!text) {
        return 0;
    }
    testsupport::RecordingScene scene;
    scene.Add(text);
    scene.Frame(0.016f);
    const Core::RefPtr<Core::Object> copy(text->Clone());
    Core::MemoryFile saved;
    saved << copy;
    return 0;
}

void FuzzWriteSeeds(fuzz::Seeds& seeds) {
    const auto seed = [&seeds](std::string_view name, const Core::RefPtr<Engine::Text>& text) {
        Core::MemoryFile file;
        file << text;
        seeds.Add(name, fuzz::Bytes(file.GetData(), file.GetData() + file.GetSize()));
    };
    const Core::RefPtr<Engine::BitmapFont> font(TUN_NEW(Engine::BitmapFont, "Fonts\\Missing\\Missing"));
    const Core::RefPtr<Engine::Text> label(TUN_NEW(Engine::Text, "Score: 100\n\tAB\r\n \xC8", false));
    label->SetFont(font);
    label->SetColor({0.5f, 0.25f, 1.0f, 0.0f});
    label->SetOpacity(0.75f);
    label->SetName("label");
    seed("label", label);
    const Core::RefPtr<Engine::Text> hud(TUN_NEW(Engine::Text, "HUD", true));
    hud->SetFont(font);
    hud->SetHUDObject(true);
    seed("hud_screen_flag", hud);
    seed("fontless", Core::RefPtr<Engine::Text>(TUN_NEW(Engine::Text)));
}
