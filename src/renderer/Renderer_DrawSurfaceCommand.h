#pragma once

#include "core/Core_RefPtr.h"
#include "renderer/Renderer_RasterCommand.h"
#include "renderer/Renderer_Surface.h"

#include <cstdint>
#include <optional>

namespace Renderer {

// Where a source rectangle of an image lands in the window, clipped to it:
// the raster position, the drawn size and the first source column and row.
// On a flipped axis the raster position is the far (right or top) edge and
// the image runs back from it.
struct RasterPlacement {
    std::int32_t rasterX = 0;
    std::int32_t rasterY = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::int32_t skipPixels = 0;
    std::int32_t skipRows = 0;
};

// The source rectangle is columns left..right - 1 and rows top..bottom - 1
// (row 0 is the image's bottom row), cut to the image; its corner goes to
// window pixel (x, y). Columns and rows are skipped by exactly the amount
// clipped off the window's edges. Nothing when no pixel is visible.
std::optional<RasterPlacement> PlaceRaster(std::uint32_t imageWidth, std::uint32_t imageHeight, std::int32_t x,
                                           std::int32_t y, std::int32_t left, std::int32_t top, std::int32_t right,
                                           std::int32_t bottom, bool flipX, bool flipY, std::int32_t windowWidth,
                                           std::int32_t windowHeight);

// Draws a rectangle of a surface at a window position, optionally
// mirrored, clipped to the viewport. Pixel-store settings and the pixel zoom
// are put back afterwards.
class DrawSurfaceCommand : public RasterCommand {
public:
    DrawSurfaceCommand(const Core::RefPtr<Surface>& surface, std::int32_t x, std::int32_t y, std::int32_t left,
                       std::int32_t top, std::int32_t right, std::int32_t bottom, bool flipX, bool flipY);

    void Execute(IRenderer& renderer) override;

private:
    Core::RefPtr<Surface> m_surface;
    std::int32_t m_x;
    std::int32_t m_y;
    std::int32_t m_left;
    std::int32_t m_top;
    std::int32_t m_right;
    std::int32_t m_bottom;
    bool m_flipX;
    bool m_flipY;
};

}  // namespace Renderer
