#pragma once

#include <cstdint>

namespace Renderer {

// Surfaces keep an image's bottom row first, the order OpenGL reads them in,
// so texture row 0 (texture coordinate v = 0) is the BOTTOM row of the image
// file. Every conversion between rows as the file lists them (from the top)
// and rows as textures count them (from the bottom) goes through this one
// helper: pixel rows (rowCount = the image height) and sprite-sheet cell rows
// (rowCount = the rows of cells; a sheet is a whole number of cells high so
// that cell rows line up from either edge). The mapping is its own inverse.
// A row outside the image gives rowCount, which is no row either.
constexpr std::uint32_t TextureRowOfImageRow(std::uint32_t imageRow, std::uint32_t rowCount) {
    return imageRow < rowCount ? rowCount - 1 - imageRow : rowCount;
}

}  // namespace Renderer
