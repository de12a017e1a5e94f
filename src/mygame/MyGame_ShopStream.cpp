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

template <class T>
void WriteHeld(Core::File& file, const ShopUI::Held<T>& objects) {
    file.WriteU32(static_cast<std::uint32_t>(objects.size()));
    for (const Core::RefPtr<T>& object : objects) {
        file << object;
    }
}

// At most `limit` objects of the class, each one its layer keeps.
template <class T>
void ReadHeld(Core::File& file, ShopUI::Held<T>& objects, std::uint32_t limit) {
    std::uint32_t count = 0;
    file.ReadU32(count);
    if (count > limit) {
        file.SetFailed();
    }
    for (std::uint32_t i = 0; i < count && !file.HasFailed(); ++i) {
        T* object = nullptr;
        file >> object;
        if (object == nullptr || !StaysInItsLayer(object)) {
            file.SetFailed();
            return;
        }
        objects.emplace_back(object);
    }
}

// A single link the layer keeps, or none.
template <class T>
void ReadLink(Core::File& file, Core::RefPtr<T>& link) {
    T* object = nullptr;
    file >> object;
    if (!StaysInItsLayer(object)) {
        file.SetFailed();
    }
    if (!file.HasFailed()) {
        link = object;
    }
}

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
    WriteHeld(file, m_tabs);
    file.WriteI32(m_currentPage);
    WriteHeld(file, m_plusButtons);
    file.WriteU8(m_rebuildRequested);
    file.WriteU8(m_pageBuilt);
    file.WriteU32(static_cast<std::uint32_t>(m_pendingLevels.size()));
    for (const std::uint8_t level : m_pendingLevels) {
        file.WriteU8(level);
    }
    WriteHeld(file, m_labels);
    WriteHeld(file, m_capsules);
    WriteHeld(file, m_plusTexts);
    file << m_weaponPanel;
    file.WriteI32(m_pendingTotal);
    WriteHeld(file, m_costTexts);
    WriteHeld(file, m_actionButtons);
    file << m_closeButton;
    file << m_titleText;
    file.WriteU8(m_secondFrame ? 1 : 0);
    if (m_secondFrame) {
        m_secondFrame->Save(file);
    }
}

void ShopUI::Load(Core::File& file) {
    VendingMachine::Load(file);
    if (file.HasFailed()) {
        return;
    }
    ShopFields read;
    ReadFlagByte(file, read.shown);
    ReadHeld(file, read.tabs, kPageCount);
    file.ReadI32(read.currentPage);
    ReadHeld(file, read.plusButtons, kMaxRows);
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
    ReadHeld(file, read.labels, kMaxRows);
    ReadHeld(file, read.capsules, kMaxRows);
    ReadHeld(file, read.plusTexts, kMaxRows);
    ReadLink(file, read.weaponPanel);
    file.ReadI32(read.pendingTotal);
    ReadHeld(file, read.costTexts, kMaxRows);
    ReadHeld(file, read.actionButtons, kMaxActionButtons);
    ReadLink(file, read.closeButton);
    ReadLink(file, read.titleText);
    std::uint8_t hasSecondFrame = 0;
    ReadFlagByte(file, hasSecondFrame);
    if (read.currentPage < kNoPage || read.currentPage >= static_cast<std::int32_t>(kPageCount) ||
        read.pendingTotal < 0) {
        file.SetFailed();
    }
    if (file.HasFailed()) {
        return;
    }
    std::unique_ptr<UiFrame> secondFrame = hasSecondFrame != 0 ? UiFrame::Read(file) : nullptr;
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
