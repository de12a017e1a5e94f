#include "mygame/MyGame.h"
#include "mygame/MyGame_MenuPlayer.h"
#include "mygame/MyGame_ProfileText.h"
#include "mygame/MyGame_ShopFixture.h"
#include "mygame/MyGame_ShopPrices.h"
#include "mygame/MyGame_ShopUI.h"
#include "mygame/MyGame_ShopUnlockPage.h"
#include "tundra/Tundra_Layer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace mygametest {
namespace {

const Color kRed{0.9f, 0.2f, 0.2f, 1.0f};
const Color kBlack{0.0f, 0.0f, 0.0f, 1.0f};
const Color kGreen{0.2f, 0.8f, 0.2f, 1.0f};

using ShopTest = ShopFixture;

// The pages walk the table's rows; past them there is no price.
TEST(ShopPricesTest, NoPriceBeyondTheFiveItemsAndTheLastLevel) {
    for (const std::uint32_t item : {1u, 2u, 4u, 8u, 16u}) {
        EXPECT_TRUE(UpgradeCost(item, 4).has_value()) << item;
        EXPECT_EQ(UpgradeCost(item, 5), std::nullopt) << item;
    }
    for (const std::uint32_t other : {0u, 3u, 32u, 0xFFFFFFFFu}) {
        EXPECT_EQ(UpgradeCost(other, 0), std::nullopt) << other;
        EXPECT_EQ(UpgradeRows(other), 0u) << other;
    }
    EXPECT_EQ(UpgradeRows(16), 1u);
    EXPECT_EQ(UpgradeRows(8), 4u);
}

TEST(ShopPricesTest, EveryUnlockPageSaysExactlyItsWords) {
    const std::string repair = "Something must have gone\nwrong with your system!\nFear not! For repair is free!";
    struct Case {
        std::uint32_t bit;
        std::int64_t currency;
        std::string message;
        bool red;
        std::string button;
        bool unlocks;
        std::int32_t price;
    };
    const Case cases[] = {
        {1, 0, repair, true, "Repair", true, 0},
        {1, -1, repair, true, "Repair", true, 0},
        {2, 0, repair, true, "Repair", true, 0},
        {2, -1, "Something must have gone wrong\nwith your system!\nFear not! For repair is free!", true, "Repair",
         true, 0},
        {4, 249, "Not enough currency!\nGet back out there!\n\n\nFlamer\nCost: 250", true, "Buy: 250", false, 0},
        {4, 250,
         "Cannot wait to unleash\nthe purifying flames on\nto the world?\n\n"
         "Unlock your weapon NOW!\n\n\nFlamer\nCost: 250",
         false, "Buy: 250", true, 250},
        {8, 499, "Not enough currency!\nGet back out there!\n\n\nMiniGun\nCost: 500", true, "Buy: 500", false, 0},
        {8, 4000000000,
         "Feel the recoil-less\npower to overcome all \nhostiles!\n\nUnlock your weapon NOW!\n\n\nMiniGun\nCost: 500",
         false, "Buy: 500", true, 500},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.bit);
        SCOPED_TRACE(test.currency);
        const std::optional<UnlockPage> page = UnlockPageOf(test.bit, test.currency);
        ASSERT_TRUE(page.has_value());
        EXPECT_EQ(page->message, test.message);
        EXPECT_EQ(page->red, test.red);
        EXPECT_EQ(page->buttonLabel, test.button);
        EXPECT_EQ(page->unlocks, test.unlocks);
        EXPECT_EQ(page->price, test.price);
    }
    EXPECT_FALSE(UnlockPageOf(16, 1000).has_value());
    EXPECT_FALSE(UnlockPageOf(3, 1000).has_value());
}

TEST_F(ShopTest, TheFirstOpeningShowsTheHealthPageAndBringsTheTabsInLate) {
    Open();
    EXPECT_TRUE(Shop().IsShown());
    EXPECT_EQ(Shop().GetCurrentPage(), 0);
    EXPECT_EQ(Shop().GetFrame()->GetTarget(), (UiFrameRect{-256.0f, 275.0f, 193.0f, -283.0f, 1.0f}));
    EXPECT_EQ(Shop().GetSecondFrame()->GetTarget(), (UiFrameRect{247.0f, 300.0f, 489.0f, 182.0f, 1.0f}));
    const Held<ShopTabs>& tabs = Shop().GetTabs();
    ASSERT_EQ(tabs.size(), 5u);
    const float ys[] = {141.0f, 61.0f, -19.0f, -99.0f, -177.0f};
    for (std::size_t i = 0; i < tabs.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(tabs[i]->GetPosition(), Vector2D(-327.0f, ys[i]));
        EXPECT_EQ(tabs[i]->GetCurrentAnimationIndex(), static_cast<int>(i));
        EXPECT_FALSE(tabs[i]->GetVisible());
        EXPECT_TRUE(tabs[i]->IsShowPending());
        EXPECT_EQ(tabs[i]->IsSelected(), i == 0);
    }
    EXPECT_FALSE(Shop().GetCloseButton()->GetVisible());
    EXPECT_FALSE(Shop().GetTitleText()->GetVisible());
    EXPECT_EQ(Shop().GetTitleText()->GetText(), "Weapon Select\n  L:               R:");

    Frames(1);
    for (std::size_t i = 0; i < tabs.size(); ++i) {
        EXPECT_TRUE(tabs[i]->GetVisible());
        EXPECT_EQ(tabs[i]->GetCurrentFrameIndex(), i == 0 ? 0 : 1);
        EXPECT_LT(tabs[i]->GetOpacity(), 0.0f);
    }
    EXPECT_TRUE(Shop().GetCloseButton()->GetVisible());
    // The health page: one row, its cost, "Buy: 0" and "Reset".
    EXPECT_EQ(Texts(Shop().GetLabels()), (std::vector<std::string>{"Health"}));
    EXPECT_EQ(Texts(Shop().GetCostTexts()), (std::vector<std::string>{"Cost: 100"}));
    EXPECT_EQ(Channels(Shop().GetCostTexts()[0]->GetModulationColor()), Channels(kBlack));
    EXPECT_EQ(ButtonLabels(), (std::vector<std::string>{"Buy: 0", "Reset"}));
    ASSERT_EQ(Shop().GetPlusButtons().size(), 1u);
    EXPECT_EQ(Shop().GetPlusButtons()[0]->GetPosition(), Vector2D(123.0f, 168.0f));
    ASSERT_EQ(Shop().GetCapsules().size(), 1u);
    EXPECT_EQ(Shop().GetCapsules()[0]->GetPosition(), Vector2D(-152.0f, 166.0f));
}

TEST_F(ShopTest, PlusAddsWhatTheCurrencyCoversAndBuyWritesItToTheProfileFile) {
    Profile().currency = 120;
    // Weight of weapon 1 raised behind the game's back: a purchase
    // recomputes the move speed from it.
    Profile().upgradeLevels[3] = 2;
    const float staleSpeed = Game().GetMoveSpeedFactor();
    OpenOnTab(1);
    ASSERT_EQ(Shop().GetPlusButtons().size(), 4u);
    EXPECT_EQ(Texts(Shop().GetLabels()), (std::vector<std::string>{"Damage", "Cooldown", "Total Energy", "Weight"}));

    Click(Shop().GetPlusButtons()[0]->GetPosition());
    EXPECT_EQ(Shop().GetPendingLevels(), (std::vector<std::uint8_t>{1, 0, 0, 2}));
    EXPECT_EQ(Shop().GetPendingTotal(), 50);
    Click(Shop().GetPlusButtons()[0]->GetPosition());
    // Another page's item or a row past the page's changes nothing either.
    Shop().AddUpgrade(2, 0);
    Shop().AddUpgrade(1, 4);
    EXPECT_EQ(Shop().GetPendingLevels(), (std::vector<std::uint8_t>{1, 0, 0, 2}));
    EXPECT_EQ(Shop().GetPendingTotal(), 50);
    EXPECT_EQ(Texts(Shop().GetPlusTexts()), (std::vector<std::string>{"+1", "", "", ""}));
    EXPECT_EQ(Shop().GetCostTexts()[0]->GetText(), "Cost: 75");
    EXPECT_EQ(Channels(Shop().GetCostTexts()[0]->GetModulationColor()), Channels(kRed));
    EXPECT_EQ(ButtonLabels()[0], "Buy: 50");

    Click(Shop().GetActionButtons()[0]->GetPosition());
    const PlayerProfile saved = SavedProfile();
    EXPECT_EQ(GetUpgradeLevel(saved, 1, 0), 1);
    EXPECT_EQ(saved.currency, 70u);
    EXPECT_EQ(saved, Profile());
    EXPECT_NE(Game().GetMoveSpeedFactor(), staleSpeed);
    const float bought = Game().GetMoveSpeedFactor();
    Game().UpdateMoveSpeed();
    EXPECT_EQ(Game().GetMoveSpeedFactor(), bought);
    EXPECT_EQ(ButtonLabels()[0], "Buy: 0");
    EXPECT_EQ(Texts(Shop().GetPlusTexts())[0], "");
    EXPECT_EQ(Shop().GetCapsules()[0]->GetCurrentFrameIndex(), 1);
}

TEST_F(ShopTest, AMaxedRowCannotRiseAndResetReturnsToTheSavedLevels) {
    Profile().upgradeLevels[4 + 1] = 5;
    Profile().upgradeLevels[4 + 2] = 3;
    OpenOnTab(2);
    EXPECT_EQ(Shop().GetCostTexts()[1]->GetText(), "Max Upgrade");
    EXPECT_EQ(Channels(Shop().GetCostTexts()[1]->GetModulationColor()), Channels(kGreen));
    Click(Shop().GetPlusButtons()[1]->GetPosition());
    Click(Shop().GetPlusButtons()[0]->GetPosition());
    Click(Shop().GetPlusButtons()[2]->GetPosition());
    EXPECT_EQ(Shop().GetPendingLevels(), (std::vector<std::uint8_t>{1, 5, 4, 0}));
    EXPECT_EQ(Shop().GetPendingTotal(), 50 + 250);
    EXPECT_EQ(Texts(Shop().GetPlusTexts()), (std::vector<std::string>{"+1", "", "+1", ""}));

    Click(Shop().GetActionButtons()[1]->GetPosition());
    EXPECT_EQ(Shop().GetPendingLevels(), (std::vector<std::uint8_t>{0, 5, 3, 0}));
    EXPECT_EQ(Shop().GetPendingTotal(), 0);
    EXPECT_EQ(Texts(Shop().GetPlusTexts()), (std::vector<std::string>{"", "", "", ""}));
    EXPECT_EQ(CapsuleFrames(), (std::vector<int>{0, 5, 3, 0}));
    EXPECT_EQ(ButtonLabels()[0], "Buy: 0");
    EXPECT_EQ(Profile().currency, 300u);
}

TEST_F(ShopTest, TheHealthRowClimbsItsOwnCostsAndBuyWritesTheFifthWeaponLevel) {
    Profile().currency = 2000;
    Open();
    std::vector<std::string> costs{Shop().GetCostTexts()[0]->GetText().c_str()};
    for (int press = 0; press < 6; ++press) {
        Click(Shop().GetPlusButtons()[0]->GetPosition());
        costs.push_back(Shop().GetCostTexts()[0]->GetText().c_str());
    }
    EXPECT_EQ(costs, (std::vector<std::string>{"Cost: 100", "Cost: 200", "Cost: 300", "Cost: 350", "Cost: 400",
                                               "Max Upgrade", "Max Upgrade"}));
    EXPECT_EQ(Texts(Shop().GetPlusTexts()), (std::vector<std::string>{"+5"}));
    EXPECT_EQ(ButtonLabels()[0], "Buy: 1350");
    Click(Shop().GetActionButtons()[0]->GetPosition());
    const PlayerProfile saved = SavedProfile();
    EXPECT_EQ(saved.fifthWeaponLevel, 5);
    EXPECT_EQ(saved.currency, 650u);
    EXPECT_EQ(CapsuleFrames(), (std::vector<int>{5}));
}

TEST_F(ShopTest, BuyingTheFlamerWithExactlyItsPriceTurnsTheTabIntoItsUpgradePage) {
    Profile().currency = 250;
    Open();
    testing::internal::CaptureStdout();
    Click(Shop().GetTabs()[3]->GetPosition());
    EXPECT_EQ(Shop().GetCurrentPage(), 3);
    EXPECT_EQ(Texts(Shop().GetLabels()),
              (std::vector<std::string>{"Cannot wait to unleash\nthe purifying flames on\nto the world?\n\nUnlock your "
                                        "weapon NOW!\n\n\nFlamer\nCost: 250"}));
    EXPECT_EQ(ButtonLabels(), (std::vector<std::string>{"Buy: 250"}));
    EXPECT_EQ(Shop().GetActionButtons()[0]->GetPosition(), Vector2D(-32.0f, -189.0f));
    EXPECT_EQ(Shop().GetLabels()[0]->GetPosition(), Vector2D(-232.0f, 116.0f));

    Click(Shop().GetActionButtons()[0]->GetPosition());
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "GetUnlockWeapons: 3\nGetUnlockWeapons: 3\nSetUnlockWeapons: 7\nGetUnlockWeapons: 7\n");
    const PlayerProfile saved = SavedProfile();
    EXPECT_EQ(saved.currency, 0u);
    EXPECT_EQ(saved.unlockedWeapons, 7);
    EXPECT_TRUE(Shop().IsPageBuilt());
    EXPECT_EQ(Shop().GetPlusButtons().size(), 4u);
    EXPECT_EQ(ButtonLabels(), (std::vector<std::string>{"Buy: 0", "Reset"}));
}

TEST_F(ShopTest, AnUnaffordableUnlockDoesNothingAndARepairIsFree) {
    Profile().currency = 249;
    OpenOnTab(3);
    EXPECT_EQ(Texts(Shop().GetLabels()),
              (std::vector<std::string>{"Not enough currency!\nGet back out there!\n\n\nFlamer\nCost: 250"}));
    EXPECT_EQ(Channels(Shop().GetLabels()[0]->GetModulationColor()), Channels(kRed));
    const std::string file = ProfileFileBytes();
    Click(Shop().GetActionButtons()[0]->GetPosition());
    Frames(1);
    EXPECT_EQ(Profile().unlockedWeapons, 3);
    EXPECT_EQ(ProfileFileBytes(), file);
    EXPECT_EQ(Shop().GetPlusButtons().size(), 0u);

    Profile().unlockedWeapons = 2;
    Click(Shop().GetTabs()[1]->GetPosition());
    EXPECT_EQ(ButtonLabels(), (std::vector<std::string>{"Repair"}));
    Click(Shop().GetActionButtons()[0]->GetPosition());
    EXPECT_EQ(SavedProfile().unlockedWeapons, 3);
    EXPECT_EQ(SavedProfile().currency, 249u);
    EXPECT_EQ(Shop().GetPlusButtons().size(), 4u);
}

TEST_F(ShopTest, ATabChangeOrClosingSpendsNothingAndTheShopReopensOnTheLastTab) {
    OpenOnTab(1);
    const std::string file = ProfileFileBytes();
    Click(Shop().GetPlusButtons()[0]->GetPosition());
    ASSERT_EQ(Shop().GetPendingTotal(), 50);
    Click(Shop().GetTabs()[2]->GetPosition());
    EXPECT_EQ(Shop().GetCurrentPage(), 2);
    EXPECT_FALSE(Shop().GetTabs()[1]->IsSelected());
    EXPECT_EQ(Shop().GetTabs()[1]->GetCurrentFrameIndex(), 1);
    EXPECT_EQ(Shop().GetPendingTotal(), 0);
    Click(Shop().GetPlusButtons()[0]->GetPosition());
    ASSERT_EQ(Shop().GetPendingTotal(), 50);

    PressX();
    EXPECT_FALSE(Shop().IsShown());
    EXPECT_TRUE(Player().GetControlsOn());
    EXPECT_TRUE(Shop().GetPlusButtons().empty() && Shop().GetActionButtons().empty());
    EXPECT_EQ(Shop().GetCurrentPage(), ShopUI::kNoPage);
    EXPECT_EQ(Profile().currency, 300u);
    EXPECT_EQ(ProfileFileBytes(), file);

    // What a stale callback of the cleared page would call.
    Shop().AddUpgrade(1, 0);
    Shop().ResetUpgrades(1);
    Shop().ConfirmUpgrades(2);
    Shop().RefreshBuyLabel();
    EXPECT_TRUE(Shop().GetPendingLevels().empty());
    EXPECT_EQ(ProfileFileBytes(), file);

    Frames(1);
    PressX();
    EXPECT_EQ(Shop().GetCurrentPage(), 2);
}

TEST_F(ShopTest, TheCloseButtonFreesThePlayer) {
    Open();
    Frames(1);
    Click(Shop().GetCloseButton()->GetPosition());
    EXPECT_FALSE(Shop().IsOpen());
    EXPECT_FALSE(Shop().IsShown());
    EXPECT_TRUE(Player().GetControlsOn());
    EXPECT_FALSE(Shop().GetTabs()[0]->GetVisible());
    EXPECT_EQ(Shop().GetFrame()->GetTarget(), (UiFrameRect{29.0f, -218.0f, 29.0f, -218.0f, 0.0f}));
}

TEST_F(ShopTest, FourBillionBuysWithoutWrapping) {
    Profile().currency = 4000000000u;
    OpenOnTab(1);
    Click(Shop().GetPlusButtons()[0]->GetPosition());
    EXPECT_EQ(Channels(Shop().GetCostTexts()[0]->GetModulationColor()), Channels(kBlack));
    Click(Shop().GetActionButtons()[0]->GetPosition());
    EXPECT_EQ(SavedProfile().currency, 3999999950u);
}

// A second shop started after the level's named objects went away: it
// skips what it cannot find and still opens and closes.
TEST_F(ShopTest, AShopMissingTheObjectsItFindsByNameSkipsThem) {
    struct Case {
        std::vector<const char*> missing;
        std::size_t tabs;
        std::size_t capsules;
        std::size_t plusButtons;
    };
    const Case cases[] = {{{"ShopCapsuleTemplate", "WepSelFrame"}, 5, 0, 1}, {{"ShopTabs"}, 0, 0, 0}};
    for (const Case& test : cases) {
        SCOPED_TRACE(test.missing[0]);
        EnterShop();
        // The first shop's tabs are clones of the same name.
        for (const char* name : test.missing) {
            std::vector<Tundra::GameObject*> found;
            Game().GetHudLayer()->GetGameObjectsByName(name, found);
            for (Tundra::GameObject* object : found) {
                object->SetName("Gone");
            }
        }
        const Vector2D at{200.0f, 166.0f};
        auto* shop = TUN_NEW(ShopUI, SheetAnimations({{"WepSelMachine", 2, 2, Delays(3)}}));
        shop->SetOldPosition(at);
        Game().GetWorldLayer()->AddGameObject(shop);
        Step();
        Player().SetPositionXY(at.x, at.y);
        Player().SetControlsOn(true);
        shop->OpenMenu();
        for (int frame = 0; frame < 3; ++frame) {
            Player().SetPositionXY(at.x, at.y);
            Step();
        }
        EXPECT_TRUE(shop->IsShown());
        EXPECT_EQ(shop->GetTabs().size(), test.tabs);
        EXPECT_EQ(shop->GetCapsules().size(), test.capsules);
        EXPECT_EQ(shop->GetPlusButtons().size(), test.plusButtons);
        shop->AddUpgrade(kHealthBit, 0);
        shop->ResetUpgrades(kHealthBit);
        shop->CloseMenu();
        Step();
        EXPECT_FALSE(shop->IsShown());
        EXPECT_TRUE(Player().GetControlsOn());
    }
}

TEST_F(ShopTest, OnEndEndsItsWidgetsOnceAndACloneHasNone) {
    OpenOnTab(1);
    const Core::RefPtr<LabeledButton> buy = Shop().GetActionButtons()[0];
    const Core::RefPtr<LabeledButton> close(Shop().GetCloseButton());
    Shop().OnEnd();
    EXPECT_EQ(Shop().GetSecondFrame(), nullptr);
    EXPECT_EQ(Shop().GetCloseButton(), nullptr);
    EXPECT_TRUE(buy->IsDestroyRequested() || buy->IsDestroyed());
    EXPECT_TRUE(close->IsDestroyRequested() || close->IsDestroyed());
    Shop().OnEnd();

    const Core::RefPtr<ShopUI> clone(static_cast<ShopUI*>(Shop().Clone()));
    EXPECT_TRUE(clone->GetTabs().empty() && clone->GetSecondFrame() == nullptr && clone->GetTitleText() == nullptr);
    EXPECT_EQ(clone->GetCurrentPage(), ShopUI::kNoPage);
    clone->Update(1.0f / 60.0f);
    clone->OnEnd();
    clone->OnEnd();
}

}  // namespace
}  // namespace mygametest
