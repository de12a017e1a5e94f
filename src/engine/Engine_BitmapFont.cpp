#include "engine/Engine_BitmapFont.h"

#include "engine/Engine_FontNames.h"
#include "renderer/Renderer_TextureManager.h"

#include <algorithm>

namespace Engine {
namespace {

constexpr std::uint32_t kCellsPerRow = 10;

struct Box {
    float x = 0.0f, y = 0.0f, width = 0.0f, height = 0.0f;
};

Box Merge(const Box& a, const Box& b) {
    const float left = std::min(a.x, b.x);
    const float top = std::min(a.y, b.y);
    return {left, top, std::max(a.x + a.width, b.x + b.width) - left, std::max(a.y + a.height, b.y + b.height) - top};
}

// Sums and differences of stored values in 64 bits: hostile metrics must not
// overflow.
float Sum(std::int32_t a, std::int32_t b) { return static_cast<float>(std::int64_t{a} + b); }
float Difference(std::int32_t a, std::int32_t b) { return static_cast<float>(std::int64_t{a} - b); }

}  // namespace

TUN_DEFINE_CLASS(BitmapFont);

BitmapFont::BitmapFont(const Core::String& name) : m_name(FontPath(name)) {
    m_texture = TextureManager::GetTexture(m_name + ".png", true);
    const FontFile file = LoadFontFile(m_name + ".tbf");
    m_metrics = file.metrics;
    m_glyphs = file.glyphs;
    BuildGlyphTexCoords();
}

void BitmapFont::BuildGlyphTexCoords() {
    // Without a texture (no renderer) there is no size to divide by: the
    // corners stay 0.
    if (!m_texture || m_texture->GetWidth() == 0) {
        return;
    }
    const auto size = static_cast<float>(m_texture->GetWidth());
    const auto cell = static_cast<float>(m_metrics.cellSize);
    for (std::uint32_t k = 0; k < kFontGlyphCount; ++k) {
        const float left = static_cast<float>(k % kCellsPerRow) * cell;
        // Rows count from the image's top; texture rows from its bottom.
        const float top = size - static_cast<float>(k / kCellsPerRow) * cell;
        const float u0 = left / size;
        const float u1 = (left + cell) / size;
        const float vTop = top / size;
        const float vBottom = (top - cell) / size;
        m_texCoords[k] = {u0, vBottom, u1, vBottom, u1, vTop, u0, vTop};
    }
}

void BitmapFont::MeasureString(std::string_view text, float& width, float& height) const {
    const float space = static_cast<float>(m_glyphs[0].advance);
    const float tab = 4.0f * space;
    const auto lineHeight = static_cast<float>(m_metrics.lineHeight);
    float x = 0.0f;
    float y = static_cast<float>(m_metrics.cellSize);
    Box box;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<signed char>(text[i]);
        Box character;
        if (c == '\r') {
            x = 0.0f;
            continue;
        }
        if (c == '\n') {
            character = {x, y, 1.0f, lineHeight};
            y += lineHeight;
        } else {
            const FontGlyph& glyph = m_glyphs[GlyphIndex(c)];
            if (x != 0.0f) {
                x += static_cast<float>(glyph.lead);
            }
            if (c == ' ' || c == '\t') {
                const float blank = c == ' ' ? space : tab;
                character = {x, y - static_cast<float>(m_metrics.topOffset), blank, 1.0f};
                x += blank;
            } else {
                const float top = y - Sum(m_metrics.rise, m_metrics.topOffset) + static_cast<float>(glyph.topOffset);
                character = {x, top, static_cast<float>(glyph.boxWidth), static_cast<float>(glyph.boxHeight)};
                x += Difference(glyph.advance, glyph.lead);
            }
        }
        // The first character's box replaces the empty one; a carriage
        // return first leaves the empty box at the origin in force.
        box = i == 0 ? character : Merge(box, character);
    }
    width = box.width;
    height = box.height;
}

}  // namespace Engine
