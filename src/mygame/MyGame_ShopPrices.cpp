#include "mygame/MyGame_ShopPrices.h"

#include <array>

namespace {

// Rows: the item bits 1, 2, 4, 8 and 16 (health); columns: the level left.
constexpr std::array<std::array<std::int32_t, kMaxUpgradeLevel>, 5> kUpgradeCosts{{
    {50, 75, 200, 300, 450},
    {50, 75, 200, 250, 450},
    {50, 75, 200, 250, 450},
    {50, 75, 200, 250, 450},
    {100, 200, 300, 350, 400},
}};

}  // namespace

std::optional<std::int32_t> UpgradeCost(std::uint32_t itemBit, std::uint32_t level) {
    if (level >= kMaxUpgradeLevel) {
        return std::nullopt;
    }
    for (std::size_t row = 0; row < kUpgradeCosts.size(); ++row) {
        if (itemBit == 1u << row) {
            return kUpgradeCosts[row][level];
        }
    }
    return std::nullopt;
}

std::size_t UpgradeRows(std::uint32_t itemBit) {
    if (itemBit == kHealthBit) {
        return 1;
    }
    return itemBit == 1 || itemBit == 2 || itemBit == 4 || itemBit == 8 ? 4 : 0;
}
