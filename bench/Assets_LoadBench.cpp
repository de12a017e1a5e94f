#include "os/OS_GLFunctions.h"
#include "pal/PAL_Window.h"
#include "renderer/Renderer_AdapterInformation.h"
#include "renderer/Renderer_IRenderer.h"
#include "renderer/Renderer_ITexture.h"
#include "renderer/Renderer_TextureManager.h"

#include "AssetGen_Manifest.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdlib>
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

// The offscreen window and renderer, made once for the whole run.
class OffscreenRenderer {
public:
    OffscreenRenderer() : m_window(64, 64) {
        Renderer::DisplaySettings settings(64, 64);
        settings.window = &m_window;
        m_renderer = Renderer::CreateRenderer(settings);
    }

private:
    // First: SDL reads the driver when video starts.
    struct OffscreenDriver {
        OffscreenDriver() { setenv("SDL_VIDEODRIVER", "offscreen", 1); }
    } m_driver;
    Renderer::AdapterInformation m_adapter;
    PAL::Window m_window;
    Core::RefPtr<Renderer::IRenderer> m_renderer;
};

// Argument 1: what the stage level loads; 0: every sheet.
void BM_LoadSheets(benchmark::State& state) {
    static const OffscreenRenderer renderer;
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
