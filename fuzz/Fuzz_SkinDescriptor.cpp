#include "Fuzz_Harness.h"

#include "core/Core_MemoryFile.h"
#include "engine/Engine_RenderQueue.h"
#include "gui/GUI_Graphics.h"
#include "gui/GUI_GuiImage.h"
#include "support/Renderer_FakeTextureCache.h"
#include "support/Renderer_RecordingRenderer.h"

#include <cstdlib>
#include <memory>

// A skin descriptor comes from disk as it is: any bytes must parse without a
// read outside them into an image that lays out, draws through the render
// queue as the GUI draws it, and streams back unchanged, at any size and
// with every piece set it offers.
namespace {

// Made for each input, so that nothing grows from one input to the next.
struct Drawing {
    testsupport::FakeTextureCache textures;
    Core::RefPtr<testsupport::RecordingRenderer> renderer{TUN_NEW(testsupport::RecordingRenderer)};
    RenderQueue queue;
    GUI::Graphics graphics;

    Drawing() { queue.SetRenderer(renderer.Get()); }
};

fuzz::Bytes Saved(const GUI::GuiImage& image) {
    Core::MemoryFile file;
    image.Save(file);
    return {file.GetData(), file.GetData() + file.GetSize()};
}

constexpr std::uint32_t kPieceSetsTried = 4;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Drawing drawing;
    const Vector2D sizes[] = {{80.0f, 40.0f}, {3.0f, 2.0f}, {0.0f, 0.0f}};
    for (const Vector2D& imageSize : sizes) {
        GUI::GuiImage image("Skins\\Fuzz\\Fuzz", GUI::ParseSkinDescriptor(std::span(data, size)), imageSize);
        image.SetPosition({100.0f, 50.0f});
        for (std::uint32_t set = 0; set < kPieceSetsTried; ++set) {
            image.SetPieceSet(set);
            image.Draw(GUI::NRectangle(0.0f, 0.0f, 1024.0f, 768.0f));
            image.Draw(GUI::NRectangle(110.0f, 60.0f, 20.0f, 20.0f));
            drawing.queue.DrawScreenObjects();
            drawing.renderer->ClearCalls();
        }
        const fuzz::Bytes saved = Saved(image);
        Core::MemoryFile file(saved.data(), static_cast<std::uint32_t>(saved.size()));
        GUI::GuiImage read;
        read.Load(file);
        if (file.HasFailed() || Saved(read) != saved) {
            std::abort();
        }
    }
    return 0;
}

void FuzzWriteSeeds(fuzz::Seeds& seeds) {
    const GUI::PieceSet sets[] = {
        {16, 8, 32, 16, 4, 28, 4, 12},
        {0, 0, 32, 32, 0, 32, 0, 32},
        {0, 0, 8, 8, 2, 6, 2, 6},
        {0, 0, 4, 4, 3, 1, 3, 1},
    };
    const fuzz::Bytes all = GUI::EncodeSkinDescriptor(sets);
    seeds.Add("four_sets", all);
    seeds.Add("one_set", GUI::EncodeSkinDescriptor(std::span(sets, 1)));
    seeds.Add("empty", GUI::EncodeSkinDescriptor({}));
    seeds.Add("truncated", fuzz::Bytes(all.begin(), all.begin() + 50));
    fuzz::Bytes forged(all.begin(), all.begin() + 36);
    forged[0] = forged[1] = forged[2] = forged[3] = 0xFF;
    seeds.Add("count_past_end", forged);
}
