#include "engine/Engine_TextLayout.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace Engine {
namespace {

constexpr std::uint32_t kVerticesPerCharacter = 6;
// The two triangles of a quad, as corners bottom-left, bottom-right,
// top-right and top-left.
constexpr std::array<int, kVerticesPerCharacter> kQuadCorners = {0, 1, 2, 2, 3, 0};

void AddBlank(Mesh& mesh) {
    for (std::uint32_t i = 0; i < kVerticesPerCharacter; ++i) {
        mesh.AddVertex({0.0f, 0.0f, 0.0f});
        mesh.AddTexCoord({0.0f, 0.0f});
    }
}

void AddCell(Mesh& mesh, float left, float bottom, float size, const BitmapFont::TexCoords& coords) {
    const std::array<Vector2D, 4> corners = {Vector2D(left, bottom), Vector2D(left + size, bottom),
                                             Vector2D(left + size, bottom + size), Vector2D(left, bottom + size)};
    for (const int corner : kQuadCorners) {
        mesh.AddVertex({corners[corner].x, corners[corner].y, 0.0f});
        mesh.AddTexCoord({coords[2 * corner], coords[2 * corner + 1]});
    }
}

void Include(TextExtent& extent, const Vector2D& low, const Vector2D& high) {
    if (!extent.hasCells) {
        extent = {low, high, true};
        return;
    }
    extent.low = {std::min(extent.low.x, low.x), std::min(extent.low.y, low.y)};
    extent.high = {std::max(extent.high.x, high.x), std::max(extent.high.y, high.y)};
}

}  // namespace

MeshSubRange TextSubRange(std::size_t length) {
    return {0, static_cast<std::uint32_t>(kVerticesPerCharacter * length) - 1, -1, 1};
}

TextExtent LayOutText(std::string_view text, const BitmapFont& font, Mesh& mesh) {
    const auto cell = static_cast<float>(font.GetCellSize());
    const auto count = static_cast<std::uint32_t>(kVerticesPerCharacter * text.size());
    mesh.Clear();
    mesh.AddSubRange(TextSubRange(text.size()));
    mesh.ReserveVertices(count);
    mesh.ReserveTexCoords(count);

    FontGlyph space;
    font.GetGlyph(' ', space);
    const auto spaceAdvance = static_cast<float>(space.advance);
    float x = 0.0f;
    float y = 0.0f;
    TextExtent extent;
    for (const char byte : text) {
        const auto c = static_cast<signed char>(byte);
        switch (c) {
            case '\n':
                y -= font.GetLineHeight();
                x = 0.0f;
                AddBlank(mesh);
                continue;
            case ' ':
                x += spaceAdvance;
                AddBlank(mesh);
                continue;
            case '\t':
                x += 4.0f * spaceAdvance;
                AddBlank(mesh);
                continue;
            case '\r':
                AddBlank(mesh);
                continue;
            default:
                break;
        }
        FontGlyph glyph;
        font.GetGlyph(c, glyph);
        BitmapFont::TexCoords coords;
        font.GetGlyphTexCoords(c, coords);
        // A line's first cell keeps its exact offset; later ones snap to
        // whole pixels after the lead.
        float shift = glyph.cellOffset;
        if (x != 0.0f) {
            shift = std::ceil(glyph.cellOffset);
            x += static_cast<float>(glyph.lead);
        }
        const float left = x - shift;
        x += static_cast<float>(glyph.advance);
        if (x != 0.0f) {
            x -= static_cast<float>(glyph.lead);
        }
        AddCell(mesh, left, y, cell, coords);
        Include(extent, {left, y}, {left + cell, y + cell});
    }
    return extent;
}

}  // namespace Engine
