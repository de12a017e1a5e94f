#include "mygame/MyGame_MyLevelFactory.h"
#include "mygame/generated/MyGame_CollisionActors.h"
#include "mygame/generated/MyGame_ContentTables.h"
#include "support/MyGame_TestContent.h"

namespace mygametest {
namespace {

void BuildTitleLayer(const LayerBuild& build) {
    for (const ContentRow& row : ContentLevelRows(MyLevelFactory::kMenuLevel)[build.layerIndex]) {
        PlaceRow(build, row);
    }
}

}  // namespace

void AddTitleContent(TestContent& content) {
    content.OnLoadActors(&BuildCollisionActors);
    content.OnBuild(MyLevelFactory::kMenuLevel, MyLevelFactory::kHudLayer, &BuildTitleLayer);
    content.OnBuild(MyLevelFactory::kMenuLevel, MyLevelFactory::kWorldLayer, &BuildTitleLayer);
}

}  // namespace mygametest
