#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

// The font metrics file ("<name>.tbf") beside a font image: little-endian,
// fixed-width fields, no magic and no padding:
//
//   u32 n                      UTF-16 units of the face name
//   u16 x n                    face name, UTF-16LE, no terminator (skipped)
//   i32 x 8                    font metrics, in FontMetrics' order
//   34-byte record x 96        one per character 32..127, in FontGlyph's order
//
// A complete file is kFontFileFixedBytes + 2n bytes; nothing after that is
// read.
namespace Engine {

inline constexpr std::uint32_t kFontFirstCharacter = 32;
inline constexpr std::uint32_t kFontGlyphCount = 96;
inline constexpr std::uint32_t kFontGlyphBytes = 34;
inline constexpr std::uint32_t kFontMetricsBytes = 32;
// What follows the face name: the metrics and every glyph record.
inline constexpr std::uint32_t kFontBodyBytes = kFontMetricsBytes + kFontGlyphCount * kFontGlyphBytes;
inline constexpr std::uint32_t kFontFileFixedBytes = 4 + kFontBodyBytes;

// One character's record, all values in pixels of the font image.
struct FontGlyph {
    std::uint16_t code = 0;      // as stored; records are found by position, never by this
    std::int32_t boxWidth = 0;   // width of the character's box when measured
    std::int32_t advance = 0;    // how far the pen moves past the character
    std::int32_t boxHeight = 0;  // height of the character's box when measured
    std::int32_t unused4 = 0;
    std::int32_t unused5 = 0;
    float cellOffset = 0.0f;     // how far the cell is drawn left of the pen
    std::int32_t lead = 0;       // added to the pen before a character not at a line's start
    std::int32_t topOffset = 0;  // added to the box top when measured

    bool operator==(const FontGlyph&) const = default;
};

struct FontMetrics {
    std::int32_t unused1 = 0;
    std::int32_t topOffset = 0;  // pen line minus this is the top of a blank
    std::int32_t unused3 = 0;
    std::int32_t cellSize = 0;  // side of a square grid cell; the first pen line
    std::int32_t unused5 = 0;
    std::int32_t rise = 0;        // with topOffset, lifts a character box off the pen line
    std::int32_t lineHeight = 0;  // how far a line feed moves the pen line
    std::int32_t unused8 = 0;

    bool operator==(const FontMetrics&) const = default;
};

// What a metrics file holds once its face name is skipped.
struct FontFile {
    FontMetrics metrics;
    std::array<FontGlyph, kFontGlyphCount> glyphs{};

    bool operator==(const FontFile&) const = default;
};

// Where the metrics start after a face name of n units; 64-bit, so any
// stored n is exact.
constexpr std::uint64_t FontBodyOffset(std::uint32_t faceNameUnits) { return 4 + 2 * std::uint64_t{faceNameUnits}; }

// Reads a whole file's bytes. Fields the bytes do not hold entirely stay 0;
// nothing outside the bytes is read and nothing is allocated.
FontFile ParseFontFile(std::span<const std::uint8_t> bytes);
// Reads what follows the face name, with the same rule.
FontFile ParseFontBody(std::span<const std::uint8_t> body);

// Reads the file at an engine path (backslashes, any letter case); all
// zero when it cannot be opened. The face name is skipped by seeking.
FontFile LoadFontFile(std::string_view path);

// The complete file for the font under the given face name.
std::vector<std::uint8_t> EncodeFontFile(const FontFile& font, std::u16string_view faceName);

}  // namespace Engine
