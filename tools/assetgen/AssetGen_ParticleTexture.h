#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The one texture of every particle system: a white spot the systems tint
// and scale up to 3.5 times, opaque at its centre and fading smoothly to
// nothing at its rim.
namespace AssetGen::ParticleTexture {

inline constexpr int kSize = 32;

// kSize x kSize, rows top-down.
std::vector<std::uint8_t> Alpha();

bool Write(const std::string& path, std::uint64_t seed, std::string& error);

}  // namespace AssetGen::ParticleTexture
