#include "Fuzz_RunningGame.h"

#include "tundra/Tundra_Camera.h"
#include "tundra/Tundra_ParticleEmitterShapes.h"
#include "tundra/Tundra_ParticleSystem.h"
#include "tundra/Tundra_Viewport.h"

// Particle systems and their emitters come back from saves: any bytes must
// read into systems that emit, move, draw and leave a running game cleanly,
// or into nothing. Up to two objects are read from one stream (the second
// may share the first's emitter); they join a level that draws through a
// camera. The first byte's low bits choose world or local coordinates and
// the screen-space flag for what joins.
namespace {

using fuzz::kFrame;

Core::String TexturePath() { return Tundra::Game::GetDirectory() + "\\Resources\\ParticleSystems\\Particle_Texture.png"; }

// One layer seen by one viewport through a camera 500 units up.
Tundra::Level* ViewedLevel() {
    auto* level = TUN_NEW(Tundra::Level);
    auto* layer = TUN_NEW(Tundra::Layer, 0.0f);
    level->AddLayer(layer);
    auto* camera = TUN_NEW(Tundra::Camera);
    camera->SetZOrder(500.0f);
    camera->SetPosition({0.0f, 0.0f});
    layer->AddGameObject(camera);
    auto* viewport = TUN_NEW(Tundra::Viewport, 0, 0, 64, 48);
    viewport->SetCamera(camera);
    level->AddViewport(viewport);
    return level;
}

// A read system joins the layer with a clone beside it; a read emitter
// drives a new system there.
void Place(Tundra::Game& game, Core::Object* object, std::uint8_t mode) {
    Tundra::Level& level = *game.GetCurrentLevel();
    Tundra::Layer& layer = *level.GetLayer(0);
    Core::RefPtr<Tundra::ParticleSystemBase> system = dynamic_cast<Tundra::ParticleSystemBase*>(object);
    if (auto* emitter = dynamic_cast<Tundra::ParticleEmitter*>(object)) {
        Vector2D position;
        Vector2D direction;
        emitter->GetPositionAndDirection(kFrame, position, direction);
        emitter->Update(kFrame);
        auto* driven = TUN_NEW(Tundra::ParticleSystem, TexturePath(), 16, 64.0f, Vector2D(0.0f, -10.0f));
        driven->SetEmitter(emitter);
        driven->SetParticleDirection(mode >> 2 & 1);
        driven->SetPosition({5.0f, 5.0f});
        driven->SetRotationAngle(30.0f);
        system = driven;
    }
    if (!system) {
        return;
    }
    system->SetUseLocalCoordinates((mode & 1) != 0);
    system->SetHUDObject((mode & 2) != 0);
    (void)system->IsInViewport(level.GetViewport(0));
    if (auto* particles = dynamic_cast<Tundra::ParticleSystem*>(system.Get())) {
        particles->WarmUp(0.05f);
    }
    fuzz::JoinWithClone(layer, *system);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::ChoiceAndStream input(data, size);
    const Core::RefPtr<Tundra::Game> game = fuzz::StartedGame<ViewedLevel>();
    auto results = fuzz::ReadTwo(input.file, [&input] {
        return input.file.ReadObjectAs<Core::Object>(Core::File::Reference::Owning);
    });
    for (const Core::RefPtr<Core::Object>& result : results) {
        Place(*game, result.Get(), input.choice);
    }
    fuzz::LeaveAndShutDown(*game, results, fuzz::Step);
    return 0;
}

void FuzzWriteSeeds(fuzz::Seeds& seeds) {
    const Core::RefPtr<Tundra::Game> game = fuzz::StartedGame<ViewedLevel>();
    const Core::RefPtr<Tundra::ParticleEmitter> shared = TUN_NEW(Tundra::DiskEmitter, Vector2D(1.0f, 2.0f), 30.0f);
    const Core::RefPtr<Tundra::ParticleSystem> smoke = TUN_NEW(Tundra::ParticleSystem, TexturePath(), 6, 64.0f, Vector2D(0.0f, 4.0f));
    const Core::RefPtr<Tundra::ParticleSystem> flame = TUN_NEW(Tundra::ParticleSystem, TexturePath(), 3, 32.0f, Vector2D());
    for (Tundra::ParticleSystem* system : {smoke.Get(), flame.Get()}) {
        system->SetEmitter(shared.Get());
        system->SetParticleSpeed(5.0f, 20.0f);
        system->SetParticleLifeTime(0.2f, 0.5f);
        system->WarmUp(0.3f);
    }
    flame->SetRecycleParticles(false);
    fuzz::AddStreamSeed(seeds, "shared_emitter", 1, {smoke.Get(), flame.Get()});
    fuzz::AddStreamSeed(seeds, "base", 2, {Core::RefPtr<Tundra::ParticleSystemBase>(TUN_NEW(Tundra::ParticleSystemBase, TexturePath(), 2, 8.0f)).Get()});
    const Core::RefPtr<Tundra::ParticleEmitter> emitters[] = {
        TUN_NEW(Tundra::ParticleEmitter),
        TUN_NEW(Tundra::PointEmitter, 0.0f, 90.0f, Vector2D(1.0f, 1.0f)),
        TUN_NEW(Tundra::LineEmitter, Vector2D(0.0f, 0.0f), Vector2D(5.0f, 5.0f)),
        TUN_NEW(Tundra::CircleEmitter, Vector2D(1.0f, 1.0f), 4.0f),
        TUN_NEW(Tundra::DiskEmitter, Vector2D(1.0f, 1.0f), 4.0f),
        TUN_NEW(Tundra::RectangleEmitter, 0.0f, 0.0f, 8.0f, 8.0f),
        TUN_NEW(Tundra::FilledRectangleEmitter, 0.0f, 0.0f, 8.0f, 8.0f),
    };
    for (const Core::RefPtr<Tundra::ParticleEmitter>& emitter : emitters) {
        emitter->SetScript("fx.lua");
        // "Tundra::PointEmitter" is seed "PointEmitter".
        fuzz::AddStreamSeed(seeds, std::string_view(emitter->GetType()).substr(8), 5, {emitter.Get()});
    }
    game->Shutdown();
}
