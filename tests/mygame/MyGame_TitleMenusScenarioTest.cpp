#include "mygame/MyGame.h"
#include "mygame/MyGame_LevelUI.h"
#include "mygame/MyGame_MenuExit.h"
#include "mygame/MyGame_MenuPlayer.h"
#include "mygame/MyGame_MenuWidget.h"
#include "mygame/MyGame_MyLevelFactory.h"
#include "mygame/MyGame_ProfileText.h"
#include "mygame/MyGame_ShopUI.h"
#include "mygame/MyGame_WepSelUI.h"
#include "support/MyGame_ButtonPress.h"
#include "support/MyGame_HudClick.h"
#include "support/MyGame_WidgetFixture.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

// The title level's five menus in one run, used with keys and the mouse
// only, the game saved with the shop open and loaded on the way.
namespace mygametest {
namespace {

constexpr os::VirtualKey kLeft = 'A';
constexpr os::VirtualKey kRight = 'D';
constexpr os::VirtualKey kUse = 'X';

class TitleMenusScenarioTest : public WidgetTest {
protected:
    // The key held until the named machine has the player in front of it.
    void WalkTo(const char* machineName, os::VirtualKey key) {
        const auto* machine = Find<VendingMachine>(machineName);
        ASSERT_NE(machine, nullptr);
        Press(key);
        ASSERT_TRUE(RunUntil([machine] { return machine->IsPlayerInRange(); }, 300)) << machineName;
        Release(key);
        Step();
    }

    void Use(const char* machineName, bool open) {
        Tap(kUse);
        const auto* machine = Find<VendingMachine>(machineName);
        ASSERT_NE(machine, nullptr);
        ASSERT_EQ(machine->IsOpen(), open) << machineName;
        Step();
    }

    void Click(const char* label) { ASSERT_TRUE(PressButton(label)) << label; }

    void ClickOn(const Tundra::GameObject* object) {
        ASSERT_NE(object, nullptr);
        ASSERT_TRUE(ClickAt(object->GetPosition()));
        Step(2);
    }

    void SaveAndLoad() {
        Game().RequestSave("menus");
        Step();
        const Tundra::Level* before = Game().GetCurrentLevel();
        Game().RequestLoad("menus");
        Step();
        ASSERT_NE(Game().GetCurrentLevel(), before);
        // The mouse waits for still frames after a level change.
        Step(2);
    }

    PlayerProfile SavedProfile() const {
        std::ifstream file(DataFolder() + "/profile.sav", std::ios::binary);
        return ParseProfile(std::string(std::istreambuf_iterator<char>(file), {})).profile;
    }
};

TEST_F(TitleMenusScenarioTest, AShopPurchaseAWeaponOptionsTheExitDialogAndAStageChosenAndPlayed) {
    ASSERT_TRUE(EnterTitle());
    PlayerProfile& profile = Game().GetProfile();
    profile.highestStage = 4;
    profile.unlockedWeapons = 7;
    Game().ChangeLevel(MyLevelFactory::kMenuLevel);
    ASSERT_TRUE(RunUntil([this] { return !Game().IsLevelChangePending(); }, 4));

    // Left takes the title screen away, then walks the player to the shop:
    // a health level bought, the first weapon's tab chosen.
    WalkTo("ShopUI", kLeft);
    Use("ShopUI", true);
    Click("+");
    Click("Buy: 100");
    ClickOn(Find<ShopUI>("ShopUI")->GetTabs()[1].Get());
    ASSERT_EQ(Find<ShopUI>("ShopUI")->GetCurrentPage(), 1);

    // Saved open on that page, it comes back closed with the player free.
    SaveAndLoad();
    auto* shop = Find<ShopUI>("ShopUI");
    ASSERT_NE(shop, nullptr);
    EXPECT_FALSE(shop->IsOpen());
    EXPECT_TRUE(Find<MenuPlayer>("Player")->GetControlsOn());

    // Open again: the flamer goes to the left hand.
    Use("ShopUI", true);
    ClickOn(shop->GetWeaponPanel()->GetLeftIcon());
    ASSERT_EQ(shop->GetWeaponPanel()->GetCandidates().size(), 1u);
    ClickOn(shop->GetWeaponPanel()->GetCandidates()[0].Get());
    EXPECT_EQ(Game().GetProfile().LeftWeapon(), 4u);
    Use("ShopUI", false);

    WalkTo("OptionsUI", kLeft);
    Use("OptionsUI", true);
    Click("volume");
    Click("mute");
    EXPECT_TRUE(Game().IsMuted());
    Click("back");
    Use("OptionsUI", false);

    // The sign takes client pixels: the title's camera shows one world unit
    // per pixel.
    const auto* sign = Find<MenuExit>("ExitSign");
    ASSERT_NE(sign, nullptr);
    PointAt(sign->GetPosition() - kHudCentre);
    Step();
    PressAndRelease();
    ASSERT_EQ(sign->GetState(), MenuExit::kDialogOpen);
    Step();
    Click("Cancel");
    EXPECT_EQ(sign->GetState(), MenuExit::kIdle);

    WalkTo("LevelSelUI", kRight);
    Use("LevelSelUI", true);
    Click("2");
    Click("Play");
    ASSERT_TRUE(RunUntil([this] { return Game().GetCurrentLevelIndex() == MyLevelFactory::kGameLevel; }, 20));
    EXPECT_EQ(Game().GetProfile().currentStage, 1u);
    const PlayerProfile saved = SavedProfile();
    EXPECT_EQ(saved.fifthWeaponLevel, 1u);
    EXPECT_EQ(saved.currency, 200u);
}

}  // namespace
}  // namespace mygametest
