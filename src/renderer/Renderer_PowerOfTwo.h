#pragma once

#include <bit>
#include <cstdint>

// Power-of-two sizes for textures on drivers without non-power-of-two support.
namespace Renderer {

// Exactly one bit set; 0 is not a power of two.
constexpr bool IsPowerOfTwo(std::uint32_t value) { return std::has_single_bit(value); }

// Twice the highest set bit, so a power of two gives the next one up (4
// gives 8, 5 gives 8); 1 for 0; 0x80000000 when bit 31 is the highest, as
// nothing larger fits.
constexpr std::uint32_t NextPowerOfTwo(std::uint32_t value) {
    if (value == 0) {
        return 1;
    }
    const std::uint32_t highest = std::bit_floor(value);
    return highest == 0x80000000u ? highest : highest << 1;
}

// The highest set bit when other bits are set too; half of a power of two;
// 1 for 0 and 1.
constexpr std::uint32_t PreviousPowerOfTwo(std::uint32_t value) {
    if (value <= 1) {
        return 1;
    }
    const std::uint32_t highest = std::bit_floor(value);
    return highest == value ? highest >> 1 : highest;
}

// A power of two stays as it is; otherwise the nearer of the next and the
// previous, the upper one on a tie (3 gives 4, 5 gives 4, 6 gives 8); 1 for 0.
constexpr std::uint32_t NearestPowerOfTwo(std::uint32_t value) {
    if (value == 0) {
        return 1;
    }
    if (IsPowerOfTwo(value)) {
        return value;
    }
    const std::uint32_t upper = NextPowerOfTwo(value);
    const std::uint32_t lower = PreviousPowerOfTwo(value);
    // Above 2^31 the next power saturates at 2^31, the previous one too.
    if (upper < value) {
        return upper;
    }
    return upper - value <= value - lower ? upper : lower;
}

}  // namespace Renderer
