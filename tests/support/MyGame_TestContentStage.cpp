#include "mygame/MyGame_MyLevelFactory.h"
#include "mygame/generated/MyGame_CollisionActors.h"
#include "mygame/generated/MyGame_ContentTables.h"
#include "support/MyGame_TestContent.h"

#include <initializer_list>
#include <string_view>
#include <variant>

namespace mygametest {
namespace {

bool IsLeftOut(const ContentRow& row, StageLeftOut leftOut) {
    const auto* sprite = std::get_if<SpriteRow>(&row);
    if (sprite == nullptr) {
        return false;
    }
    const std::string_view name = sprite->name;
    const bool enemy = name == "WalkingRangedEnemyTemplate" || name == "FlyingRangedEnemyTemplate" ||
                       name == "RollingSpikeTemplate";
    const bool boss = name == "UnknownBoss" || name == "BearBossBody" || name == "AlpacaBoss";
    return (enemy && leftOut.enemies) || (boss && leftOut.bosses);
}

void BuildStageLayer(const LayerBuild& build, StageLeftOut leftOut) {
    for (const ContentRow& row : ContentLevelRows(MyLevelFactory::kGameLevel)[build.layerIndex]) {
        if (!IsLeftOut(row, leftOut)) {
            PlaceRow(build, row);
        }
    }
}

}  // namespace

void AddStageContent(TestContent& content, StageLeftOut leftOut) {
    content.OnLoadActors(&BuildCollisionActors);
    for (const std::uint32_t layer : {MyLevelFactory::kHudLayer, MyLevelFactory::kWorldLayer}) {
        content.OnBuild(MyLevelFactory::kGameLevel, layer,
                        [leftOut](const LayerBuild& build) { BuildStageLayer(build, leftOut); });
    }
}

std::unique_ptr<TestContent> MakeStageContent() {
    auto content = std::make_unique<TestContent>();
    AddStageContent(*content);
    return content;
}

}  // namespace mygametest
