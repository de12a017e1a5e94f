#include "engine/Engine_FontFile.h"

#include "os/OS_ByteOrder.h"

#include <algorithm>
#include <bit>

namespace Engine {
namespace {

// Takes fields in order; a field the bytes do not hold entirely reads as 0,
// and so does every field after it.
class FieldReader {
public:
    explicit FieldReader(std::span<const std::uint8_t> bytes) : m_bytes(bytes) {}

    std::uint16_t U16() { return static_cast<std::uint16_t>(Take(2) ? os::LoadU16LE(m_field) : 0); }
    std::int32_t I32() { return static_cast<std::int32_t>(U32()); }
    float F32() { return std::bit_cast<float>(U32()); }

private:
    std::uint32_t U32() { return Take(4) ? os::LoadU32LE(m_field) : 0; }

    bool Take(std::size_t count) {
        if (m_bytes.size() - m_offset < count) {
            m_offset = m_bytes.size();
            return false;
        }
        m_field = m_bytes.data() + m_offset;
        m_offset += count;
        return true;
    }

    std::span<const std::uint8_t> m_bytes;
    std::size_t m_offset = 0;
    const std::uint8_t* m_field = nullptr;
};

class FieldWriter {
public:
    explicit FieldWriter(std::vector<std::uint8_t>& bytes) : m_bytes(bytes) {}

    void U16(std::uint32_t value) {
        m_bytes.push_back(static_cast<std::uint8_t>(value));
        m_bytes.push_back(static_cast<std::uint8_t>(value >> 8));
    }
    void U32(std::uint32_t value) {
        U16(value);
        U16(value >> 16);
    }
    void I32(std::int32_t value) { U32(static_cast<std::uint32_t>(value)); }
    void F32(float value) { U32(std::bit_cast<std::uint32_t>(value)); }

private:
    std::vector<std::uint8_t>& m_bytes;
};

}  // namespace

FontFile ParseFontBody(std::span<const std::uint8_t> body) {
    FieldReader in(body.first(std::min<std::size_t>(body.size(), kFontBodyBytes)));
    FontFile font;
    FontMetrics& m = font.metrics;
    m.unused1 = in.I32();
    m.topOffset = in.I32();
    m.unused3 = in.I32();
    m.cellSize = in.I32();
    m.unused5 = in.I32();
    m.rise = in.I32();
    m.lineHeight = in.I32();
    m.unused8 = in.I32();
    for (FontGlyph& g : font.glyphs) {
        g.code = in.U16();
        g.boxWidth = in.I32();
        g.advance = in.I32();
        g.boxHeight = in.I32();
        g.unused4 = in.I32();
        g.unused5 = in.I32();
        g.cellOffset = in.F32();
        g.lead = in.I32();
        g.topOffset = in.I32();
    }
    return font;
}

FontFile ParseFontFile(std::span<const std::uint8_t> bytes) {
    if (bytes.size() < 4) {
        return {};
    }
    const std::uint64_t bodyOffset = FontBodyOffset(os::LoadU32LE(bytes.data()));
    if (bodyOffset >= bytes.size()) {
        return {};
    }
    return ParseFontBody(bytes.subspan(static_cast<std::size_t>(bodyOffset)));
}

std::vector<std::uint8_t> EncodeFontFile(const FontFile& font, std::u16string_view faceName) {
    std::vector<std::uint8_t> bytes;
    bytes.reserve(kFontFileFixedBytes + 2 * faceName.size());
    FieldWriter out(bytes);
    out.U32(static_cast<std::uint32_t>(faceName.size()));
    for (const char16_t unit : faceName) {
        out.U16(unit);
    }
    const FontMetrics& m = font.metrics;
    for (const std::int32_t value :
         {m.unused1, m.topOffset, m.unused3, m.cellSize, m.unused5, m.rise, m.lineHeight, m.unused8}) {
        out.I32(value);
    }
    for (const FontGlyph& g : font.glyphs) {
        out.U16(g.code);
        for (const std::int32_t value : {g.boxWidth, g.advance, g.boxHeight, g.unused4, g.unused5}) {
            out.I32(value);
        }
        out.F32(g.cellOffset);
        out.I32(g.lead);
        out.I32(g.topOffset);
    }
    return bytes;
}

}  // namespace Engine
