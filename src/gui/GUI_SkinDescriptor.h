#pragma once

#include <cstdint>
#include <span>
#include <vector>

// A skin's ".gui" descriptor: the piece sets cut from its ".png" texture, one
// per visual state of the widget that wears the skin. Little-endian, no
// header, magic or version:
//
//   u32 N                      piece-set count
//   8 x f32 x N                x, y, width, height, leftSplit, rightSplit,
//                              bottomSplit, topSplit
//
// Values are texture pixels. The texture loader stores images bottom-up, so
// y counts image pixels from the image's BOTTOM edge and x from its left.
// The splits are measured from the area's origin: the left column ends at
// leftSplit, the right one begins at rightSplit, the bottom row ends at
// bottomSplit and the top row begins at topSplit.
namespace GUI {

struct PieceSet {
    float x = 0.0f;
    float y = 0.0f;
    float width = 0.0f;
    float height = 0.0f;
    float leftSplit = 0.0f;
    float rightSplit = 0.0f;
    float bottomSplit = 0.0f;
    float topSplit = 0.0f;

    bool operator==(const PieceSet&) const = default;
};

inline constexpr std::size_t kPieceSetBytes = 32;
// No widget uses more than ten piece sets; the cap keeps a forged count from
// costing anything.
inline constexpr std::uint32_t kMaxPieceSets = 64;

// The piece sets a descriptor holds: the stored count, cut to the records the
// bytes hold entirely and to kMaxPieceSets. Values are taken as stored, NaN
// and infinities included; the image decides what to draw of them.
std::vector<PieceSet> ParseSkinDescriptor(std::span<const std::uint8_t> bytes);

// The descriptor holding these piece sets, 4 + 32 N bytes.
std::vector<std::uint8_t> EncodeSkinDescriptor(std::span<const PieceSet> pieceSets);

}  // namespace GUI
