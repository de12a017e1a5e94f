#include "mygame/MyGame_CursorClass.h"
#include "mygame/MyGame_CursorSprite.h"
#include "mygame/MyGame_FadingText.h"
#include "mygame/MyGame_LabeledButton.h"
#include "mygame/MyGame_MenuPlayer.h"
#include "mygame/MyGame_Templates.h"
#include "mygame/MyGame_TitleSun.h"
#include "mygame/MyGame_VendingMachine.h"
#include "mygame/MyGame_VolumeControl.h"
#include "support/MyGame_WidgetFixture.h"
#include "support/Renderer_ManifestSizes.h"
#include "tundra/Tundra_Sprite.h"
#include "tundra/Tundra_Text.h"

#include <gtest/gtest.h>

namespace mygametest {
namespace {

using WidgetFixtureTest = WidgetTest;
using WidgetPixelFixtureTest = WidgetPixelTest;

// The title level's rows are found by the names and classes the game and
// the menus ask for, with the generated sheets' frame sizes though no image
// is read.
TEST_F(WidgetFixtureTest, TheTitleLevelHoldsItsRowsWithTheGeneratedFrameSizes) {
    ASSERT_TRUE(EnterTitle());
    struct Row {
        const char* name;
        int width;
        int height;
    };
    for (const Row& row : {Row{"MainCursor", 28, 26}, Row{"LeftCursor", 28, 26}, Row{"VolumeBG", 200, 72},
                           Row{"ShopUI", 116, 154}, Row{"PushX", 50, 42}, Row{"TitleSun", 256, 256}}) {
        const auto* sprite = Find<Tundra::Sprite>(row.name);
        ASSERT_NE(sprite, nullptr) << row.name;
        EXPECT_EQ(sprite->GetFrameWidth(0), row.width) << row.name;
        EXPECT_EQ(sprite->GetFrameHeight(0), row.height) << row.name;
    }
    EXPECT_NE(Find<CursorClass>("MainCursor"), nullptr);
    EXPECT_NE(Find<CursorSprite>("RightCursor"), nullptr);
    for (const char* machine : {"OptionsUI", "LevelSelUI", "ShopUI"}) {
        EXPECT_NE(Find<VendingMachine>(machine), nullptr) << machine;
    }
    EXPECT_NE(Find<VolumeControl>("VolumeBG"), nullptr);
    EXPECT_NE(Find<MenuPlayer>("Player"), nullptr);
    EXPECT_NE(Find<TitleSun>("TitleSun"), nullptr);
    EXPECT_NE(dynamic_cast<FadingText*>(Game().GetTemplate(kFadingTextTemplate)), nullptr);
    const auto* button = dynamic_cast<LabeledButton*>(Game().GetTemplate(kButtonTemplate));
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->GetFrameWidth(0), 228);
    EXPECT_EQ(button->GetFrameHeight(2), 101);
}

TEST(ManifestSheetSizeTest, APathAnswersWithItsSheetsImageSize) {
    const auto size = testsupport::ManifestSheetSize("/game\\Resources\\Animations\\LRCursor.png");
    ASSERT_TRUE(size.has_value());
    EXPECT_EQ(size->width, 56u);
    EXPECT_EQ(size->height, 26u);
    EXPECT_FALSE(testsupport::ManifestSheetSize("/game/Resources/Sounds/buttonHover.ogg").has_value());
    EXPECT_FALSE(testsupport::ManifestSheetSize("/game/Animations/LRCursor.png").has_value());
}

// A flat sheet shows its frame's colour and the solid font its text's, read
// back from the offscreen window at HUD points.
TEST_F(WidgetPixelFixtureTest, FlatSheetsAndTheSolidFontShowTheirColours) {
    ASSERT_TRUE(Resources().WriteFlatSheet("PlayerHP", {{0, 200, 0, 255}}));
    Resources().WriteSolidFont();
    ASSERT_TRUE(EnterTitle());
    auto* text = Find<Tundra::Text>("DropsCollectedText");
    ASSERT_NE(text, nullptr);
    text->SetModulationColor({1.0f, 0.0f, 0.0f, 1.0f});
    text->SetText("00");
    // Not the level's fade over it all.
    Find<Tundra::Sprite>("FadeTransition")->SetVisible(false);
    Step(2);
    EXPECT_TRUE(IsNear(PixelAt({-437.0f, 349.0f}), {0, 200, 0, 255}));
    EXPECT_TRUE(IsNear(PixelAt(text->GetPosition() + Vector2D{8.0f, 8.0f}), {255, 0, 0, 255}));
}

}  // namespace
}  // namespace mygametest
