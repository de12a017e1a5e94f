#pragma once

#include "core/Core_Object.h"
#include "core/Core_RefPtr.h"
#include "core/Core_String.h"
#include "engine/Engine_FontFile.h"
#include "renderer/Renderer_ITexture.h"

#include <array>
#include <cstdint>
#include <string_view>

namespace Engine {

// A font image with its character metrics, loaded once and shared through
// the font cache; fonts are counted and go with their last holder.
//
// The image "<name>.png" is a grid of square cells, cellSize pixels each,
// 10 to a row from the top-left; cell k shows character 32 + k. The image
// is taken as square: its width serves for both sides.
class BitmapFont : public Core::Object {
    TUN_DECLARE_CLASS(BitmapFont);

    // The four texture corners of a cell: bottom-left, bottom-right,
    // top-right, top-left, each (u, v).
    using TexCoords = std::array<float, 8>;

    // A font with no texture, zero metrics and every texture corner at 0.
    BitmapFont() = default;
    // Loads "<name>.png" through the texture cache (whose placeholder stands
    // in for a missing image) and "<name>.tbf" (a missing or short file
    // leaves its metrics 0). The empty name is the default font beside the
    // executable.
    explicit BitmapFont(const Core::String& name);

    // The path the font was loaded from, without extension.
    const Core::String& GetName() const { return m_name; }
    const Core::RefPtr<Renderer::ITexture>& GetTexture() const { return m_texture; }
    std::int32_t GetCellSize() const { return m_metrics.cellSize; }
    float GetLineHeight() const { return static_cast<float>(m_metrics.lineHeight); }
    const FontMetrics& GetMetrics() const { return m_metrics; }

    // The character's record; any code outside 32..127 gives the space's.
    void GetGlyph(std::int32_t code, FontGlyph& glyph) const { glyph = m_glyphs[GlyphIndex(code)]; }
    // The character's cell corners; any code outside 32..127 gives the space's.
    void GetGlyphTexCoords(std::int32_t code, TexCoords& coords) const { coords = m_texCoords[GlyphIndex(code)]; }

    // Size in pixels of the box around the laid-out bytes (each taken as a
    // signed character): 0 x 0 for no bytes. A line feed moves down a line
    // and leaves the pen where it was; a carriage return takes the pen back
    // to the line's start.
    void MeasureString(std::string_view text, float& width, float& height) const;

private:
    static std::uint32_t GlyphIndex(std::int32_t code) {
        const auto index = static_cast<std::uint32_t>(code) - kFontFirstCharacter;
        return index < kFontGlyphCount ? index : 0;
    }
    void BuildGlyphTexCoords();

    std::array<FontGlyph, kFontGlyphCount> m_glyphs{};
    std::array<TexCoords, kFontGlyphCount> m_texCoords{};
    Core::String m_name;
    FontMetrics m_metrics;
    Core::RefPtr<Renderer::ITexture> m_texture;
};

}  // namespace Engine
