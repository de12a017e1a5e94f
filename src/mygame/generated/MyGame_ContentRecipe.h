#pragma once

#include "core/Core_RefPtr.h"
#include "core/Core_String.h"
#include "core/Core_TrackedMemory.h"
#include "mygame/generated/MyGame_ContentRows.h"
#include "physics/Physics_MassProperties.h"
#include "tundra/Tundra_Layer.h"
#include "tundra/Tundra_ParticleSystem.h"
#include "tundra/Tundra_Sprite.h"
#include "tundra/Tundra_SpriteAnimation.h"
#include "tundra/Tundra_Text.h"

#include <cstdint>
#include <vector>

namespace Collision2D {
class DynamicObject;
}
namespace Physics2D {
class Force;
}
class MyLevelFactory;

// The layer being built: layer `layerIndex` of level `level`, the factory's
// current layer of that index.
struct LayerBuild {
    MyLevelFactory& factory;
    std::uint32_t level;
    std::uint32_t layerIndex;
    Tundra::Layer& layer;
};

using AnimationList = std::vector<Core::RefPtr<Tundra::SpriteAnimation>>;

// The sheets of a row's animations, each named after its sheet; allocated
// under the source tag when one is given.
AnimationList SheetAnimations(const std::vector<SheetAnimation>& animations);
AnimationList SheetAnimations(const std::vector<SheetAnimation>& animations, const char* sourceTag);

// Places a row on the layer being built by the recipe of its class and
// returns the object (the layer owns it); null for a row without a class.
Tundra::Sprite* PlaceSpriteRow(const LayerBuild& build, const SpriteRow& row);
Tundra::Text* PlaceTextRow(const LayerBuild& build, const TextRow& row);
Tundra::ParticleSystem* PlaceParticleRow(const LayerBuild& build, const ParticleRow& row);
Tundra::GameObject* PlaceRow(const LayerBuild& build, const ContentRow& row);

// Reads "\Resources\Layers Collisions\level<L>_layer<M>.txt" into the layer.
void ReadLayerCollisions(const LayerBuild& build);

// What the recipes below share.
namespace recipe {

// A network game that this machine does not host: its objects get no
// collision object and no body.
bool IsNetworkClient();
// The source tag of the layer's allocations ("MyGame_MyLevelFactory_1_0").
const char* SourceTag(const LayerBuild& build);
Core::String ResourcePath(const char* relative);
// Over the row's actor, set as the row says; null without that actor.
Collision2D::DynamicObject* MakeCollider(const LayerBuild& build, int actorIndex, const ColliderSettings& settings);
Physics2D::MassProperties MakeMass(const BodySettings& body);
Physics2D::Force* MakeGravity(const LayerBuild& build, float strength);
Tundra::ParticleEmitter* MakeEmitter(const LayerBuild& build, const ParticleRow& row);
constexpr float kParticleBoundingSize = 256.0f;

bool IsHudLayer(const LayerBuild& build);

}  // namespace recipe

// The recipe of a sprite row whose class is T: T's own setters are called
// where it has them.
template <class T>
Tundra::Sprite* MakeSprite(const LayerBuild& build, const SpriteRow& row) {
    const char* tag = recipe::SourceTag(build);
    const Core::RefPtr<T> sprite(Core::NewTracked<T>(tag, __LINE__, SheetAnimations(row.animations, tag)));
    if (row.collider && !recipe::IsNetworkClient()) {
        if (Collision2D::DynamicObject* collider = recipe::MakeCollider(build, row.actorIndex, *row.collider)) {
            sprite->AddCollision(collider, build.layer.GetCollisionId());
        }
    }
    sprite->SetName(row.name);
    sprite->SetCollisionActorIndex(row.actorIndex);
    sprite->SetOpacity(row.opacity);
    sprite->Play(!row.stopped);
    sprite->SetPosition(row.position);
    sprite->SetCurrentAnimationIndex(row.animation, false);
    sprite->SetCurrentFrameIndex(row.frame, false);
    sprite->SetLoop(!row.stopped);
    sprite->SetAnimationSpeed(1.0f);
    sprite->SetFlipHorizontal(row.flipped);
    sprite->SetFlipVertical(false);
    sprite->SetLifeTime(0.0f);
    sprite->SetVisible(!row.hidden);
    sprite->SetRotationAngle(0.0f);
    sprite->SetScale(row.scale.x, row.scale.y);
    sprite->SetCenter({0.0f, 0.0f});
    sprite->SetZOrder(row.z);
    if (row.color) {
        sprite->SetModulationColor(*row.color);
    }
    if (row.body && !recipe::IsNetworkClient()) {
        sprite->SetCenter({0.0f, 0.0f});
        const Physics2D::MassProperties mass = recipe::MakeMass(*row.body);
        sprite->AddPhysicalProperties(&mass, 0);
        if (row.body->gravity) {
            sprite->AddForce(recipe::MakeGravity(build, *row.body->gravity));
        }
        sprite->SetVelocity({0.0f, 0.0f});
        sprite->SetAngularVelocity(0.0f);
    }
    if (recipe::IsHudLayer(build)) {
        sprite->SetHUDObject(true);
    }
    build.layer.AddGameObject(sprite.Get(), false, nullptr);
    return sprite.Get();
}

// The recipe of a text row whose class is T.
template <class T>
Tundra::Text* MakeText(const LayerBuild& build, const TextRow& row) {
    const Core::RefPtr<T> text(Core::NewTracked<T>(recipe::SourceTag(build), __LINE__, Core::String(row.text),
                                                   recipe::ResourcePath("Fonts\\DefaultFont\\DefaultFont")));
    text->SetName(row.name);
    text->SetPosition(row.position);
    text->SetLifeTime(0.0f);
    text->SetVisible(!row.hidden);
    text->SetRotationAngle(0.0f);
    text->SetScale(row.scale, row.scale);
    text->SetCenter({0.0f, 0.0f});
    text->SetOpacity(1.0f);
    text->SetZOrder(row.z);
    if (row.color) {
        text->SetModulationColor(*row.color);
    }
    if (recipe::IsHudLayer(build)) {
        text->SetHUDObject(true);
    }
    build.layer.AddGameObject(text.Get(), false, nullptr);
    return text.Get();
}

// The recipe of a particle-system row whose class is T: the emitter first,
// every setting before the warm-up.
template <class T>
Tundra::ParticleSystem* MakeParticles(const LayerBuild& build, const ParticleRow& row) {
    const Core::RefPtr<Tundra::ParticleEmitter> emitter(recipe::MakeEmitter(build, row));
    const Core::RefPtr<T> system(Core::NewTracked<T>(recipe::SourceTag(build), __LINE__,
                                                     recipe::ResourcePath("ParticleSystems\\Particle_Texture.png"),
                                                     row.count, recipe::kParticleBoundingSize, row.gravity));
    system->SetEmitter(emitter.Get());
    system->SetName(row.name);
    system->SetLifeTime(0.0f);
    system->SetZOrder(row.z);
    system->SetPosition(row.position);
    system->SetRotationAngle(0.0f);
    system->SetScale(1.0f, 1.0f);
    system->SetCenter({0.0f, 0.0f});
    system->SetVisible(!row.hidden);
    system->SetRecycleParticles(true);
    system->SetEmissionRate(row.emissionRate.low, row.emissionRate.high);
    system->SetSrcBlendFactor(row.sourceBlend);
    system->SetDstBlendFactor(row.destinationBlend);
    system->SetParticleStartingColor(row.startColor.low, row.startColor.high);
    system->SetParticleEndingColor(row.endColor.low, row.endColor.high);
    system->SetParticleLifeTime(row.lifetime.low, row.lifetime.high);
    if (row.rotationSpeed) {
        system->SetParticleRotationSpeed(row.rotationSpeed->low, row.rotationSpeed->high);
    }
    system->SetParticleSpeed(row.speed.low, row.speed.high);
    system->SetParticleDirection(row.direction);
    system->SetParticleStartingScale(row.startScale.low, row.startScale.high);
    system->SetParticleEndingScale(row.endScale.low, row.endScale.high);
    system->SetUseLocalCoordinates(false);
    system->WarmUp(row.warmUp);
    if (recipe::IsHudLayer(build)) {
        system->SetHUDObject(true);
    }
    build.layer.AddGameObject(system.Get(), false, nullptr);
    return system.Get();
}
