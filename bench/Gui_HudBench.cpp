#include "engine/Engine_BitmapFontCache.h"
#include "engine/Engine_RenderQueue.h"
#include "gui/GUI_Button.h"
#include "gui/GUI_Form.h"
#include "gui/GUI_HUD.h"
#include "gui/GUI_RadioButton.h"
#include "support/GUI_HeadlessHud.h"
#include "support/GUI_OffscreenHud.h"
#include "support/GUI_TestResources.h"
#include "support/Renderer_RecordingRenderer.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <vector>

// The HUD's frame over ten windows of forty controls each (twenty labelled
// buttons and twenty radio buttons; with the windows and their close
// buttons 420 controls), the pointer moving across them and clicking every
// tenth frame: the time of UpdateHud (hit test, events, layout, quads) and
// of Render, on the recording renderer (the CPU side alone) and on SDL's
// offscreen driver (OpenGL, until glFinish). Each reports the mean as its
// time and the median frame as the counter "median_us".
namespace {

constexpr int kForms = 10;
constexpr int kRows = 8;
constexpr int kColumns = 5;
constexpr int kClickEvery = 10;

void WriteResources(const testsupport::GuiTestResources& resources) {
    std::vector<GUI::PieceSet> sets;
    for (int k = 0; k < 10; ++k) {
        sets.push_back({16.0f * static_cast<float>(k), 0, 16, 16, 4, 12, 4, 12});
    }
    for (const char* skin : {"DefaultFormSkin", "DefaultButtonSkin", "DefaultRadioButtonSkin"}) {
        resources.WriteSkin(skin, sets, 160, 16);
    }
    resources.WriteCursor("Arrow.png", 16, 16);
    Engine::FontFile font{{0, 0, 0, 16, 0, 0, 20, 0}};
    for (Engine::FontGlyph& glyph : font.glyphs) {
        glyph = {0, 8, 8, 12, 0, 0, 1.0f, 1, 0};
    }
    resources.WriteFont("DefaultFont", font);
}

template <class T>
Core::RefPtr<T> Make() {
    return Core::RefPtr<T>(TUN_NEW(T));
}

// Ten cascading windows over a 320 x 240 window, each a grid of five
// columns by eight rows, buttons and radio buttons in turn.
void OpenWindows(GUI::HUD& hud) {
    for (int form = 0; form < kForms; ++form) {
        const auto window = Make<GUI::Form>();
        window->SetPosition({16.0f * static_cast<float>(form), 8.0f * static_cast<float>(form)});
        window->SetSize({150, 150});
        window->SetCaptionHeight(20);
        hud.AddForm(window.Get());
        for (int row = 0; row < kRows; ++row) {
            for (int column = 0; column < kColumns; ++column) {
                const Vector2D place{2.0f + 26.0f * static_cast<float>(column), 2.0f + 15.0f * static_cast<float>(row)};
                if ((row + column) % 2 == 0) {
                    const auto button = Make<GUI::Button>();
                    button->SetPosition(place);
                    button->SetSize({24, 12});
                    button->SetText("OK");
                    window->AddControl(button.Get());
                } else {
                    const auto radio = Make<GUI::RadioButton>();
                    radio->SetPosition(place);
                    window->AddControl(radio.Get());
                }
            }
        }
    }
}

// Where the pointer is at frame f: sweeping the windows on two slopes.
int PointerX(int frame) { return 5 + (frame * 7) % 300; }
int PointerY(int frame) { return 5 + (frame * 3) % 225; }

double Seconds(const std::function<void()>& work) {
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

void Report(benchmark::State& state, std::vector<double>& times) {
    if (times.empty()) {
        return;
    }
    std::nth_element(times.begin(), times.begin() + static_cast<std::ptrdiff_t>(times.size() / 2), times.end());
    state.counters["median_us"] = times[times.size() / 2] * 1e6;
    state.counters["controls"] = GUI::HUD::GetInstance() != nullptr ? GUI::HUD::GetInstance()->GetRegisteredCount() : 0;
}

// On the headless backend with fake textures; Render draws on the recording renderer.
struct HeadlessScene {
    testsupport::GuiTestResources resources;
    // Before the HUD loads its arrow.
    bool written = (WriteResources(resources), true);
    Engine::BitmapFontCache fonts;
    testsupport::HeadlessHud headless;
    Core::RefPtr<testsupport::RecordingRenderer> renderer{TUN_NEW(testsupport::RecordingRenderer)};
    RenderQueue queue;
    int frame = 0;

    HeadlessScene() {
        Engine::BitmapFontCache::SetInstance(&fonts);
        queue.SetRenderer(renderer.Get());
        OpenWindows(headless.Hud());
    }
    ~HeadlessScene() { Engine::BitmapFontCache::SetInstance(nullptr); }

    // The frame's input: the pointer's move and the clicks.
    void Input() {
        headless.MoveMouse(PointerX(frame), PointerY(frame));
        headless.SetButton(0, frame % kClickEvery == 0);
        headless.Poll();
        ++frame;
    }
};

// Argument 0: UpdateHud timed; 1: Render on the recording renderer.
void BM_Headless(benchmark::State& state) {
    const bool render = state.range(0) != 0;
    HeadlessScene scene;
    std::vector<double> times;
    for (auto _ : state) {
        scene.Input();
        const double updated = Seconds([] { UpdateHud(testsupport::HeadlessHud::kFrame); });
        const double drawn = Seconds([&scene] { scene.headless.Hud().Render(); });
        scene.renderer->ClearCalls();
        const double seconds = render ? drawn : updated;
        state.SetIterationTime(seconds);
        times.push_back(seconds);
    }
    Report(state, times);
}
BENCHMARK(BM_Headless)->ArgName("render")->Arg(0)->Arg(1)->UseManualTime()->Unit(benchmark::kMicrosecond)->Iterations(2000);

// On SDL's offscreen driver: real textures, OpenGL drawing.
void BM_Offscreen(benchmark::State& state) {
    const bool render = state.range(0) != 0;
    testsupport::GuiTestResources resources;
    testsupport::OffscreenHud scene(320, 240);
    WriteResources(resources);
    OpenWindows(scene.MakeHud());
    std::vector<double> times;
    int frame = 0;
    for (auto _ : state) {
        scene.MoveMouse(PointerX(frame), PointerY(frame));
        if (frame % kClickEvery == 0) {
            testsupport::OffscreenHud::PushLeftButton(true);
            testsupport::OffscreenHud::PushLeftButton(false);
        }
        ++frame;
        scene.Poll();
        const double updated = Seconds([] { UpdateHud(1.0f / 60.0f); });
        const double drawn = Seconds([&scene] { scene.Draw(); });
        const double seconds = render ? drawn : updated;
        state.SetIterationTime(seconds);
        times.push_back(seconds);
    }
    Report(state, times);
}
BENCHMARK(BM_Offscreen)->ArgName("render")->Arg(0)->Arg(1)->UseManualTime()->Unit(benchmark::kMicrosecond)->Iterations(1000);

}  // namespace
