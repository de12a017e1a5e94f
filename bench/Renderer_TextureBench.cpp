#include "os/OS_GLFunctions.h"
#include "renderer/Renderer_ITexture.h"
#include "renderer/Renderer_TextureManager.h"

#include "Bench_OffscreenRenderer.h"
#include "Bench_SpriteSheet.h"

#include <benchmark/benchmark.h>


// A whole texture load of a 1024 x 1024 PNG sprite sheet through the cache:
// decode, level building and upload to OpenGL (Mesa on SDL's offscreen
// driver, so the upload is a copy in main memory), with the full mipmap
// chain or level 0 alone. Each iteration lets go of the texture, so the
// next one loads the file again.

namespace {

// The offscreen window and renderer, made once for the whole run.
void MakeRendererOnce() { static const bench::OffscreenRenderer renderer; }

// Argument 1: with mipmaps (11 levels); 0: level 0 only.
void BM_LoadTexture(benchmark::State& state) {
    const bool mipmaps = state.range(0) != 0;
    const Core::String path(bench::Sheet().Path());
    MakeRendererOnce();
    for (auto _ : state) {
        const Core::RefPtr<Renderer::ITexture> texture = TextureManager::GetTexture(path, mipmaps);
        if (!texture || texture->GetWidth() != bench::kSide) {
            state.SkipWithError("the sheet did not load");
            break;
        }
        // The driver may upload lazily; the time counts the whole upload.
        os::gl::Finish();
    }
}
BENCHMARK(BM_LoadTexture)->ArgName("mipmaps")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
