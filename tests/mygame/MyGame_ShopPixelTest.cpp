#include "mygame/MyGame_ShopFixture.h"

#include <gtest/gtest.h>

// What the shop draws: the tabs' looks, a capsule's level and the colour
// of a maxed row's words.
namespace mygametest {
namespace {

class ShopPixelTest : public ShopFixtureOf<WidgetPixelTest> {
protected:
    static constexpr testsupport::Rgba kSelected{255, 0, 0, 255};
    static constexpr testsupport::Rgba kNormal{0, 255, 0, 255};
    static constexpr testsupport::Rgba kHovered{0, 0, 255, 255};
    static inline const std::vector<testsupport::Rgba> kCapsuleLevels{
        {10, 10, 10, 255}, {40, 40, 40, 255}, {80, 0, 80, 255}, {120, 120, 0, 255}, {0, 160, 160, 255},
        {200, 100, 0, 255}};

    void SetUp() override {
        ShopFixtureOf<WidgetPixelTest>::SetUp();
        for (const char* tab : {"RobotTab", "PlasmaTab", "BeamTab", "FlamerTab", "MiniTab"}) {
            ASSERT_TRUE(Resources().WriteFlatSheet(tab, {kSelected, kNormal, kHovered}));
        }
        ASSERT_TRUE(Resources().WriteFlatSheet("ShopCapsule", kCapsuleLevels));
        Resources().WriteSolidFont();
        EnterShop();
        Find<Tundra::Sprite>("FadeTransition")->SetVisible(false);
    }
};

TEST_F(ShopPixelTest, TabsShowTheirLooksACapsuleItsLevelAndAMaxedRowReadsGreen) {
    Profile().upgradeLevels[0] = 2;
    Profile().upgradeLevels[1] = 5;
    Shop().OpenMenu();
    Frames(2);
    Click(Shop().GetTabs()[1]->GetPosition());
    ASSERT_EQ(Shop().GetCurrentPage(), 1);
    // Drawn at full opacity rather than waiting for the fade-in.
    const ShopUI::Held<ShopTabs>& tabs = Shop().GetTabs();
    for (const Core::RefPtr<ShopTabs>& tab : tabs) {
        tab->SetOpacity(1.0f);
    }
    for (const Core::RefPtr<Tundra::Sprite>& capsule : Shop().GetCapsules()) {
        capsule->SetOpacity(1.0f);
    }
    Shop().GetCostTexts()[1]->SetOpacity(1.0f);
    Frames(2);
    for (std::size_t i = 0; i < tabs.size(); ++i) {
        EXPECT_TRUE(IsNear(PixelAt(tabs[i]->GetPosition()), i == 1 ? kSelected : kNormal)) << i;
    }
    EXPECT_TRUE(IsNear(PixelAt(Shop().GetCapsules()[0]->GetPosition()), kCapsuleLevels[2]));
    EXPECT_TRUE(IsNear(PixelAt(Shop().GetCapsules()[1]->GetPosition()), kCapsuleLevels[5]));
    const Vector2D glyph = Shop().GetCostTexts()[1]->GetPosition() + Vector2D{8.0f, 8.0f};
    EXPECT_TRUE(IsNear(PixelAt(glyph), {51, 204, 51, 255}));
}

}  // namespace
}  // namespace mygametest
