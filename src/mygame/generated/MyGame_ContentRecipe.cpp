#include "mygame/generated/MyGame_ContentRecipe.h"

#include "collision/Collision_DynamicObject.h"
#include "mygame/MyGame_MyLevelFactory.h"
#include "network/Network_TunNet.h"
#include "physics/Physics_Force.h"
#include "tundra/Tundra_Game.h"
#include "tundra/Tundra_ParticleEmitterShapes.h"

#include <algorithm>
#include <array>
#include <string>
#include <type_traits>

std::vector<float> Delays(int frames, float delay) {
    return std::vector<float>(static_cast<std::size_t>(std::max(frames, 0)), delay);
}

std::vector<float> DelayRuns(std::initializer_list<std::pair<float, int>> runs) {
    std::vector<float> delays;
    for (const auto& [delay, count] : runs) {
        delays.insert(delays.end(), static_cast<std::size_t>(std::max(count, 0)), delay);
    }
    return delays;
}

AnimationList SheetAnimations(const std::vector<SheetAnimation>& animations) {
    return SheetAnimations(animations, __FILE__);
}

AnimationList SheetAnimations(const std::vector<SheetAnimation>& animations, const char* sourceTag) {
    AnimationList list;
    for (const SheetAnimation& animation : animations) {
        const Core::String sheet = animation.sheet;
        list.push_back(Core::NewTracked<Tundra::SpriteAnimation>(
            sourceTag, __LINE__, recipe::ResourcePath("Animations\\") + sheet + ".png", animation.columns,
            animation.rows, animation.delays));
        list.back()->SetName(sheet);
    }
    return list;
}

Tundra::Sprite* PlaceSpriteRow(const LayerBuild& build, const SpriteRow& row) {
    const SpriteMaker make = row.make.GetMaker();
    return make != nullptr ? make(build, row) : nullptr;
}

Tundra::Text* PlaceTextRow(const LayerBuild& build, const TextRow& row) {
    const TextMaker make = row.make.GetMaker();
    return make != nullptr ? make(build, row) : nullptr;
}

Tundra::ParticleSystem* PlaceParticleRow(const LayerBuild& build, const ParticleRow& row) {
    const ParticleMaker make = row.make.GetMaker();
    return make != nullptr ? make(build, row) : nullptr;
}

Tundra::GameObject* PlaceRow(const LayerBuild& build, const ContentRow& row) {
    return std::visit(
        [&build](const auto& kind) -> Tundra::GameObject* {
            using Row = std::decay_t<decltype(kind)>;
            if constexpr (std::is_same_v<Row, SpriteRow>) {
                return PlaceSpriteRow(build, kind);
            } else if constexpr (std::is_same_v<Row, TextRow>) {
                return PlaceTextRow(build, kind);
            } else {
                return PlaceParticleRow(build, kind);
            }
        },
        row);
}

void ReadLayerCollisions(const LayerBuild& build) {
    const std::string file =
        "level" + std::to_string(build.level) + "_layer" + std::to_string(build.layerIndex) + ".txt";
    build.layer.ReadInformation_StaticCollision(recipe::ResourcePath("Layers Collisions\\") + file.c_str());
}

namespace recipe {

bool IsNetworkClient() {
    const Tundra::Game* game = Tundra::Game::GetInstance();
    const Tundra::TunNet* network = game != nullptr ? game->GetNetworkEngine() : nullptr;
    return network != nullptr && network->IsNetworkGame() && !network->IsHost();
}

const char* SourceTag(const LayerBuild& build) {
    // Static strings: the allocator keeps the pointer.
    static constexpr std::array<std::array<const char*, 3>, 3> kTags{{
        {"MyGame_MyLevelFactory_0_0", "MyGame_MyLevelFactory_0_1", "MyGame_MyLevelFactory_0_2"},
        {"MyGame_MyLevelFactory_1_0", "MyGame_MyLevelFactory_1_1", "MyGame_MyLevelFactory_1_2"},
        {"MyGame_MyLevelFactory_2_0", "MyGame_MyLevelFactory_2_1", "MyGame_MyLevelFactory_2_2"},
    }};
    if (build.level >= kTags.size() || build.layerIndex >= kTags[build.level].size()) {
        return "MyGame_MyLevelFactory";
    }
    return kTags[build.level][build.layerIndex];
}

Core::String ResourcePath(const char* relative) {
    return Tundra::Game::GetDirectory() + "\\Resources\\" + relative;
}

Collision2D::DynamicObject* MakeCollider(const LayerBuild& build, int actorIndex, const ColliderSettings& settings) {
    const CollisionActorTable& actors = build.factory.GetCollisionActors();
    const std::int64_t number = settings.actor ? static_cast<std::int64_t>(*settings.actor) : actorIndex;
    if (number < 0 || number >= static_cast<std::int64_t>(actors.size()) || actors[number] == nullptr) {
        return nullptr;
    }
    std::vector<std::uint8_t> groups = settings.collidesWith;
    std::sort(groups.begin(), groups.end());
    groups.erase(std::unique(groups.begin(), groups.end()), groups.end());

    auto* object = Core::NewTracked<Collision2D::DynamicObject>(SourceTag(build), __LINE__);
    object->AddCollisionData(actors[number], 0, 0);
    object->SetCollisionType(settings.type);
    object->SetCollisionThickness(settings.thickness);
    object->SetBoundingRectangleCheckingTileMap(true);
    object->SetZCollision(settings.group);
    for (const std::uint8_t group : groups) {
        object->SetCanCollid(group, true);
    }
    object->SetUpdateOnIdle(settings.updateOnIdle);
    return object;
}

Physics2D::MassProperties MakeMass(const BodySettings& body) { return {body.mass, 0.0f, {0.0f, 0.0f}}; }

Physics2D::Force* MakeGravity(const LayerBuild& build, float strength) {
    return Core::NewTracked<Physics2D::GravityForce>(SourceTag(build), __LINE__, Vector2D(0.0f, -1.0f), strength);
}

Tundra::ParticleEmitter* MakeEmitter(const LayerBuild& build, const ParticleRow& row) {
    if (row.diskRadius) {
        return Core::NewTracked<Tundra::DiskEmitter>(SourceTag(build), __LINE__, row.emitterOffset, *row.diskRadius);
    }
    return Core::NewTracked<Tundra::PointEmitter>(SourceTag(build), __LINE__, row.emitterAngles.low,
                                                  row.emitterAngles.high, row.emitterOffset);
}

bool IsHudLayer(const LayerBuild& build) { return build.layerIndex == MyLevelFactory::kHudLayer; }

}  // namespace recipe
