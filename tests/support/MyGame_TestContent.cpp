#include "support/MyGame_TestContent.h"

#include "mygame/MyGame_MapTile.h"
#include "mygame/MyGame_MyLevelFactory.h"
#include "mygame/MyGame_Templates.h"
#include "tundra/Tundra_Sprite.h"
#include "tundra/Tundra_Text.h"

#include <algorithm>
#include <string>

namespace mygametest {
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

}  // namespace mygametest
