#pragma once

#include <cstdint>
#include <string>

// The bytes of a 2 x 2, 32-bit icon file (.ico with one bitmap image).
inline std::string TwoByTwoIcon() {
    std::string bytes;
    const auto u8 = [&bytes](unsigned value) { bytes.push_back(static_cast<char>(value & 0xFF)); };
    const auto u16 = [&u8](unsigned value) {
        u8(value);
        u8(value >> 8);
    };
    const auto u32 = [&u16](std::uint32_t value) {
        u16(value);
        u16(value >> 16);
    };
    constexpr std::uint32_t kImageBytes = 40 + 2 * 2 * 4 + 2 * 4;  // header, colours, mask rows
    u16(0);                 // reserved
    u16(1);                 // icon
    u16(1);                 // one image
    u8(2);                  // width
    u8(2);                  // height
    u8(0);                  // no palette
    u8(0);                  // reserved
    u16(1);                 // planes
    u16(32);                // bits per pixel
    u32(kImageBytes);
    u32(22);                // offset of the image
    u32(40);                // bitmap header size
    u32(2);                 // width
    u32(4);                 // height of colours and mask together
    u16(1);
    u16(32);
    for (int field = 0; field < 6; ++field) {
        u32(0);             // no compression, sizes and palette left to the reader
    }
    for (int pixel = 0; pixel < 4; ++pixel) {
        u32(0xFF2080C0u);   // opaque, blue-ish, BGRA
    }
    for (int row = 0; row < 2; ++row) {
        u32(0);             // mask: every pixel drawn
    }
    return bytes;
}
