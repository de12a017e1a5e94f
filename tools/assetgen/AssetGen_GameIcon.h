#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The window icon: an ember emblem in a Windows icon file of 32-bit
// uncompressed (DIB) entries with their AND masks, 256 x 256 first, then 48,
// 32 and 16. SDL_image reads only DIB entries and takes the first.
namespace AssetGen::GameIcon {

inline constexpr int kSizes[] = {256, 48, 32, 16};

// The emblem at size x size: straight-alpha BGRA, rows top-down.
std::vector<std::uint8_t> Emblem(int size);

// The whole ".ico" file.
std::vector<std::uint8_t> IconFile();

bool Write(const std::string& path, std::uint64_t seed, std::string& error);

}  // namespace AssetGen::GameIcon
