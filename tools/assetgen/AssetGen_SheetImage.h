#pragma once

#include <cairo.h>

#include <span>
#include <string_view>

#include "AssetGen_Manifest.h"
#include "AssetGen_Sheet.h"

// A sprite sheet's image, drawn frame by frame into the cells of its grid.
namespace AssetGen {

std::span<const SheetArt> FamilyArt(Family family);

// The drawing function the sheet's family lists for it; null while its art
// is not drawn yet.
DrawFrame FindDrawing(const ManifestRow& sheet);

// Where frame `frame` lies in the image, in pixels from the image's top
// left: column frame mod C, row frame div C counted from the image's BOTTOM.
struct CellRect {
    int x;
    int y;
    int width;
    int height;
};
CellRect CellOfFrame(const SheetGrid& grid, int frame);

// The whole sheet; cells past the frame count stay transparent. A sheet
// without a drawing function gets numbered placeholders. The caller
// destroys the surface.
cairo_surface_t* RenderSheet(const ManifestRow& sheet);

}  // namespace AssetGen
