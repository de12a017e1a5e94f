#include "core/Core_MemoryFile.h"
#include "mygame/MyGame_ShopFixture.h"
#include "mygame/MyGame_WidgetStreamChecks.h"
#include "tundra/Tundra_Layer.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <vector>

// The shop saved and read back: a closed shop goes on as it was; an open
// one, whose buttons' callbacks no stream holds, comes back closed with the
// player free; damaged streams are refused with the shop unchanged.
namespace mygametest {
namespace {

using ShopStreamTest = ShopFixture;

StreamBytes OwnSave(const ShopUI& shop) {
    Core::MemoryFile file;
    shop.Save(file);
    return {file.GetData(), file.GetData() + file.GetSize()};
}

// A fresh shop that reads the bytes: whether the read failed, and the
// shop unchanged when it did.
bool Refused(const StreamBytes& bytes) {
    const Core::RefPtr<ShopUI> read = TUN_NEW(ShopUI);
    Core::MemoryFile file(bytes.data(), static_cast<std::uint32_t>(bytes.size()));
    read->Load(file);
    const bool unchanged = read->GetCurrentPage() == ShopUI::kNoPage && read->GetTabs().empty() &&
                           read->GetPendingLevels().empty() && read->GetSecondFrame() == nullptr && !read->IsShown();
    return file.HasFailed() && unchanged;
}

std::size_t LiveObjectsNamed(Tundra::Layer& layer, const char* name) {
    std::vector<Tundra::GameObject*> found;
    layer.GetGameObjectsByName(name, found);
    std::size_t live = 0;
    for (const Tundra::GameObject* object : found) {
        live += object->IsDestroyRequested() || object->IsDestroyed() ? 0 : 1;
    }
    return live;
}

TEST_F(ShopStreamTest, AShopSavedOpenOnAPageComesBackClosedWithThePlayerFree) {
    OpenOnTab(2);
    Click(Shop().GetPlusButtons()[0]->GetPosition());
    ASSERT_EQ(Shop().GetPendingTotal(), 50);
    Game().RequestSave("shop");
    Frames(1);
    Game().RequestLoad("shop");
    Step();
    auto* shop = Find<ShopUI>("ShopUI");
    auto* player = Find<MenuPlayer>("Player");
    ASSERT_TRUE(shop != nullptr && player != nullptr);
    ASSERT_NE(shop, &Shop());
    // The frame after a load runs nothing: the page's widgets are read back.
    Tundra::Layer& hud = *Game().GetHudLayer();
    const std::size_t buttonsRead = LiveObjectsNamed(hud, "ButtonTemplate");
    player->SetPositionXY(shop->GetPositionX(), shop->GetPositionY());
    Step();
    EXPECT_FALSE(shop->IsOpen());
    EXPECT_FALSE(shop->IsShown());
    EXPECT_TRUE(player->GetControlsOn());
    EXPECT_TRUE(shop->GetPlusButtons().empty() && shop->GetCapsules().empty() && shop->GetActionButtons().empty());
    EXPECT_EQ(shop->GetPendingTotal(), 0);
    for (const Core::RefPtr<ShopTabs>& tab : shop->GetTabs()) {
        EXPECT_FALSE(tab->GetVisible());
    }
    ASSERT_NE(shop->GetWeaponPanel(), nullptr);
    EXPECT_FALSE(shop->GetWeaponPanel()->GetVisible());
    // Four "+", "Buy" and "Reset" are gone.
    EXPECT_EQ(buttonsRead - LiveObjectsNamed(hud, "ButtonTemplate"), 6u);
}

TEST_F(ShopStreamTest, AShopSavedClosedOpensOnItsLastTabAndBuysAfterALoad) {
    OpenOnTab(2);
    PressX();
    Game().RequestSave("shop");
    Frames(1);
    Game().RequestLoad("shop");
    Step();
    FindShop();
    Open();
    EXPECT_EQ(Shop().GetCurrentPage(), 2);
    Frames(1);
    Click(Shop().GetPlusButtons()[0]->GetPosition());
    Click(Shop().GetActionButtons()[0]->GetPosition());
    EXPECT_EQ(SavedProfile().currency, 250u);
    EXPECT_EQ(GetUpgradeLevel(SavedProfile(), 2, 0), 1);
}

TEST_F(ShopStreamTest, AClosedShopReadsBackToTheSameBytesAndNoCutReads) {
    OpenOnTab(1);
    PressX();
    ExpectStreamRoundTrip(Shop());
}

// The shop's own fields are the stream's last bytes; a clone has them
// without any widget.
TEST_F(ShopStreamTest, FieldsTheShopCannotHoldAreRefused) {
    const Core::RefPtr<ShopUI> clone(static_cast<ShopUI*>(Shop().Clone()));
    const StreamBytes bytes = OwnSave(*clone);
    ASSERT_FALSE(Refused(bytes));
    // Offsets from the end of each field of the 47-byte tail.
    constexpr std::size_t kShown = 47, kTabs = 46, kPage = 42, kPlus = 38, kRebuild = 34, kBuilt = 33,
                          kPending = 32, kLabels = 28, kTotal = 15, kActions = 7, kFrameFlag = 1;
    const std::vector<StreamBytes> damaged{
        WithFieldFromEnd<std::uint8_t>(bytes, kShown, 2),
        WithFieldFromEnd<std::uint32_t>(bytes, kTabs, 6),
        WithFieldFromEnd<std::int32_t>(bytes, kPage, 5),
        WithFieldFromEnd<std::int32_t>(bytes, kPage, -2),
        WithFieldFromEnd<std::uint32_t>(bytes, kPlus, 5),
        WithFieldFromEnd<std::uint8_t>(bytes, kRebuild, 2),
        WithFieldFromEnd<std::uint8_t>(bytes, kBuilt, 2),
        WithFieldFromEnd<std::uint32_t>(bytes, kPending, 5),
        WithFieldFromEnd<std::uint32_t>(bytes, kLabels, 0xFFFFFFFFu),
        WithFieldFromEnd<std::int32_t>(bytes, kTotal, -1),
        WithFieldFromEnd<std::uint32_t>(bytes, kActions, 3),
        WithFieldFromEnd<std::uint8_t>(bytes, kFrameFlag, 2),
    };
    for (std::size_t i = 0; i < damaged.size(); ++i) {
        EXPECT_TRUE(Refused(damaged[i])) << i;
    }
    // A pending level past the maximum, and a null tab.
    const auto inserted = [&bytes](std::size_t countFromEnd, std::uint8_t value) {
        StreamBytes out = WithFieldFromEnd<std::uint32_t>(bytes, countFromEnd, 1);
        out.insert(out.end() - static_cast<std::ptrdiff_t>(countFromEnd - 4), value);
        return out;
    };
    EXPECT_FALSE(Refused(inserted(kPending, 5)));
    EXPECT_TRUE(Refused(inserted(kPending, 6)));
    EXPECT_TRUE(Refused(inserted(kTabs, 0)));
    testsupport::ForEachDamaged(bytes, 0, 1, 0, [](const StreamBytes& cut, const char*, std::size_t length) {
        EXPECT_TRUE(Refused(cut)) << length;
    });
}

}  // namespace
}  // namespace mygametest
