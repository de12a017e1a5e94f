// The shop's own fields after the machine's. The buttons' callbacks are not
// streamed: a shop read back open is folded at its next update.
#include "mygame/MyGame_ShopPrices.h"
#include "mygame/MyGame_ShopUI.h"
#include "mygame/MyGame_StreamLinks.h"
#include "mygame/MyGame_WidgetStream.h"

namespace {

// The most widgets of a kind a page has: four rows, or "Buy" and "Reset".
constexpr std::uint32_t kMaxRows = 4;
constexpr std::uint32_t kMaxActionButtons = 2;

// The shop's fields, read whole before any is taken.
struct ShopFields {
    std::uint8_t shown = 0;
    ShopUI::Held<ShopTabs> tabs;
    std::int32_t currentPage = ShopUI::kNoPage;
    ShopUI::Held<LabeledButton> plusButtons;
    std::uint8_t rebuildRequested = 0;
    std::uint8_t pageBuilt = 0;
    std::vector<std::uint8_t> pendingLevels;
    ShopUI::Held<FadingText> labels;
    ShopUI::Held<Tundra::Sprite> capsules;
    ShopUI::Held<FadingText> plusTexts;
    Core::RefPtr<WepSelUI> weaponPanel;
    std::int32_t pendingTotal = 0;
    ShopUI::Held<FadingText> costTexts;
    ShopUI::Held<LabeledButton> actionButtons;
    Core::RefPtr<LabeledButton> closeButton;
    Core::RefPtr<CenteredText> titleText;
};

}  // namespace

void ShopUI::Save(Core::File& file) const {
    VendingMachine::Save(file);
    file.WriteU8(m_shown);
    WriteLinks(file, m_tabs);
    file.WriteI32(m_currentPage);
    WriteLinks(file, m_plusButtons);
    file.WriteU8(m_rebuildRequested);
    file.WriteU8(m_pageBuilt);
    file.WriteU32(static_cast<std::uint32_t>(m_pendingLevels.size()));
    for (const std::uint8_t level : m_pendingLevels) {
        file.WriteU8(level);
    }
    WriteLinks(file, m_labels);
    WriteLinks(file, m_capsules);
    WriteLinks(file, m_plusTexts);
    file << m_weaponPanel;
    file.WriteI32(m_pendingTotal);
    WriteLinks(file, m_costTexts);
    WriteLinks(file, m_actionButtons);
    file << m_closeButton;
    file << m_titleText;
    SaveOptionalFrame(file, m_secondFrame.get());
}

void ShopUI::Load(Core::File& file) {
    VendingMachine::Load(file);
    if (file.HasFailed()) {
        return;
    }
    ShopFields read;
    ReadFlagByte(file, read.shown);
    ReadLinks(file, kPageCount, read.tabs);
    file.ReadI32(read.currentPage);
    ReadLinks(file, kMaxRows, read.plusButtons);
    ReadFlagByte(file, read.rebuildRequested);
    ReadFlagByte(file, read.pageBuilt);
    std::uint32_t pendingCount = 0;
    file.ReadU32(pendingCount);
    if (pendingCount > kMaxRows) {
        file.SetFailed();
    }
    for (std::uint32_t i = 0; i < pendingCount && !file.HasFailed(); ++i) {
        std::uint8_t level = 0;
        file.ReadU8(level);
        if (level > kMaxUpgradeLevel) {
            file.SetFailed();
        }
        read.pendingLevels.push_back(level);
    }
    ReadLinks(file, kMaxRows, read.labels);
    ReadLinks(file, kMaxRows, read.capsules);
    ReadLinks(file, kMaxRows, read.plusTexts);
    ReadLink(file, read.weaponPanel);
    file.ReadI32(read.pendingTotal);
    ReadLinks(file, kMaxRows, read.costTexts);
    ReadLinks(file, kMaxActionButtons, read.actionButtons);
    ReadLink(file, read.closeButton);
    ReadLink(file, read.titleText);
    std::unique_ptr<UiFrame> secondFrame = ReadOptionalFrame(file);
    if (read.currentPage < kNoPage || read.currentPage >= static_cast<std::int32_t>(kPageCount) ||
        read.pendingTotal < 0) {
        file.SetFailed();
    }
    if (file.HasFailed()) {
        return;
    }
    m_shown = read.shown;
    m_tabs = std::move(read.tabs);
    m_currentPage = read.currentPage;
    m_plusButtons = std::move(read.plusButtons);
    m_rebuildRequested = read.rebuildRequested;
    m_pageBuilt = read.pageBuilt;
    m_pendingLevels = std::move(read.pendingLevels);
    m_labels = std::move(read.labels);
    m_capsules = std::move(read.capsules);
    m_plusTexts = std::move(read.plusTexts);
    m_weaponPanel = std::move(read.weaponPanel);
    m_pendingTotal = read.pendingTotal;
    m_costTexts = std::move(read.costTexts);
    m_actionButtons = std::move(read.actionButtons);
    m_closeButton = std::move(read.closeButton);
    m_titleText = std::move(read.titleText);
    m_secondFrame = std::move(secondFrame);
}
