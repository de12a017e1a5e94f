// The shop's upgrade pages: building them row by row and refreshing what
// their rows show as levels are added, bought or reset.
#include "mygame/MyGame.h"
#include "mygame/MyGame_WidgetClone.h"
#include "mygame/MyGame_ShopPrices.h"
#include "mygame/MyGame_ShopUI.h"
#include "mygame/MyGame_ShopUnlockPage.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <span>

namespace {

// Row i of a page stands this far below the row before, under a base height
// per widget.
constexpr float kRowStep = 92.0f;
constexpr float kCapsuleX = -152.0f;
constexpr float kCapsuleTop = 258.0f;
constexpr float kPlusButtonX = 123.0f;
constexpr float kPlusButtonTop = 260.0f;
constexpr float kNameX = -242.0f;
constexpr float kNameTop = 288.0f;
constexpr float kPlusTextX = 48.0f;
constexpr float kPlusTextTop = 248.0f;
constexpr float kCostX = -2.0f;
constexpr float kCostTop = 288.0f;
constexpr float kTextDepth = 5.0f;
constexpr float kActionX = -32.0f;
constexpr float kBuyY = -179.0f;
constexpr float kResetY = -245.0f;
constexpr int kPlusAnimation = 1;
constexpr int kActionAnimation = 0;

constexpr std::array<const char*, 4> kStatNames{"Damage", "Cooldown", "Total Energy", "Weight"};
constexpr std::array<const char*, 1> kHealthName{"Health"};

const Color kUnaffordable{0.9f, 0.2f, 0.2f, 1.0f};
const Color kAffordable{0.0f, 0.0f, 0.0f, 1.0f};
const Color kMaxedOut{0.2f, 0.8f, 0.2f, 1.0f};

float RowY(float top, std::size_t row) {
    return top - kRowStep * static_cast<float>(row + 1);
}

template <class T>
void DestroyAll(ShopUI::Held<T>& widgets) {
    ShopUI::Held<T> leaving;
    leaving.swap(widgets);
    for (const Core::RefPtr<T>& widget : leaving) {
        widget->Destroy();
    }
}

const PlayerProfile* Profile() {
    const MyGame* game = GetGame();
    return game != nullptr ? &game->GetProfile() : nullptr;
}

}  // namespace

void ShopUI::ClearPage() {
    DestroyAll(m_plusButtons);
    DestroyAll(m_labels);
    DestroyAll(m_capsules);
    DestroyAll(m_plusTexts);
    DestroyAll(m_costTexts);
    DestroyAll(m_actionButtons);
    m_pendingLevels.clear();
    m_pendingTotal = 0;
}

void ShopUI::BuildPage() {
    const std::uint32_t itemBit = ItemBitOfPage(m_currentPage);
    const PlayerProfile* profile = Profile();
    if (itemBit == kHealthBit) {
        BuildUpgradePage(itemBit);
    } else if (itemBit != 0 && profile != nullptr) {
        std::printf("GetUnlockWeapons: %u\n", static_cast<unsigned>(profile->unlockedWeapons));
        if ((profile->unlockedWeapons & itemBit) != 0) {
            BuildUpgradePage(itemBit);
        } else {
            BuildUnlockPage(itemBit);
        }
    }
    m_pageBuilt = 1;
}

void ShopUI::BuildUpgradePage(std::uint32_t itemBit) {
    const std::size_t rows = UpgradeRows(itemBit);
    m_pendingLevels.insert(m_pendingLevels.end(), rows, 0);
    BuildCapsules();
    RefreshCapsules(itemBit);
    for (std::size_t row = 0; row < rows; ++row) {
        LabeledButton* plus =
            MakeLabeledButton({kPlusButtonX, RowY(kPlusButtonTop, row)}, "+", kPlusAnimation, [this, row, itemBit] {
                AddUpgrade(itemBit, row);
                RefreshPlusTexts(itemBit);
            });
        if (plus != nullptr) {
            plus->SetOpacity(-3.0f);
            m_plusButtons.emplace_back(plus);
        }
    }
    const std::span<const char* const> names =
        itemBit == kHealthBit ? std::span<const char* const>(kHealthName) : std::span<const char* const>(kStatNames);
    BuildRowTexts(m_labels, kNameX, kNameTop, names);
    BuildRowTexts(m_plusTexts, kPlusTextX, kPlusTextTop, {});
    BuildRowTexts(m_costTexts, kCostX, kCostTop, {});
    RefreshCostTexts(itemBit);
    AddActionButton(kBuyY, "Buy: 0", [this, itemBit] {
        ConfirmUpgrades(itemBit);
        RefreshPlusTexts(itemBit);
    });
    RefreshBuyLabel();
    AddActionButton(kResetY, "Reset", [this, itemBit] { ResetUpgrades(itemBit); });
}

void ShopUI::BuildUnlockPage(std::uint32_t itemBit) {
    const PlayerProfile* profile = Profile();
    const std::optional<UnlockPage> page =
        profile != nullptr ? UnlockPageOf(itemBit, static_cast<std::int64_t>(profile->currency)) : std::nullopt;
    if (!page) {
        return;
    }
    FadingText* message = CreateFadingText(kUnlockMessageAt.x, kUnlockMessageAt.y, page->message);
    if (message != nullptr) {
        message->SetZOrder(kTextDepth);
        if (page->red) {
            message->SetModulationColor(kUnaffordable);
        }
        m_labels.emplace_back(message);
    }
    std::function<void()> unlock;
    if (page->unlocks) {
        unlock = [this, itemBit] { UnlockWeapon(itemBit); };
    }
    LabeledButton* button = MakeLabeledButton(kUnlockButtonAt, page->buttonLabel, kActionAnimation, std::move(unlock));
    if (button != nullptr) {
        m_actionButtons.emplace_back(button);
    }
    if (page->unlocks && page->price > 0) {
        m_pendingTotal = page->price;
        RefreshBuyLabel();
    }
}

void ShopUI::BuildCapsules() {
    for (std::size_t row = 0; row < m_pendingLevels.size(); ++row) {
        Tundra::Sprite* capsule = CloneNamedToHud<Tundra::Sprite>("ShopCapsuleTemplate");
        if (capsule == nullptr) {
            return;
        }
        const Vector2D at{kCapsuleX, RowY(kCapsuleTop, row)};
        capsule->SetOldPosition(at);
        capsule->SetPosition(at);
        capsule->SetOpacity(-3.0f);
        capsule->SetVisible(true);
        m_capsules.emplace_back(capsule);
    }
}

// One text per pending row holding the row's word (empty without words).
void ShopUI::BuildRowTexts(Held<FadingText>& texts, float x, float y, std::span<const char* const> words) {
    for (std::size_t row = 0; row < m_pendingLevels.size(); ++row) {
        FadingText* text = CreateFadingText(x, RowY(y, row), row < words.size() ? words[row] : "");
        if (text != nullptr) {
            text->SetZOrder(kTextDepth);
            texts.emplace_back(text);
        }
    }
}

void ShopUI::AddActionButton(float y, const Core::String& label, std::function<void()> click) {
    LabeledButton* button = MakeLabeledButton({kActionX, y}, label, kActionAnimation, std::move(click));
    if (button != nullptr) {
        m_actionButtons.emplace_back(button);
    }
}

// Every refresh walks no further than the shortest list it reads: a
// callback may run after its page was cleared.

void ShopUI::RefreshCapsules(std::uint32_t itemBit) {
    const PlayerProfile* profile = Profile();
    if (profile == nullptr) {
        return;
    }
    const std::size_t rows = std::min(m_pendingLevels.size(), UpgradeRows(itemBit));
    for (std::size_t row = 0; row < rows; ++row) {
        m_pendingLevels[row] = GetUpgradeLevel(*profile, itemBit, static_cast<std::uint32_t>(row));
        if (row < m_capsules.size()) {
            m_capsules[row]->SetCurrentFrameIndex(m_pendingLevels[row], false);
        }
    }
}

void ShopUI::RefreshPlusTexts(std::uint32_t itemBit) {
    const PlayerProfile* profile = Profile();
    if (profile == nullptr) {
        return;
    }
    const std::size_t rows = std::min({m_pendingLevels.size(), m_plusTexts.size(), UpgradeRows(itemBit)});
    for (std::size_t row = 0; row < rows; ++row) {
        const std::int32_t added =
            m_pendingLevels[row] - GetUpgradeLevel(*profile, itemBit, static_cast<std::uint32_t>(row));
        m_plusTexts[row]->SetText(added != 0 ? Core::String("+").append(Core::ToString(added)) : Core::String());
    }
}

void ShopUI::RefreshCostTexts(std::uint32_t itemBit) {
    const PlayerProfile* profile = Profile();
    if (profile == nullptr) {
        return;
    }
    const std::size_t rows = std::min({m_pendingLevels.size(), m_costTexts.size(), UpgradeRows(itemBit)});
    for (std::size_t row = 0; row < rows; ++row) {
        FadingText& text = *m_costTexts[row];
        const std::optional<std::int32_t> cost = UpgradeCost(itemBit, m_pendingLevels[row]);
        if (!cost) {
            text.SetText("Max Upgrade");
            text.SetModulationColor(kMaxedOut);
            continue;
        }
        text.SetText(Core::String("Cost: ") + Core::ToString(*cost));
        const std::int64_t left = static_cast<std::int64_t>(profile->currency) - (m_pendingTotal + std::int64_t{*cost});
        text.SetModulationColor(left < 0 ? kUnaffordable : kAffordable);
    }
}

void ShopUI::RefreshBuyLabel() {
    CenteredText* label = m_actionButtons.empty() ? nullptr : m_actionButtons.front()->GetLabel();
    if (label != nullptr) {
        label->SetText(Core::String("Buy: ") + Core::ToString(m_pendingTotal));
    }
}
