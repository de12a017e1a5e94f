#include "core/Core_RefPtrVector.h"
#include "core/Core_Startup.h"
#include "engine/Engine_Camera.h"
#include "engine/Engine_RenderingApplication.h"
#include "engine/Engine_SceneGraph.h"
#include "engine/Engine_Sprite.h"
#include "engine/Engine_SpriteAnimation.h"
#include "engine/Engine_TransformationGroup.h"
#include "engine/Engine_Viewport.h"
#include "math/Math_BoundingBox.h"
#include "os/OS_GLFunctions.h"
#include "renderer/Renderer_TextureManager.h"

#include "Bench_SpriteSheet.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <numbers>
#include <random>
#include <string>
#include <vector>

#include <time.h>

// Sprite throughput of the whole drawing path: N rotating 64 x 64 sprites
// with alpha, cut from one 1024 x 1024 sheet, each under its own
// transformation group, updated through the scene graph and drawn through
// the render queue into the 1024 x 768 window of a rendering application
// (windowed, no vertical sync, no frame lock) on Mesa's software rasteriser
// through SDL's offscreen driver. The sheet is loaded with mipmaps, as
// sprite animations read from a stream load theirs (trilinear filtering),
// or without (bilinear). A timed frame ends with glFinish, so that
// the rasterisation is counted and not only the submission. Reported: the
// mean frame time, and the median frame with its median split into update,
// traversal with flush, and finishing (present and rasterisation), the
// median submission (update and flush) per sprite in wall and in the main
// thread's CPU time, and the median CPU time of a frame in all threads (the
// rasteriser's included, as the peer scene reports it).

namespace {

constexpr std::uint32_t kWidth = 1024;
constexpr std::uint32_t kHeight = 768;
constexpr std::uint32_t kCell = 64;
constexpr std::uint32_t kCellsPerSide = bench::kSide / kCell;
constexpr int kWarmUpFrames = 10;
constexpr float kFrameSeconds = 1.0f / 60.0f;

// The Core, the offscreen driver and the application, made once for the run.
class Machine {
public:
    Machine() {
        setenv("SDL_VIDEODRIVER", "offscreen", 1);
        CoreStartup(m_core);
        Math::CreateScratchBoxes();
        Engine::StartupSettings settings;
        settings.width = kWidth;
        settings.height = kHeight;
        settings.refreshRate = 60;
        m_application = TUN_NEW(Engine::RenderingApplication, settings);
        m_application->SetVSync(false);
        m_application->LockFrameRate(false);
        const char* threads = std::getenv("LP_NUM_THREADS");
        const auto* version = reinterpret_cast<const char*>(os::gl::GetString(GL_VERSION));
        m_label = std::string(version != nullptr ? version : "?") + ", LP_NUM_THREADS " +
                  (threads != nullptr ? threads : "unset");
    }

    Engine::RenderingApplication& Application() { return *m_application; }
    const std::string& Label() const { return m_label; }

private:
    std::uint8_t m_core = 0;
    Core::RefPtr<Engine::RenderingApplication> m_application;
    std::string m_label;
};

Machine& TheMachine() {
    static Machine machine;
    return machine;
}

// Where a sprite stands and how it turns (degrees, degrees per second).
struct Turning {
    Core::RefPtr<Engine::TransformationGroup> group;
    float x;
    float y;
    float angle;
    float rate;
};

// N sprites at seeded random places, each showing the cell of its number,
// and a camera of one unit per window pixel looking at the window's middle.
class SpriteScene {
public:
    SpriteScene(Engine::RenderingApplication& application, std::int64_t count, bool mipmaps)
        : m_sheet(TextureManager::GetTexture(Core::String(bench::Sheet().Path()), mipmaps)),
          m_scene(TUN_NEW(Engine::SceneGraph, application.GetRenderer())),
          m_camera(TUN_NEW(Engine::Camera, 45.0f, 1.0f, 10000.0f)),
          m_viewport(TUN_NEW(Engine::Viewport, 0, 0, static_cast<std::int32_t>(kWidth),
                             static_cast<std::int32_t>(kHeight))) {
        const Core::RefPtr<Engine::TransformationGroup> eye = TUN_NEW(Engine::TransformationGroup);
        const double distance = kHeight / (2.0 * std::tan(std::numbers::pi / 8.0));
        eye->SetTransformation(Matrix4::Translation(kWidth / 2.0f, kHeight / 2.0f, static_cast<float>(distance)));
        eye->AddChild(m_camera);
        m_scene->AddChild(eye);
        m_viewport->SetClearColor({0.1f, 0.1f, 0.2f, 1.0f});

        std::vector<Core::RefPtrVector<Engine::SpriteAnimation>> cells;
        for (std::uint32_t cell = 0; cell < kCellsPerSide * kCellsPerSide; ++cell) {
            const std::vector<Engine::SpriteFrame> frame = {{cell % kCellsPerSide, cell / kCellsPerSide, 1.0f}};
            cells.emplace_back().push_back(TUN_NEW(Engine::SpriteAnimation, m_sheet, kCell, kCell, frame));
        }
        std::mt19937 random(20261207);
        std::uniform_real_distribution<float> x(0.0f, static_cast<float>(kWidth));
        std::uniform_real_distribution<float> y(0.0f, static_cast<float>(kHeight));
        std::uniform_real_distribution<float> rate(-180.0f, 180.0f);
        for (std::int64_t i = 0; i < count; ++i) {
            Turning turning{TUN_NEW(Engine::TransformationGroup), x(random), y(random), 0.0f, rate(random)};
            turning.group->AddChild(Core::RefPtr<Engine::Sprite>(
                TUN_NEW(Engine::Sprite, cells[static_cast<std::size_t>(i) % cells.size()])));
            m_scene->AddChild(turning.group);
            m_turning.push_back(std::move(turning));
        }
    }

    void Turn() {
        for (Turning& t : m_turning) {
            t.angle = std::fmod(t.angle + t.rate * kFrameSeconds, 360.0f);
            t.group->SetTransformation(Matrix4::Translation(t.x, t.y, 0.0f) * Matrix4::RotationZ(t.angle));
        }
    }
    void Update() { m_scene->UpdateAsCurrent(kFrameSeconds); }
    void Render() {
        m_scene->SetViewportCount(1);
        m_scene->SetViewportIndex(0);
        m_scene->Render(m_camera, m_viewport);
    }

private:
    // Loaded for the scene and let go with it, so that the next scene can
    // load the sheet with or without mipmaps.
    Core::RefPtr<Renderer::ITexture> m_sheet;
    Core::RefPtr<Engine::SceneGraph> m_scene;
    Core::RefPtr<Engine::Camera> m_camera;
    Core::RefPtr<Engine::Viewport> m_viewport;
    std::vector<Turning> m_turning;
};

double Median(std::vector<double> values) {
    if (values.empty()) {
        return 0.0;
    }
    const auto middle = values.begin() + static_cast<std::ptrdiff_t>(values.size() / 2);
    std::nth_element(values.begin(), middle, values.end());
    return *middle;
}

using Clock = std::chrono::steady_clock;

double Milliseconds(Clock::time_point from, Clock::time_point to) {
    return std::chrono::duration<double, std::milli>(to - from).count();
}

// CPU time of the process (all threads) or of the calling thread, in milliseconds.
double CpuMilliseconds(clockid_t clock) {
    timespec now{};
    clock_gettime(clock, &now);
    return static_cast<double>(now.tv_sec) * 1000.0 + static_cast<double>(now.tv_nsec) / 1.0e6;
}

struct FrameTimes {
    double update = 0.0;
    double flush = 0.0;
    double finish = 0.0;
    double cpu = 0.0;
    // The main thread's CPU time in update and flush.
    double submitCpu = 0.0;
};

void BM_RotatingSprites(benchmark::State& state) {
    Machine& machine = TheMachine();
    Engine::RenderingApplication& application = machine.Application();
    SpriteScene scene(application, state.range(0), state.range(1) != 0);
    auto frame = [&](FrameTimes* times) {
        const double cpu = CpuMilliseconds(CLOCK_PROCESS_CPUTIME_ID);
        const double mainCpu = CpuMilliseconds(CLOCK_THREAD_CPUTIME_ID);
        const Clock::time_point begin = Clock::now();
        application.BeginFrame();
        scene.Turn();
        scene.Update();
        const Clock::time_point updated = Clock::now();
        scene.Render();
        const Clock::time_point flushed = Clock::now();
        times->submitCpu = CpuMilliseconds(CLOCK_THREAD_CPUTIME_ID) - mainCpu;
        application.EndFrame();
        os::gl::Finish();
        const Clock::time_point finished = Clock::now();
        times->update = Milliseconds(begin, updated);
        times->flush = Milliseconds(updated, flushed);
        times->finish = Milliseconds(flushed, finished);
        times->cpu = CpuMilliseconds(CLOCK_PROCESS_CPUTIME_ID) - cpu;
    };
    FrameTimes times;
    for (int i = 0; i < kWarmUpFrames; ++i) {
        frame(&times);
    }
    std::vector<double> frames, updates, flushes, finishes, cpus, submitCpus;
    for (auto _ : state) {
        frame(&times);
        frames.push_back(times.update + times.flush + times.finish);
        updates.push_back(times.update);
        flushes.push_back(times.flush);
        finishes.push_back(times.finish);
        cpus.push_back(times.cpu);
        submitCpus.push_back(times.submitCpu);
        state.SetIterationTime(frames.back() / 1000.0);
    }
    state.counters["median_ms"] = Median(frames);
    state.counters["update_ms"] = Median(updates);
    state.counters["flush_ms"] = Median(flushes);
    state.counters["finish_ms"] = Median(finishes);
    state.counters["cpu_ms"] = Median(cpus);
    // The main thread's submission (update and flush) per sprite, in microseconds.
    std::vector<double> submissions(updates.size());
    for (std::size_t i = 0; i < updates.size(); ++i) {
        submissions[i] = updates[i] + flushes[i];
    }
    state.counters["submit_us_per_sprite"] =
        state.range(0) > 0 ? Median(submissions) * 1000.0 / static_cast<double>(state.range(0)) : 0.0;
    // The same in the main thread's CPU time, which other load on the machine stretches less.
    state.counters["submit_cpu_us_per_sprite"] =
        state.range(0) > 0 ? Median(submitCpus) * 1000.0 / static_cast<double>(state.range(0)) : 0.0;
    state.SetLabel(machine.Label());
}
BENCHMARK(BM_RotatingSprites)
    ->ArgNames({"sprites", "mipmaps"})
    ->ArgsProduct({{0, 100, 300, 1000, 5000, 20000}, {1, 0}})
    ->UseManualTime()
    ->MinTime(2.0)
    ->Unit(benchmark::kMillisecond);

}  // namespace
