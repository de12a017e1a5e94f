#include "core/Core_MemoryFile.h"
#include "mygame/MyGame_ShopFixture.h"
#include "mygame/MyGame_WidgetStreamChecks.h"
#include "tundra/Tundra_Layer.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
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
    const std::size_t buttonsSaved = LiveObjectsNamed(*Game().GetHudLayer(), "ButtonTemplate");
    Game().RequestSave("shop");
    Frames(1);
    Game().RequestLoad("shop");
    Step();
    FindShop();
    EXPECT_FALSE(Shop().IsOpen());
    EXPECT_FALSE(Shop().IsShown());
    EXPECT_TRUE(Player().GetControlsOn());
    EXPECT_TRUE(Shop().GetPlusButtons().empty() && Shop().GetCapsules().empty());
    EXPECT_TRUE(Shop().GetActionButtons().empty() && Shop().GetLabels().empty());
    EXPECT_EQ(Shop().GetPendingTotal(), 0);
    EXPECT_EQ(Shop().GetCurrentPage(), ShopUI::kNoPage);
    for (const Core::RefPtr<ShopTabs>& tab : Shop().GetTabs()) {
        EXPECT_FALSE(tab->GetVisible());
    }
    ASSERT_NE(Shop().GetWeaponPanel(), nullptr);
    EXPECT_FALSE(Shop().GetWeaponPanel()->GetVisible());
    EXPECT_EQ(Shop().GetFrame()->GetTarget(), (UiFrameRect{29.0f, -218.0f, 29.0f, -218.0f, 0.0f}));
    // Four "+", "Buy" and "Reset" went with the page.
    EXPECT_EQ(buttonsSaved - LiveObjectsNamed(*Game().GetHudLayer(), "ButtonTemplate"), 6u);
    EXPECT_EQ(Profile().currency, 300u);

    // Opened again it builds the page anew, with working buttons.
    Frames(1);
    Open();
    EXPECT_EQ(Shop().GetCurrentPage(), 2);
    Frames(1);
    Click(Shop().GetPlusButtons()[0]->GetPosition());
    Click(Shop().GetActionButtons()[0]->GetPosition());
    EXPECT_EQ(SavedProfile().currency, 250u);
    EXPECT_EQ(GetUpgradeLevel(SavedProfile(), 2, 0), 1);
}

// A closed shop reads back with its widgets and goes on from there.
TEST_F(ShopStreamTest, AShopSavedClosedReadsBackItsWidgetsAndOpensOnItsLastTab) {
    OpenOnTab(2);
    PressX();
    Frames(1);
    std::vector<Vector2D> tabsAt;
    for (const Core::RefPtr<ShopTabs>& tab : Shop().GetTabs()) {
        tabsAt.push_back(tab->GetPosition());
    }
    Game().RequestSave("shop");
    Frames(1);
    Game().RequestLoad("shop");
    Step();
    FindShop();
    ASSERT_EQ(Shop().GetTabs().size(), tabsAt.size());
    for (std::size_t i = 0; i < tabsAt.size(); ++i) {
        EXPECT_EQ(Shop().GetTabs()[i]->GetPosition(), tabsAt[i]);
        EXPECT_EQ(Shop().GetTabs()[i]->GetLayer(), Game().GetHudLayer());
        EXPECT_EQ(Shop().GetTabs()[i]->IsSelected(), i == 2);
    }
    ASSERT_TRUE(Shop().GetCloseButton() != nullptr && Shop().GetTitleText() != nullptr);
    EXPECT_EQ(Shop().GetCloseButton()->GetLayer(), Game().GetHudLayer());
    EXPECT_EQ(Shop().GetWeaponPanel(), Find<WepSelUI>("WepSelFrame"));
    ASSERT_NE(Shop().GetSecondFrame(), nullptr);
    EXPECT_EQ(Shop().GetSecondFrame()->GetTarget(), (UiFrameRect{29.0f, -219.0f, 29.0f, -219.0f, 0.0f}));
    Frames(1);
    Open();
    EXPECT_EQ(Shop().GetCurrentPage(), 2);
    EXPECT_EQ(Shop().GetPlusButtons().size(), 4u);
    EXPECT_EQ(Shop().GetSecondFrame()->GetTarget(), (UiFrameRect{247.0f, 300.0f, 489.0f, 182.0f, 1.0f}));
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
    // Random damage to the tail reads or is refused, never half-taken.
    const StreamBytes tail(bytes.end() - kShown, bytes.end());
    const StreamBytes head(bytes.begin(), bytes.end() - kShown);
    const auto readsOrIsRefused = [&head](const StreamBytes& damagedTail, const char* what, std::size_t) {
        if (std::string(what) != "mutated") {
            return;
        }
        StreamBytes whole = head;
        whole.insert(whole.end(), damagedTail.begin(), damagedTail.end());
        const Core::RefPtr<ShopUI> read = TUN_NEW(ShopUI);
        Core::MemoryFile file(whole.data(), static_cast<std::uint32_t>(whole.size()));
        read->Load(file);
        if (file.HasFailed()) {
            EXPECT_TRUE(read->GetTabs().empty() && read->GetCurrentPage() == ShopUI::kNoPage);
        } else {
            EXPECT_GE(read->GetCurrentPage(), ShopUI::kNoPage);
            EXPECT_LT(read->GetCurrentPage(), 5);
            EXPECT_GE(read->GetPendingTotal(), 0);
        }
    };
    testsupport::ForEachDamaged(tail, 300, 4, 7, readsOrIsRefused);
}

}  // namespace
}  // namespace mygametest
