#pragma once

#include "core/Core_RefPtr.h"
#include "mygame/MyGame_CenteredText.h"
#include "mygame/MyGame_FadingText.h"
#include "mygame/MyGame_LabeledButton.h"
#include "mygame/MyGame_ShopTabs.h"
#include "mygame/MyGame_UiFrame.h"
#include "mygame/MyGame_VendingMachine.h"
#include "mygame/MyGame_WepSelUI.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <vector>

// The shop machine of the title level. Its panel has five tabs: the robot's
// health and the four weapons. An unlocked weapon's page offers upgrades of
// its four stats, collected as pending levels with a running total and then
// bought together or reset; a locked weapon's page offers its unlock (or a
// free repair of a starting weapon). Every purchase is written to the
// profile file at once. Beside the panel a second frame holds the weapon
// selection.
class ShopUI : public VendingMachine {
    TUN_DECLARE_CLASS(ShopUI);
    static constexpr std::int32_t kNoPage = -1;
    static constexpr std::size_t kPageCount = 5;

    template <class T>
    using Held = std::vector<Core::RefPtr<T>>;

    ShopUI();
    explicit ShopUI(const std::vector<Core::RefPtr<Tundra::SpriteAnimation>>& animations);
    // The machine part: no tabs, page, widgets or second frame.
    ShopUI(const ShopUI& other);
    ~ShopUI() override;

    // After the machine part: the layout flags, the page, the pending levels
    // and total, the widgets (object references) and the second frame.
    void Save(Core::File& file) const override;
    void Load(Core::File& file) override;

    // The collapsed frames, the tabs, the close button and the title, all
    // hidden; the weapon-selection panel found.
    void OnStart() override;
    // Lays the menu out when the machine opens and folds it when it closes;
    // while open, turns to a newly selected tab and builds its page.
    void Update(float dt) override;
    // Ends both frames (once) and the buttons that call back into the shop.
    void OnEnd() override;

    // The item bit a page sells: 16 (health) for page 0, then 1, 2, 4, 8.
    static std::uint32_t ItemBitOfPage(std::int32_t page);

    // The buttons' actions. Each acts on the current page's item only: any
    // other bit or row changes nothing.
    // One pending level more on the row, when the currency covers it.
    void AddUpgrade(std::uint32_t itemBit, std::size_t row);
    // Writes the pending levels to the profile and pays for them.
    void ConfirmUpgrades(std::uint32_t itemBit);
    // Back to the saved levels, nothing pending.
    void ResetUpgrades(std::uint32_t itemBit);
    // Sets the weapon's unlock bit, pays the page's price and turns the page
    // into the weapon's upgrade page at the next update.
    void UnlockWeapon(std::uint32_t itemBit);

    // Ends every widget of the page; nothing pending.
    void ClearPage();
    // Pending levels back to the saved ones, and the capsules showing them.
    void RefreshCapsules(std::uint32_t itemBit);
    // "+" and the levels pending, per row.
    void RefreshPlusTexts(std::uint32_t itemBit);
    // The next level's cost per row, red when it is not affordable.
    void RefreshCostTexts(std::uint32_t itemBit);
    // "Buy: " and the pending total.
    void RefreshBuyLabel();

    bool IsShown() const { return m_shown != 0; }
    std::int32_t GetCurrentPage() const { return m_currentPage; }
    bool IsPageBuilt() const { return m_pageBuilt != 0; }
    bool IsRebuildRequested() const { return m_rebuildRequested != 0; }
    const std::vector<std::uint8_t>& GetPendingLevels() const { return m_pendingLevels; }
    std::int32_t GetPendingTotal() const { return m_pendingTotal; }
    const Held<ShopTabs>& GetTabs() const { return m_tabs; }
    const Held<LabeledButton>& GetPlusButtons() const { return m_plusButtons; }
    const Held<FadingText>& GetLabels() const { return m_labels; }
    const Held<Tundra::Sprite>& GetCapsules() const { return m_capsules; }
    const Held<FadingText>& GetPlusTexts() const { return m_plusTexts; }
    const Held<FadingText>& GetCostTexts() const { return m_costTexts; }
    const Held<LabeledButton>& GetActionButtons() const { return m_actionButtons; }
    LabeledButton* GetCloseButton() const { return m_closeButton.Get(); }
    CenteredText* GetTitleText() const { return m_titleText.Get(); }
    WepSelUI* GetWeaponPanel() const { return m_weaponPanel.Get(); }
    UiFrame* GetSecondFrame() const { return m_secondFrame.get(); }

protected:
    // Ends the page a load brought back open and folds the menu.
    void EndMenuAfterLoad() override;

private:
    bool SellsOnThisPage(std::uint32_t itemBit) const;
    void MakeTabs();
    void ShowMenu();
    void HideMenu();
    void FollowSelectedTab();
    void BuildPage();
    // The rows' capsules, "+" buttons, names, plus and cost texts, then
    // "Buy" and "Reset".
    void BuildUpgradePage(std::uint32_t itemBit);
    void BuildUnlockPage(std::uint32_t itemBit);
    void BuildCapsules();
    void BuildRowTexts(Held<FadingText>& texts, float x, float y, std::span<const char* const> words);
    void AddActionButton(float y, const Core::String& label, std::function<void()> click);

    std::uint8_t m_shown = 0;
    Held<ShopTabs> m_tabs;
    std::int32_t m_currentPage = kNoPage;
    Held<LabeledButton> m_plusButtons;
    std::uint8_t m_rebuildRequested = 0;
    std::uint8_t m_pageBuilt = 0;
    std::vector<std::uint8_t> m_pendingLevels;
    Held<FadingText> m_labels;
    Held<Tundra::Sprite> m_capsules;
    Held<FadingText> m_plusTexts;
    Core::RefPtr<WepSelUI> m_weaponPanel;
    std::int32_t m_pendingTotal = 0;
    Held<FadingText> m_costTexts;
    Held<LabeledButton> m_actionButtons;
    Core::RefPtr<LabeledButton> m_closeButton;
    Core::RefPtr<CenteredText> m_titleText;
    std::unique_ptr<UiFrame> m_secondFrame;
};
