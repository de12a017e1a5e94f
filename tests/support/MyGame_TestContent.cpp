#include "support/MyGame_TestContent.h"

#include "collision/Collision_DynamicObject.h"
#include "mygame/MyGame_MapTile.h"
#include "mygame/MyGame_MyLevelFactory.h"
#include "mygame/MyGame_Templates.h"
#include "physics/Physics_Force.h"
#include "physics/Physics_MassProperties.h"
#include "tundra/Tundra_Game.h"
#include "tundra/Tundra_ParticleEmitterShapes.h"
#include "tundra/Tundra_ParticleSystem.h"
#include "tundra/Tundra_Sprite.h"
#include "tundra/Tundra_Text.h"

#include <algorithm>
#include <string>

namespace mygametest {
namespace {

Core::String ResourcePath(const Core::String& relative) { return Tundra::Game::GetDirectory() + "\\Resources\\" + relative; }

void AddCollider(const LayerBuild& build, Tundra::Sprite& sprite, int actorIndex, const ColliderSettings& settings) {
    const CollisionActorTable& actors = build.factory.GetCollisionActors();
    if (actorIndex < 0 || static_cast<std::size_t>(actorIndex) >= actors.size() || actors[actorIndex] == nullptr) {
        return;
    }
    auto* object = TUN_NEW(Collision2D::DynamicObject);
    object->AddCollisionData(actors[actorIndex], 0, 0);
    object->SetCollisionType(settings.type);
    object->SetCollisionThickness(settings.thickness);
    object->SetBoundingRectangleCheckingTileMap(true);
    object->SetZCollision(settings.group);
    for (const std::uint8_t group : settings.collidesWith) {
        object->SetCanCollid(group, true);
    }
    object->SetUpdateOnIdle(settings.updateOnIdle);
    sprite.AddCollision(object, build.layer.GetCollisionId());
}

void AddBody(Tundra::Sprite& sprite, const BodySettings& body) {
    sprite.SetCenter({0.0f, 0.0f});
    const Physics2D::MassProperties mass(body.mass, 0.0f, {0.0f, 0.0f});
    sprite.AddPhysicalProperties(&mass, 0);
    if (body.gravity) {
        sprite.AddForce(TUN_NEW(Physics2D::GravityForce, Vector2D(0.0f, -1.0f), *body.gravity));
    }
    sprite.SetVelocity({0.0f, 0.0f});
    sprite.SetAngularVelocity(0.0f);
}

bool IsHudLayer(const LayerBuild& build) { return build.layerIndex == MyLevelFactory::kHudLayer; }

}  // namespace

void TestContent::OnBuild(std::uint32_t level, std::uint32_t layer, Builder builder) {
    m_builders[{level, layer}] = std::move(builder);
}

void TestContent::ThenBuild(std::uint32_t level, std::uint32_t layer, Builder builder) {
    Builder& present = m_builders[{level, layer}];
    present = [first = std::move(present), then = std::move(builder)](const LayerBuild& build) {
        if (first) {
            first(build);
        }
        then(build);
    };
}

void TestContent::LoadCollisionActors(MyLevelFactory& factory) {
    ++actorLoads;
    if (m_actorBuilder) {
        m_actorBuilder(factory);
    }
}

void TestContent::BuildLayer(MyLevelFactory& factory, std::uint32_t level, std::uint32_t layer) {
    builtLayers.emplace_back(level, layer);
    const auto builder = m_builders.find({level, layer});
    Tundra::Layer* target = factory.GetLayer(layer);
    if (builder != m_builders.end() && builder->second && target != nullptr) {
        // A copy: the callback may set builders itself.
        const Builder build = builder->second;
        build({factory, level, layer, *target});
    }
}

std::vector<Core::RefPtr<Tundra::SpriteAnimation>> TestAnimations(int count, int frames) {
    std::vector<Core::RefPtr<Tundra::SpriteAnimation>> list;
    for (int i = 0; i < count; ++i) {
        const std::string name = "animation" + std::to_string(i);
        list.push_back(TUN_NEW(Tundra::SpriteAnimation, Core::String("test/" + name + ".png"), frames, 1,
                               std::vector<float>(static_cast<std::size_t>(frames), 0.1f)));
        list.back()->SetName(name.c_str());
    }
    return list;
}

Tundra::Text& PlaceText(const LayerBuild& build, const char* name, const char* text, const Vector2D& position) {
    auto* object = TUN_NEW(Tundra::Text, text, "");
    object->SetName(name);
    object->SetOldPosition(position);
    build.layer.AddGameObject(object);
    return *object;
}

void PlaceTemplates(const LayerBuild& build, std::initializer_list<std::uint32_t> skip) {
    for (std::uint32_t slot = 0; slot < kTemplateCount; ++slot) {
        if (std::find(skip.begin(), skip.end(), slot) == skip.end()) {
            PlaceSprite<Tundra::Sprite>(build, kTemplateNames[slot]);
        }
    }
}

void PlaceTileTemplates(const LayerBuild& build) {
    PlaceSprite<MapTile>(build, "MapTileColliderTemplate");
    PlaceSprite<MapTile>(build, "MapTileTemplate");
}

AnimationList SheetAnimations(const std::vector<SheetAnimation>& animations) {
    AnimationList list;
    for (const SheetAnimation& animation : animations) {
        const Core::String sheet = animation.sheet;
        list.push_back(TUN_NEW(Tundra::SpriteAnimation, ResourcePath("Animations\\" + sheet + ".png"),
                               animation.columns, animation.rows, animation.delays));
        list.back()->SetName(sheet);
    }
    return list;
}

std::vector<float> Delays(int frames, float delay) { return std::vector<float>(static_cast<std::size_t>(frames), delay); }

std::vector<float> DelayRuns(std::initializer_list<std::pair<float, int>> runs) {
    std::vector<float> delays;
    for (const auto& [delay, count] : runs) {
        delays.insert(delays.end(), static_cast<std::size_t>(count), delay);
    }
    return delays;
}

Tundra::Sprite& PlaceSpriteRow(const LayerBuild& build, const SpriteRow& row) {
    Tundra::Sprite* sprite = row.make(SheetAnimations(row.animations));
    if (row.collider) {
        AddCollider(build, *sprite, row.actorIndex, *row.collider);
    }
    sprite->SetName(row.name);
    sprite->SetCollisionActorIndex(row.actorIndex);
    if (row.setOpacity != nullptr) {
        row.setOpacity(*sprite, row.opacity);
    } else {
        sprite->SetOpacity(row.opacity);
    }
    sprite->Play(!row.stopped);
    sprite->SetPosition(row.position);
    sprite->SetCurrentAnimationIndex(row.animation, false);
    sprite->SetCurrentFrameIndex(row.frame, false);
    sprite->SetLoop(!row.stopped);
    sprite->SetAnimationSpeed(1.0f);
    sprite->SetFlipHorizontal(row.flipped);
    sprite->SetFlipVertical(false);
    sprite->SetLifeTime(0.0f);
    if (row.setVisible != nullptr) {
        row.setVisible(*sprite, !row.hidden);
    } else {
        sprite->SetVisible(!row.hidden);
    }
    sprite->SetRotationAngle(0.0f);
    sprite->SetScale(row.scale.x, row.scale.y);
    sprite->SetCenter({0.0f, 0.0f});
    sprite->SetZOrder(row.z);
    if (row.color) {
        sprite->SetModulationColor(*row.color);
    }
    if (row.body) {
        AddBody(*sprite, *row.body);
    }
    if (IsHudLayer(build)) {
        sprite->SetHUDObject(true);
    }
    build.layer.AddGameObject(sprite);
    return *sprite;
}

Tundra::Text& PlaceTextRow(const LayerBuild& build, const TextRow& row) {
    Tundra::Text* text = row.make(row.text, ResourcePath("Fonts\\DefaultFont\\DefaultFont"));
    text->SetName(row.name);
    text->SetPosition(row.position);
    text->SetLifeTime(0.0f);
    text->SetVisible(!row.hidden);
    text->SetRotationAngle(0.0f);
    text->SetScale(row.scale, row.scale);
    text->SetCenter({0.0f, 0.0f});
    text->SetOpacity(1.0f);
    text->SetZOrder(row.z);
    text->SetModulationColor(row.color);
    if (IsHudLayer(build)) {
        text->SetHUDObject(true);
    }
    build.layer.AddGameObject(text);
    return *text;
}

Tundra::ParticleSystem& PlaceParticleRow(const LayerBuild& build, const ParticleRow& row) {
    Tundra::ParticleEmitter* emitter =
        row.diskRadius ? static_cast<Tundra::ParticleEmitter*>(TUN_NEW(Tundra::DiskEmitter, row.emitterOffset, *row.diskRadius))
                       : TUN_NEW(Tundra::PointEmitter, row.emitterAngles.low, row.emitterAngles.high, row.emitterOffset);
    constexpr float kBoundingSize = 256.0f;
    Tundra::ParticleSystem* system =
        row.make(ResourcePath("ParticleSystems\\Particle_Texture.png"), row.count, kBoundingSize, row.gravity);
    system->SetEmitter(emitter);
    system->SetName(row.name);
    system->SetLifeTime(0.0f);
    system->SetZOrder(row.z);
    system->SetPosition(row.position);
    system->SetRotationAngle(0.0f);
    system->SetScale(1.0f, 1.0f);
    system->SetCenter({0.0f, 0.0f});
    system->SetVisible(false);
    system->SetRecycleParticles(true);
    system->SetEmissionRate(row.emissionRate.low, row.emissionRate.high);
    system->SetSrcBlendFactor(row.sourceBlend);
    system->SetDstBlendFactor(row.destinationBlend);
    system->SetParticleStartingColor(row.startColor.low, row.startColor.high);
    system->SetParticleEndingColor(row.endColor.low, row.endColor.high);
    system->SetParticleLifeTime(row.lifetime.low, row.lifetime.high);
    system->SetParticleSpeed(row.speed.low, row.speed.high);
    if (row.rotationSpeed) {
        system->SetParticleRotationSpeed(row.rotationSpeed->low, row.rotationSpeed->high);
    }
    system->SetParticleDirection(row.direction);
    system->SetParticleStartingScale(row.startScale.low, row.startScale.high);
    system->SetParticleEndingScale(row.endScale.low, row.endScale.high);
    system->SetUseLocalCoordinates(false);
    system->WarmUp(row.warmUp);
    build.layer.AddGameObject(system);
    return *system;
}

}  // namespace mygametest
