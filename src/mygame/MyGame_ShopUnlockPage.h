#pragma once

#include "math/Math_Vector2D.h"

#include <cstdint>
#include <optional>

// The page a locked weapon's tab shows: the offer to unlock it, a plea to
// earn more, or a free repair of a starting weapon.
struct UnlockPage {
    const char* message;
    // The message in the shop's red; otherwise in the text template's
    // colour.
    bool red;
    const char* buttonLabel;
    // The button unlocks the weapon (otherwise it does nothing).
    bool unlocks;
    // What the unlock costs; 0 for a repair.
    std::int32_t price;
};

inline const Vector2D kUnlockMessageAt{-232.0f, 116.0f};
inline const Vector2D kUnlockButtonAt{-32.0f, -189.0f};

// The page of the weapon bit (1, 2, 4 or 8) at that currency; nothing for
// any other bit.
std::optional<UnlockPage> UnlockPageOf(std::uint32_t weaponBit, std::int64_t currency);
