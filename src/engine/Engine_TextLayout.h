#pragma once

#include "engine/Engine_BitmapFont.h"
#include "engine/Engine_Mesh.h"
#include "math/Math_Vector2D.h"

#include <string_view>

namespace Engine {

// Where a layout put its character cells, in the text's own units.
struct TextExtent {
    Vector2D low;
    Vector2D high;
    // False when every byte was blank: low and high then mean nothing.
    bool hasCells = false;
};

// The one sub-range of a text of that many bytes: all its vertices, drawn
// with the blended items.
MeshSubRange TextSubRange(std::size_t length);

// Rebuilds the mesh as the bytes laid out in the font: one sub-range over
// all of it and six vertices and texture coordinates per byte (byte i owns
// vertices 6i to 6i + 5), each cell a quad of the font's cell size. Bytes
// are taken as signed characters. The first line's cells span y 0 to the
// cell size; a line feed starts the next line one line height lower. Blanks
// (space, tab, line feed, carriage return) take six zero vertices; codes
// the font lacks show as the space's cell.
TextExtent LayOutText(std::string_view text, const BitmapFont& font, Mesh& mesh);

}  // namespace Engine
