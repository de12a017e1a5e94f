#include "support/MyGame_PlayContent.h"

#include "mygame/MyGame_Cloud.h"
#include "mygame/MyGame_MenuPlayer.h"
#include "mygame/MyGame_MyLevelFactory.h"
#include "mygame/MyGame_Templates.h"
#include "mygame/MyGame_TitleSun.h"
#include "support/Collision_CircleShape.h"
#include "tundra/Tundra_Game.h"
#include "tundra/Tundra_Sprite.h"

namespace mygametest {
namespace {

void PlaceGameTemplates(const LayerBuild& build) {
    PlaceTemplates(build, {kBulletTemplate, kCloudTemplate});
    Tundra::Sprite& bullet = PlaceSprite<Tundra::Sprite>(build, kTemplateNames[kBulletTemplate]);
    bullet.AddCollision(testsupport::MakeCircleShape(*Tundra::Game::GetInstance(), 4.0f, 1), 0);
    PlaceSprite<Cloud>(build, kTemplateNames[kCloudTemplate], {}, 1);
    PlaceTileTemplates(build);
}

}  // namespace

void AddPlayContent(TestContent& content) {
    constexpr std::uint32_t kWorld = MyLevelFactory::kWorldLayer;
    content.OnBuild(MyLevelFactory::kIntroLevel, kWorld, [](const LayerBuild& build) {
        for (const char* logo : {"HwLogo", "TdLogo", "QuorLogo"}) {
            PlaceSprite<Tundra::Sprite>(build, logo, {512.0f, 384.0f}).SetOpacity(0.0f);
        }
    });
    content.OnBuild(MyLevelFactory::kMenuLevel, kWorld, [](const LayerBuild& build) {
        PlaceSprite<Tundra::Sprite>(build, "Title", {512.0f, 860.0f});
        PlaceSprite<MenuPlayer>(build, "Player", {300.0f, 500.0f});
        PlaceSprite<Tundra::Sprite>(build, "ExitSign", {40.0f, 120.0f}, 2);
        PlaceSprite<TitleSun>(build, "TitleSun", {800.0f, 600.0f});
        PlaceSprite<Tundra::Sprite>(build, "SkyGradient", {512.0f, 384.0f}, 3);
        PlaceText(build, "DropsCollectedText", "", {900.0f, 700.0f});
        PlaceText(build, "ControlsInstruction1", "", {512.0f, 300.0f});
        PlaceText(build, "ControlsInstruction2", "", {512.0f, 260.0f});
        PlaceGameTemplates(build);
    });
    content.OnBuild(MyLevelFactory::kGameLevel, kWorld, &PlaceGameTemplates);
}

std::unique_ptr<TestContent> MakePlayContent() {
    auto content = std::make_unique<TestContent>();
    AddPlayContent(*content);
    return content;
}

}  // namespace mygametest
