#pragma once

#include "AssetGen_Sheet.h"

namespace AssetGen {

// Stands in for art not drawn yet, plainly: magenta and black stripes with
// the frame's number, inside the cell's 2-pixel margin unless the sheet
// fills its cells.
void DrawPlaceholder(const FrameCanvas& canvas, bool fillsCell);

}  // namespace AssetGen
