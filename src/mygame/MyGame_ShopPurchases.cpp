// What the shop's buttons buy: pending levels added up against the
// currency, then paid for and written to the profile file; weapons unlocked.
// The currency is a 32-bit unsigned count: every sum and comparison is done
// in 64 bits so that no large balance wraps.
#include "mygame/MyGame.h"
#include "mygame/MyGame_ShopPrices.h"
#include "mygame/MyGame_ShopUI.h"

#include <algorithm>
#include <cstdio>

namespace {

// The balance after paying; nothing is bought the currency does not cover,
// so it never runs below 0.
std::uint32_t Paid(std::uint32_t currency, std::int32_t total) {
    const std::int64_t left = static_cast<std::int64_t>(currency) - total;
    return static_cast<std::uint32_t>(std::clamp<std::int64_t>(left, 0, currency));
}

bool IsWeaponBit(std::uint32_t itemBit) {
    return itemBit != kHealthBit && UpgradeRows(itemBit) != 0;
}

}  // namespace

bool ShopUI::SellsOnThisPage(std::uint32_t itemBit) const {
    return UpgradeRows(itemBit) != 0 && itemBit == ItemBitOfPage(m_currentPage);
}

void ShopUI::AddUpgrade(std::uint32_t itemBit, std::size_t row) {
    const MyGame* game = GetGame();
    if (game == nullptr || !SellsOnThisPage(itemBit) || row >= std::min(m_pendingLevels.size(), UpgradeRows(itemBit))) {
        return;
    }
    const std::optional<std::int32_t> cost = UpgradeCost(itemBit, m_pendingLevels[row]);
    if (cost) {
        const std::int64_t total = std::int64_t{*cost} + m_pendingTotal;
        if (static_cast<std::int64_t>(game->GetProfile().currency) - total >= 0) {
            ++m_pendingLevels[row];
            m_pendingTotal = static_cast<std::int32_t>(total);
        }
    }
    RefreshCostTexts(itemBit);
    RefreshBuyLabel();
}

void ShopUI::ConfirmUpgrades(std::uint32_t itemBit) {
    MyGame* game = GetGame();
    if (game == nullptr || !SellsOnThisPage(itemBit)) {
        return;
    }
    PlayerProfile& profile = game->GetProfile();
    const std::size_t rows = std::min(m_pendingLevels.size(), UpgradeRows(itemBit));
    for (std::size_t row = 0; row < rows; ++row) {
        SetUpgradeLevel(profile, itemBit, static_cast<std::uint32_t>(row), m_pendingLevels[row]);
    }
    // A weapon's weight changes how fast the player walks.
    if (IsWeaponBit(itemBit)) {
        game->SaveProfile();
        game->UpdateMoveSpeed();
    }
    RefreshCapsules(itemBit);
    profile.currency = Paid(profile.currency, m_pendingTotal);
    game->SaveProfile();
    m_pendingTotal = 0;
    RefreshBuyLabel();
}

void ShopUI::ResetUpgrades(std::uint32_t itemBit) {
    if (!SellsOnThisPage(itemBit)) {
        return;
    }
    m_pendingTotal = 0;
    RefreshCapsules(itemBit);
    RefreshPlusTexts(itemBit);
    RefreshCostTexts(itemBit);
    RefreshBuyLabel();
}

void ShopUI::UnlockWeapon(std::uint32_t itemBit) {
    MyGame* game = GetGame();
    if (game == nullptr || !IsWeaponBit(itemBit) || !SellsOnThisPage(itemBit)) {
        return;
    }
    PlayerProfile& profile = game->GetProfile();
    std::printf("GetUnlockWeapons: %u\n", static_cast<unsigned>(profile.unlockedWeapons));
    const auto unlocked = static_cast<std::uint16_t>(itemBit | (profile.unlockedWeapons & 0xFFu));
    profile.unlockedWeapons |= unlocked;
    std::printf("SetUnlockWeapons: %u\n", static_cast<unsigned>(unlocked));
    profile.currency = Paid(profile.currency, m_pendingTotal);
    m_pendingTotal = 0;
    m_rebuildRequested = 1;
    m_pageBuilt = 0;
    game->SaveProfile();
}
