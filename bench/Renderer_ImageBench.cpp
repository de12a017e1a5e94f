#include "os/OS_Image.h"
#include "renderer/Renderer_TextureLevels.h"

#include "Bench_SpriteSheet.h"

#include <benchmark/benchmark.h>

// The CPU side of loading a 1024 x 1024 PNG sprite sheet: the decode alone,
// and the decode with every surface built for upload (the full mipmap chain
// on a driver without non-power-of-two textures, or level 0 alone).

namespace {

using bench::Sheet;

void BM_DecodePng(benchmark::State& state) {
    for (auto _ : state) {
        os::Image image;
        if (!os::DecodeImageFile(Sheet().Path(), image)) {
            state.SkipWithError("decode failed");
            break;
        }
        benchmark::DoNotOptimize(image.pixels.data());
    }
}
BENCHMARK(BM_DecodePng)->Unit(benchmark::kMillisecond);

// Argument 1: with mipmaps (11 levels, 1024 x 1024 down to 1 x 1); 0: level 0 only.
void BM_DecodeAndBuildLevels(benchmark::State& state) {
    const bool mipmaps = state.range(0) != 0;
    for (auto _ : state) {
        Renderer::TextureLevels levels;
        if (!Renderer::LoadTextureLevels(Core::String(Sheet().Path()), mipmaps, false, 4096, levels)) {
            state.SkipWithError("decode failed");
            break;
        }
        benchmark::DoNotOptimize(levels.levels.data());
    }
}
BENCHMARK(BM_DecodeAndBuildLevels)->ArgName("mipmaps")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
