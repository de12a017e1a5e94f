#include "gui/GUI_SkinDescriptor.h"

#include "os/OS_ByteOrder.h"

#include <algorithm>
#include <array>
#include <bit>

namespace GUI {
namespace {

constexpr std::size_t kCountBytes = 4;

using PieceSetFields = std::array<float, kPieceSetBytes / 4>;

PieceSetFields FieldsOf(const PieceSet& s) {
    return {s.x, s.y, s.width, s.height, s.leftSplit, s.rightSplit, s.bottomSplit, s.topSplit};
}

PieceSet PieceSetOf(const PieceSetFields& f) { return {f[0], f[1], f[2], f[3], f[4], f[5], f[6], f[7]}; }

}  // namespace

std::vector<PieceSet> ParseSkinDescriptor(std::span<const std::uint8_t> bytes) {
    if (bytes.size() < kCountBytes) {
        return {};
    }
    const std::size_t stored = os::LoadU32LE(bytes.data());
    const std::size_t held = (bytes.size() - kCountBytes) / kPieceSetBytes;
    const std::size_t count = std::min({stored, held, std::size_t{kMaxPieceSets}});

    std::vector<PieceSet> pieceSets;
    pieceSets.reserve(count);
    for (std::size_t k = 0; k < count; ++k) {
        const std::uint8_t* record = bytes.data() + kCountBytes + k * kPieceSetBytes;
        PieceSetFields fields{};
        for (std::size_t i = 0; i < fields.size(); ++i) {
            fields[i] = std::bit_cast<float>(os::LoadU32LE(record + 4 * i));
        }
        pieceSets.push_back(PieceSetOf(fields));
    }
    return pieceSets;
}

std::vector<std::uint8_t> EncodeSkinDescriptor(std::span<const PieceSet> pieceSets) {
    std::vector<std::uint8_t> bytes(kCountBytes + pieceSets.size() * kPieceSetBytes);
    os::StoreU32LE(bytes.data(), static_cast<std::uint32_t>(pieceSets.size()));
    std::uint8_t* out = bytes.data() + kCountBytes;
    for (const PieceSet& s : pieceSets) {
        for (float field : FieldsOf(s)) {
            os::StoreU32LE(out, std::bit_cast<std::uint32_t>(field));
            out += 4;
        }
    }
    return bytes;
}

}  // namespace GUI
