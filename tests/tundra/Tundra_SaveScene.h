#pragma once

#include "Tundra_SpriteShapes.h"

#include "collision/Collision_DynamicObject.h"
#include "physics/Physics_Force.h"
#include "physics/Physics_PhysicsEngine.h"
#include "sound/Sound_JukeBox.h"
#include "tundra/Tundra_Camera.h"
#include "tundra/Tundra_Circle.h"
#include "tundra/Tundra_Game.h"
#include "tundra/Tundra_Line.h"
#include "tundra/Tundra_ParticleEmitterShapes.h"
#include "tundra/Tundra_ParticleSystem.h"
#include "tundra/Tundra_ParticleSystemBase.h"
#include "tundra/Tundra_Sound.h"
#include "tundra/Tundra_Sprite.h"
#include "tundra/Tundra_Text.h"
#include "tundra/Tundra_Viewport.h"

#include "support/Sound_TestFiles.h"

#include <filesystem>
#include <fstream>
#include <initializer_list>

// A scene of every framework class for saved games: sprites with shapes and
// bodies falling onto static ground and into each other, an object mounted
// on one, a camera that listens and looks through a viewport, a text, a
// line, a circle, particle systems with every kind of emitter, a jukebox and
// sound effects, one looping and one stopped.
// Its layers are the first two of the running game's level.
namespace tundratest {

// The object falls with a body and collides with the shapes of a new asset.
inline void AddFallingBody(Tundra::Game& game, Tundra::Layer& layer, Tundra::GameObject& object,
                           const Vector2D& position) {
    object.SetPosition(position);
    game.AddCollisionAssets(SpriteShapesActor());
    auto* shape = new Collision2D::DynamicObject;
    shape->AddCollisionData(game.GetCollisionAssets().back(), 0, 0);
    shape->SetCollisionType(1);
    shape->SetCanCollid(0, true);
    object.AddCollision(shape, layer.GetCollisionId());
    const Physics2D::MassProperties mass(1.0f, 1.0f);
    object.AddPhysicalProperties(&mass, 0);
    object.AddForce(TUN_NEW(Physics2D::GravityForce, Vector2D(0.0f, -1.0f), 9.8f));
    layer.AddGameObject(&object);
}

inline Tundra::Sprite& AddFallingSprite(Tundra::Game& game, Tundra::Layer& layer, const Vector2D& position) {
    // Where loads look for animation sheets.
    auto* sprite =
        TUN_NEW(Tundra::Sprite, SpriteAnimations(Tundra::Game::GetDirectory() + "\\Resources\\Animations\\"));
    sprite->SetName("sprite");
    sprite->Play(true);
    AddFallingBody(game, layer, *sprite, position);
    sprite->SetCollisionActorIndex(static_cast<int>(game.GetCollisionAssets().size()) - 1);
    return *sprite;
}

// A short tone under the game's "\Resources\Sounds\", by its engine path.
inline Core::String WriteSceneEffect() {
    const std::filesystem::path folder =
        std::filesystem::path(std::string(Tundra::Game::GetDirectory())) / "Resources" / "Sounds";
    std::filesystem::create_directories(folder);
    std::ofstream(folder / "effect.wav", std::ios::binary)
        << testsupport::PcmWav({}, testsupport::SampleBytes(testsupport::SineTone(440.0, 0.5, 1, 22050)));
    return Tundra::Game::GetDirectory() + "\\Resources\\Sounds\\effect.wav";
}

inline void FillSaveScene(Tundra::Game& game) {
    Tundra::Level& level = *game.GetCurrentLevel();
    Tundra::Layer& front = *level.GetLayer(0);
    Tundra::Layer& back = *level.GetLayer(1);
    front.AddStaticLineSegment({-500.0f, -3.0f}, {500.0f, -3.0f}, 0, 1);
    back.AddStaticCircle({60.0f, -10.0f}, 8.0f, 0, 2);
    Tundra::Sprite& first = AddFallingSprite(game, front, {0.0f, 0.0f});
    AddFallingSprite(game, front, {1.5f, 0.5f});
    AddFallingSprite(game, back, {60.0f, 4.0f});
    // A plain object in the sprites' collision records.
    auto* block = TUN_NEW(Tundra::GameObject);
    block->SetName("block");
    AddFallingBody(game, front, *block, {-1.5f, 0.5f});
    auto* rider = TUN_NEW(Tundra::GameObject);
    rider->SetName("rider");
    front.AddGameObject(rider);
    first.Mount(rider);
    auto* camera = TUN_NEW(Tundra::Camera);
    camera->MakeActiveListener();
    front.AddGameObject(camera);
    auto* viewport = TUN_NEW(Tundra::Viewport, 0, 0, 64, 48);
    viewport->SetCamera(camera);
    level.AddViewport(viewport);
    front.AddGameObject(TUN_NEW(Tundra::Text, "Score", ""));
    front.AddGameObject(TUN_NEW(Tundra::Line, Vector2D(0.0f, 0.0f), Vector2D(5.0f, 5.0f)));
    back.AddGameObject(TUN_NEW(Tundra::Circle, 3.0f));
    // A particle system for each kind of emitter, and a bare base.
    const Core::String texture = Tundra::Game::GetDirectory() + "\\Resources\\spark.png";
    for (Tundra::ParticleEmitter* emitter :
         std::initializer_list<Tundra::ParticleEmitter*>{
             TUN_NEW(Tundra::ParticleEmitter), TUN_NEW(Tundra::PointEmitter, 0.0f, 90.0f, Vector2D(1.0f, 1.0f)),
             TUN_NEW(Tundra::LineEmitter), TUN_NEW(Tundra::CircleEmitter), TUN_NEW(Tundra::DiskEmitter),
             TUN_NEW(Tundra::RectangleEmitter), TUN_NEW(Tundra::FilledRectangleEmitter)}) {
        auto* system = TUN_NEW(Tundra::ParticleSystem, texture, 8, 32.0f, Vector2D(0.0f, -1.0f));
        system->SetEmitter(emitter);
        system->SetEmissionRate(40.0f, 60.0f);
        system->SetParticleLifeTime(0.2f, 0.5f);
        back.AddGameObject(system);
    }
    back.AddGameObject(TUN_NEW(Tundra::ParticleSystemBase, texture, 4, 16.0f));
    level.SetJukeBox(TUN_NEW(Tundra::JukeBox));
    const Core::String effect = WriteSceneEffect();
    auto* looping = TUN_NEW(Tundra::Sound, effect, Tundra::Sound::kAtOwnDepth, 10.0f, true, 0.0f, false);
    looping->SetVolume(0.5f);
    looping->Play(false);
    back.AddGameObject(looping);
    front.AddGameObject(TUN_NEW(Tundra::Sound, effect, Tundra::Sound::kRelative, 10.0f, false, 0.0f, true));
}

}  // namespace tundratest
