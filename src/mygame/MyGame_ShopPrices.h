#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

// What the shop charges. Items are named by their bits: 1, 2, 4 and 8 the
// weapons, 16 the robot's health.

constexpr std::uint32_t kHealthBit = 16;
// Upgrade levels run from 0 to this.
constexpr std::uint8_t kMaxUpgradeLevel = 5;

// The price of raising the item from the level to the next; nothing for an
// item the shop does not sell or a level that cannot rise.
std::optional<std::int32_t> UpgradeCost(std::uint32_t itemBit, std::uint32_t level);

// How many stats the shop upgrades of the item: four of a weapon, one of the
// health; none of anything else.
std::size_t UpgradeRows(std::uint32_t itemBit);
