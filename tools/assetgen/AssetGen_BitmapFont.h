#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/Engine_FontFile.h"

// The game's default bitmap font: DejaVu Sans Bold rasterised by FreeType
// into white glyphs whose alpha is the grey coverage, with monospaced
// metrics. The menus centre a text by 8.5 units per character and 4.25 per
// space and place it 9 below its anchor, and buttons centre a band of one
// line height; every glyph therefore advances 17, a space 9, and the ink
// lies in the bottom 18 rows of its cell.
namespace AssetGen::BitmapFont {

inline constexpr int kImageSize = 512;  // a power of two: no rescale at upload
inline constexpr int kCellSize = 32;
inline constexpr int kColumns = 10;
inline constexpr int kAdvance = 17;
inline constexpr int kSpaceAdvance = 9;
inline constexpr int kLineHeight = 18;
inline constexpr int kTopOffset = 1;
inline constexpr int kRise = kLineHeight - kTopOffset;
// Where the pen stands in a cell: the 17-unit slot starts at this column.
inline constexpr int kPenColumn = 7;
inline constexpr char16_t kFaceName[] = u"DejaVu Sans Bold";

struct Font {
    std::vector<std::uint8_t> alpha;  // kImageSize x kImageSize, rows top-down
    Engine::FontFile metrics;
};

// Rasterises every character 32..127 from the face file (127 as a box).
// False, with the reason in error, when FreeType cannot read the face.
bool Build(const std::string& faceFile, Font& font, std::string& error);

// The ".tbf" bytes, through the engine's encoder.
std::vector<std::uint8_t> MetricsFile(const Font& font);

// The image and the metrics file, from the generator's DejaVu Sans Bold.
bool WriteImage(const std::string& path, std::uint64_t seed, std::string& error);
bool WriteMetrics(const std::string& path, std::uint64_t seed, std::string& error);

}  // namespace AssetGen::BitmapFont
