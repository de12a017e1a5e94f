#pragma once

#include <cstdint>

// The animation that shows a weapon bit on weapons, bars and their
// backgrounds: bit 1 is 0, 2 is 1, 4 is 2, 8 is 3, 16 is 4; any other
// value is -1.
std::int32_t WeaponAnimationIndex(std::uint32_t weaponBit);

// The weapon bit the selected weapons give the hand of an object of that
// name: names beginning with "L" take the left hand's (high half).
std::uint32_t SelectedWeaponOfHand(const char* objectName);
