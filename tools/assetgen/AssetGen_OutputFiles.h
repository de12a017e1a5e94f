#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

// Writing the generated files that are not sprite sheets or sounds.
namespace AssetGen {

// Writes the bytes as the whole file at path.
bool WriteBytes(const std::string& path, std::span<const std::uint8_t> bytes, std::string& error);
bool WriteText(const std::string& path, std::string_view text, std::string& error);

// Writes a white image whose alpha is `alpha` (width x height, rows
// top-down) as an 8-bit RGBA PNG: the font's glyphs and the particle
// texture, which the game tints.
bool WriteWhitePng(const std::string& path, int width, int height, std::span<const std::uint8_t> alpha,
                   std::string& error);

}  // namespace AssetGen
