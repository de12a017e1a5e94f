#include "os/OS_GLFunctions.h"
#include "renderer/Renderer_ITexture.h"
#include "renderer/Renderer_TextureManager.h"

#include "AssetGen_Manifest.h"
#include "Bench_OffscreenRenderer.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

// Cold loads of the generated sprite sheets through the texture cache, as
// sprites load them (decode, mipmap levels, upload to OpenGL: Mesa on SDL's
// offscreen driver, so the upload is a copy in main memory). Loading
// dominates a level build, whose goal is 100 ms: the first benchmark loads
// what the stage level loads, the second the whole tree's 115 sheets. Each
// iteration lets go of every texture, so the next one loads the files again.

namespace {

// Sheets only the intro and title levels use; the stage loads every other
// sheet, and the particle texture.
constexpr std::string_view kTitleOnly[] = {
    "HwLogo",        "TdLogo",          "SquealingQuor", "RobotTab",        "PlasmaTab",      "BeamTab",
    "FlamerTab",     "MiniTab",         "PlasmaSel",     "LightSel",        "FlameSel",       "MiniGunSel",
    "OneCharButton", "LevelSelButton",  "ShopCapsule",   "Credits",         "TitleSun",       "MenuSignGeneric",
    "MenuExit",      "MenuExitHover",   "OptionMachine", "LevelSelMachine", "WepSelMachine",  "Title",
    "PushX",         "ControlInstruction"};

std::vector<Core::String> Files(bool stageOnly) {
    std::vector<Core::String> files;
    for (const AssetGen::ManifestRow& row : AssetGen::Manifest()) {
        const bool titleOnly = std::find(std::begin(kTitleOnly), std::end(kTitleOnly), row.SheetName()) != std::end(kTitleOnly);
        const bool wanted = row.kind == AssetGen::FileKind::Sheet ? !(stageOnly && titleOnly)
                                                                  : stageOnly && row.kind == AssetGen::FileKind::Particle;
        if (wanted) {
            files.emplace_back((std::string(TUNDRA_RESOURCES_DIRECTORY) + "/" + row.path).c_str());
        }
    }
    return files;
}

// Argument 1: what the stage level loads; 0: every sheet.
void BM_LoadSheets(benchmark::State& state) {
    // The offscreen window and renderer, made once for the whole run.
    static const bench::OffscreenRenderer renderer;
    const std::vector<Core::String> files = Files(state.range(0) != 0);
    std::vector<Core::RefPtr<Renderer::ITexture>> textures;
    for (auto _ : state) {
        for (const Core::String& file : files) {
            textures.push_back(TextureManager::GetTexture(file, true));
            if (!textures.back()) {
                state.SkipWithError(("cannot load " + std::string(file.c_str())).c_str());
                return;
            }
        }
        // The driver may upload lazily; the time counts the whole upload.
        os::gl::Finish();
        state.PauseTiming();
        textures.clear();
        state.ResumeTiming();
    }
    state.counters["files"] = static_cast<double>(files.size());
}
BENCHMARK(BM_LoadSheets)->ArgName("stage")->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace
