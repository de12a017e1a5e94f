#include "core/Core_Startup.h"
#include "engine/Engine_FontFile.h"
#include "os/OS_GLFunctions.h"
#include "tundra/Tundra_Camera.h"
#include "tundra/Tundra_Game.h"
#include "tundra/Tundra_Layer.h"
#include "tundra/Tundra_Level.h"
#include "tundra/Tundra_ParticleEmitterShapes.h"
#include "tundra/Tundra_ParticleSystem.h"
#include "tundra/Tundra_Sprite.h"
#include "tundra/Tundra_SpriteAnimation.h"
#include "tundra/Tundra_Text.h"
#include "tundra/Tundra_Viewport.h"

#include "Bench_SpriteSheet.h"

#include <SDL.h>
#include <SDL_image.h>
#include <benchmark/benchmark.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <string>
#include <vector>

// One frame of a level of 3 layers holding 2,000 objects on a grid: 1,800
// sprites playing four 64 x 64 cells of the benchmarks' sheet while they
// circle their places and turn (every tenth mounted on its left neighbour,
// so that it swings around that one in a small arc), 150 texts of 12
// characters in a generated bitmap font, and 50 recycling particle systems
// of 30 particles each. No collision objects or bodies (the engines have
// their own benchmarks). The level draws itself through its own viewport
// and camera (a further object of the first layer) on SDL's offscreen
// driver. Two figures per frame of the game's own update: the update up to
// and including the transform pass, and render submission (scene-graph
// update, then the level's viewports: traversal, queue filing and flush
// into OpenGL). The GPU's share and the present are not timed: each frame
// is finished outside the measurement. LEVEL_SPRITES_ONLY=1 makes every
// one of the 2,000 objects a sprite: no texts, no particle systems.

namespace {

constexpr int kObjects = 2000;
// Each run of 40 grid places holds 36 sprites, 3 texts and a particle
// system, so that every kind is spread over the whole field and all layers.
constexpr int kRun = 40;
constexpr int kTextsPerRun = 3;
constexpr int kLayers = 3;
constexpr int kColumns = 50;
constexpr float kSpacing = 40.0f;
constexpr std::uint32_t kParticlesPerSystem = 30;
constexpr std::int32_t kWidth = 320;
constexpr std::int32_t kHeight = 240;
constexpr float kFrameTime = 0.016f;

using Clock = std::chrono::steady_clock;

// A sprite circling its starting place (radius 16, a radian per second)
// and turning: it moves by the orbit's step, so that it stays in view
// however many frames run, and carries the one mounted on it along.
class Circler : public Tundra::Sprite {
public:
    using Tundra::Sprite::Sprite;
    void Update(float dt) override {
        constexpr float kRadius = 16.0f;
        const float next = m_angle + dt;
        SetPositionXY(GetPositionX() + kRadius * (std::cos(next) - std::cos(m_angle)),
                      GetPositionY() + kRadius * (std::sin(next) - std::sin(m_angle)));
        SetRotationAngle(GetRotationAngle() + dt);
        m_angle = next;
    }

private:
    float m_angle = 0.0f;
};

// Four 64 x 64 cells of the benchmarks' 1024 x 1024 sheet, 0.1 s each.
Core::RefPtr<Tundra::SpriteAnimation> FourFrameAnimation() {
    constexpr int kCells = bench::kSide / 64;
    return TUN_NEW(Tundra::SpriteAnimation, Core::String(bench::Sheet().Path()), kCells, kCells,
                   std::vector<float>{0.1f, 0.1f, 0.1f, 0.1f});
}

// A 16-pixel font beside the sheet (removed with it): every character a
// 12 x 12 block of its cell, advancing 14 pixels. Returns the font's name,
// its path without extension.
Core::String WriteFont() {
    constexpr int kCell = 16;
    constexpr int kImageSide = 256;
    const std::string stem = (std::filesystem::path(bench::Sheet().Path()).parent_path() / "Font").string();
    Engine::FontFile font{{0, 0, 0, kCell, 0, 0, 20, 0}};
    for (std::uint32_t k = 0; k < Engine::kFontGlyphCount; ++k) {
        font.glyphs[k] = {static_cast<std::uint16_t>(Engine::kFontFirstCharacter + k), 12, 14, kCell, 0, 0, 0.0f, 0, 0};
    }
    const std::vector<std::uint8_t> metrics = Engine::EncodeFontFile(font, u"Bench");
    std::ofstream metricsFile(stem + ".tbf", std::ios::binary);
    metricsFile.write(reinterpret_cast<const char*>(metrics.data()), static_cast<std::streamsize>(metrics.size()));
    if (!metricsFile) {
        std::fprintf(stderr, "cannot write the font metrics\n");
        std::exit(1);
    }
    SDL_Surface* image = SDL_CreateRGBSurfaceWithFormat(0, kImageSide, kImageSide, 32, SDL_PIXELFORMAT_RGBA32);
    for (int y = 0; y < kImageSide; ++y) {
        auto* row = static_cast<std::uint8_t*>(image->pixels) + y * image->pitch;
        for (int x = 0; x < kImageSide; ++x) {
            const bool inside = x % kCell >= 2 && x % kCell < 14 && y % kCell >= 2 && y % kCell < 14;
            for (int channel = 0; channel < 4; ++channel) {
                row[x * 4 + channel] = inside ? 255 : 0;
            }
        }
    }
    if (IMG_SavePNG(image, (stem + ".png").c_str()) != 0) {
        std::fprintf(stderr, "cannot write the font image: %s\n", SDL_GetError());
        std::exit(1);
    }
    SDL_FreeSurface(image);
    return Core::String(stem);
}

// Born at the system's place, leaving upward within 30 degrees of the
// vertical, falling back; about 40 births a second keep the pool of 30
// cycling with lives of 0.6 to 1 s. The sheet is the texture: a scale of
// 1/64 gives particles of 16 units.
Tundra::ParticleSystem* Fountain() {
    auto* system = TUN_NEW(Tundra::ParticleSystem, Core::String(bench::Sheet().Path()), kParticlesPerSystem,
                           128.0f, Vector2D(0.0f, -60.0f));
    system->SetEmitter(TUN_NEW(Tundra::PointEmitter, 60.0f, 120.0f, Vector2D()));
    system->SetEmissionRate(30.0f, 50.0f);
    system->SetParticleLifeTime(0.6f, 1.0f);
    system->SetParticleSpeed(40.0f, 60.0f);
    system->SetParticleStartingScale(Vector2D(1.0f / 64, 1.0f / 64), Vector2D(1.0f / 48, 1.0f / 48));
    system->SetParticleEndingScale(Vector2D(1.0f / 256, 1.0f / 256), Vector2D(1.0f / 128, 1.0f / 128));
    system->SetRecycleParticles(true);
    // Starts in its steady state rather than empty.
    system->WarmUp(1.0f);
    return system;
}

bool SpritesOnly() {
    const char* only = std::getenv("LEVEL_SPRITES_ONLY");
    return only != nullptr && std::string(only) == "1";
}

// The object at grid place i.
Tundra::GameObject* MakeObject(int i, const std::vector<Core::RefPtr<Tundra::SpriteAnimation>>& animations,
                               const Core::String& font) {
    const int place = SpritesOnly() ? 0 : i % kRun;
    if (place == kRun - 1) {
        return Fountain();
    }
    if (place >= kRun - 1 - kTextsPerRun) {
        char text[16];
        std::snprintf(text, sizeof text, "Score %06d", i);
        return TUN_NEW(Tundra::Text, text, font);
    }
    auto* sprite = TUN_NEW(Circler, animations);
    sprite->SetLoop(true);
    sprite->Play(true);
    // Not every sprite on the same cell.
    sprite->SetCurrentFrameIndex(i % 4, true);
    return sprite;
}

struct Factory : Tundra::LevelFactory {
    std::uint32_t GetLevelsCount() const override { return 1; }
    Tundra::Level* CreateLevel(std::uint32_t) override {
        const std::vector<Core::RefPtr<Tundra::SpriteAnimation>> animations{FourFrameAnimation()};
        const Core::String font = WriteFont();
        auto* level = TUN_NEW(Tundra::Level);
        for (int i = 0; i < kLayers; ++i) {
            level->AddLayer(TUN_NEW(Tundra::Layer, static_cast<float>(i)));
        }
        Tundra::GameObject* previous = nullptr;
        for (int i = 0; i < kObjects; ++i) {
            Tundra::GameObject* object = MakeObject(i, animations, font);
            object->SetPositionXY(static_cast<float>(i % kColumns) * kSpacing,
                                  static_cast<float>(i / kColumns) * kSpacing);
            if (dynamic_cast<Tundra::Sprite*>(object) != nullptr) {
                if (i % 10 == 5 && previous != nullptr) {
                    previous->Mount(object);
                }
                previous = object;
            }
            level->GetLayer(static_cast<std::uint32_t>(i % kLayers))->AddGameObject(object);
        }
        // The field is 2,000 x 1,600 units: a 45-degree lens 2,000 units
        // away sees it from its centre.
        auto* camera = TUN_NEW(Tundra::Camera, 45.0f);
        camera->SetPositionXY(kColumns * kSpacing / 2, kObjects / kColumns * kSpacing / 2);
        camera->SetZOrder(2000.0f);
        level->GetLayer(0)->AddGameObject(camera);
        auto* viewport = TUN_NEW(Tundra::Viewport, 0, 0, kWidth, kHeight);
        viewport->SetCamera(camera);
        level->AddViewport(viewport);
        return level;
    }
};

// Where one frame's update has got to, stamped by the game's hooks and by
// scene-graph update callbacks.
struct FrameStamps {
    Clock::time_point start;
    // Before the level's frame update; after the late updates and the
    // engines' steps (which have nothing to do here).
    Clock::time_point levelStart;
    Clock::time_point levelEnd;
    // The last step before the transform pass.
    Clock::time_point transformsStart;
    // The scene graph's own callback runs first in its update; that of a
    // node hung after every layer's group runs last.
    Clock::time_point sceneUpdateStart;
    Clock::time_point sceneUpdateEnd;
    // The HUD pass after the viewports only counts its call here.
    Clock::time_point end;
};
FrameStamps g_stamps;

void StampSceneUpdateStart(const Core::RefPtr<Engine::Node>&, float) { g_stamps.sceneUpdateStart = Clock::now(); }
void StampSceneUpdateEnd(const Core::RefPtr<Engine::Node>&, float) { g_stamps.sceneUpdateEnd = Clock::now(); }

class StampingGame : public Tundra::Game {
public:
    using Tundra::Game::Game;
    void PreUpdate(float) override { g_stamps.levelStart = Clock::now(); }
    void PostCollision(float) override { g_stamps.levelEnd = Clock::now(); }

protected:
    void RefreshOnlineSessions() override { g_stamps.transformsStart = Clock::now(); }
};

// The game with its level built and started, made once for the whole run.
class BenchGame {
public:
    BenchGame() {
        setenv("SDL_VIDEODRIVER", "offscreen", 1);
        CoreStartup(m_core);
        m_game = TUN_NEW(StampingGame, TUN_NEW(Factory), Engine::StartupSettings{kWidth, kHeight, 60, 0, false, false},
                         0);
        m_game->Frame();
        Engine::SceneGraph& scene = *m_game->GetSceneGraph();
        scene.SetUpdateCallback(&StampSceneUpdateStart);
        const Core::RefPtr<Engine::TransformationGroup> last(TUN_NEW(Engine::TransformationGroup));
        last->SetUpdateCallback(&StampSceneUpdateEnd);
        scene.AddChild(last);
        Frame();
    }

    // One whole update of the game, stamped; OpenGL finishes the frame
    // outside the stamps.
    const FrameStamps& Frame() {
        g_stamps.start = Clock::now();
        m_game->Update(kFrameTime);
        g_stamps.end = Clock::now();
        os::gl::Finish();
        return g_stamps;
    }

    Tundra::Level& GetLevel() const { return *m_game->GetCurrentLevel(); }

    // The objects of each kind, and the sprites whose frame lies at least
    // partly inside the level's viewport.
    void CountObjects(benchmark::State& state) const {
        std::vector<Tundra::GameObject*> objects;
        GetLevel().GetGameObjects(nullptr, objects);
        const Tundra::Viewport* viewport = GetLevel().GetViewport(0);
        int sprites = 0;
        int inView = 0;
        int texts = 0;
        int systems = 0;
        for (const Tundra::GameObject* object : objects) {
            if (const auto* sprite = dynamic_cast<const Tundra::Sprite*>(object)) {
                ++sprites;
                inView += sprite->IsInViewport(viewport) ? 1 : 0;
            }
            texts += dynamic_cast<const Tundra::Text*>(object) != nullptr ? 1 : 0;
            systems += dynamic_cast<const Tundra::ParticleSystem*>(object) != nullptr ? 1 : 0;
        }
        state.counters["sprites"] = sprites;
        state.counters["sprites in view"] = inView;
        state.counters["texts"] = texts;
        state.counters["particle systems"] = systems;
    }

private:
    std::uint8_t m_core = 0;
    Core::RefPtr<Tundra::Game> m_game;
};

BenchGame& Game() {
    static BenchGame game;
    return game;
}

// A span of the frame: from one stamp to a later one.
struct Span {
    Clock::time_point FrameStamps::*from;
    Clock::time_point FrameStamps::*to;

    double Seconds(const FrameStamps& stamps) const {
        return std::chrono::duration<double>(stamps.*to - stamps.*from).count();
    }
};

// A share of the timed span, reported in microseconds per frame.
struct Share {
    const char* counter;
    Span span;
};

// Runs whole frames, each timed over the span, and reports the shares and
// the objects.
void TimeFrames(benchmark::State& state, Span timed, std::initializer_list<Share> shares) {
    BenchGame& bench = Game();
    std::vector<double> seconds(shares.size(), 0.0);
    for (auto _ : state) {
        const FrameStamps& stamps = bench.Frame();
        state.SetIterationTime(timed.Seconds(stamps));
        for (std::size_t i = 0; i < shares.size(); ++i) {
            seconds[i] += shares.begin()[i].span.Seconds(stamps);
        }
    }
    bench.CountObjects(state);
    for (std::size_t i = 0; i < shares.size(); ++i) {
        state.counters[shares.begin()[i].counter] =
            benchmark::Counter(seconds[i] * 1e6, benchmark::Counter::kAvgIterations);
    }
}

// Update steps 1-20: from the start of Game::Update to the scene graph's
// update callback, with the shares of the level's updates (every object's
// tick, the particles' emission and motion) and of the transform pass.
void BM_GameUpdate(benchmark::State& state) {
    TimeFrames(state, {&FrameStamps::start, &FrameStamps::sceneUpdateStart},
               {{"level us", {&FrameStamps::levelStart, &FrameStamps::levelEnd}},
                {"transforms us", {&FrameStamps::transformsStart, &FrameStamps::sceneUpdateStart}}});
}
BENCHMARK(BM_GameUpdate)->Unit(benchmark::kMicrosecond)->UseManualTime()->Repetitions(5)->ReportAggregatesOnly(true);

// Update steps 21-23: from the scene graph's update callback to the end of
// Game::Update, with the shares of the scene-graph update (animations, the
// particle nodes' bounds, world matrices) and of the level's viewport.
void BM_RenderSubmission(benchmark::State& state) {
    TimeFrames(state, {&FrameStamps::sceneUpdateStart, &FrameStamps::end},
               {{"scene update us", {&FrameStamps::sceneUpdateStart, &FrameStamps::sceneUpdateEnd}},
                {"viewports us", {&FrameStamps::sceneUpdateEnd, &FrameStamps::end}}});
}
BENCHMARK(BM_RenderSubmission)
    ->Unit(benchmark::kMicrosecond)
    ->UseManualTime()
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

}  // namespace
