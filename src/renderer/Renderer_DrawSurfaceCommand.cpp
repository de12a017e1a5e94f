#include "renderer/Renderer_DrawSurfaceCommand.h"

#include "os/OS_GLFunctions.h"
#include "renderer/Renderer_IRenderer.h"
#include "renderer/Renderer_PixelStoreScope.h"

#include <algorithm>

namespace Renderer {

namespace gl = os::gl;

std::optional<RasterPlacement> PlaceRaster(std::uint32_t imageWidth, std::uint32_t imageHeight, std::int32_t x,
                                           std::int32_t y, std::int32_t left, std::int32_t top, std::int32_t right,
                                           std::int32_t bottom, bool flipX, bool flipY, std::int32_t windowWidth,
                                           std::int32_t windowHeight) {
    // The source rectangle, cut to the image so that no read leaves a row or the pixels.
    const std::int64_t sourceLeft = std::clamp<std::int64_t>(left, 0, imageWidth);
    const std::int64_t sourceRight = std::clamp<std::int64_t>(right, sourceLeft, imageWidth);
    const std::int64_t sourceBottom = std::clamp<std::int64_t>(top, 0, imageHeight);
    const std::int64_t sourceTop = std::clamp<std::int64_t>(bottom, sourceBottom, imageHeight);
    // Where it would land, and the part of that inside the window.
    const std::int64_t destinationLeft = x;
    const std::int64_t destinationRight = destinationLeft + (sourceRight - sourceLeft);
    const std::int64_t destinationBottom = y;
    const std::int64_t destinationTop = destinationBottom + (sourceTop - sourceBottom);
    const std::int64_t clippedLeft = std::max<std::int64_t>(destinationLeft, 0);
    const std::int64_t clippedRight = std::min<std::int64_t>(destinationRight, windowWidth);
    const std::int64_t clippedBottom = std::max<std::int64_t>(destinationBottom, 0);
    const std::int64_t clippedTop = std::min<std::int64_t>(destinationTop, windowHeight);
    if (clippedRight - clippedLeft < 1 || clippedTop - clippedBottom < 1) {
        return std::nullopt;
    }
    // The first source column shows at the left edge, or at the right edge
    // when mirrored, so the columns cut off that edge are skipped; rows alike.
    RasterPlacement placement;
    placement.width = static_cast<std::int32_t>(clippedRight - clippedLeft);
    placement.height = static_cast<std::int32_t>(clippedTop - clippedBottom);
    placement.skipPixels = static_cast<std::int32_t>(
        sourceLeft + (flipX ? destinationRight - clippedRight : clippedLeft - destinationLeft));
    placement.skipRows = static_cast<std::int32_t>(
        sourceBottom + (flipY ? destinationTop - clippedTop : clippedBottom - destinationBottom));
    placement.rasterX = static_cast<std::int32_t>(flipX ? clippedRight : clippedLeft);
    placement.rasterY = static_cast<std::int32_t>(flipY ? clippedTop : clippedBottom);
    return placement;
}

DrawSurfaceCommand::DrawSurfaceCommand(const Core::RefPtr<Surface>& surface, std::int32_t x, std::int32_t y,
                                       std::int32_t left, std::int32_t top, std::int32_t right, std::int32_t bottom,
                                       bool flipX, bool flipY)
    : m_surface(surface),
      m_x(x),
      m_y(y),
      m_left(left),
      m_top(top),
      m_right(right),
      m_bottom(bottom),
      m_flipX(flipX),
      m_flipY(flipY) {}

void DrawSurfaceCommand::Execute(IRenderer& renderer) {
    if (!m_surface || m_surface->GetPixels() == nullptr) {
        return;
    }
    const Viewport viewport = renderer.GetViewport();
    const std::optional<RasterPlacement> placement =
        PlaceRaster(m_surface->GetWidth(), m_surface->GetHeight(), m_x, m_y, m_left, m_top, m_right, m_bottom,
                    m_flipX, m_flipY, viewport.width, viewport.height);
    if (!placement) {
        return;
    }
    GLfloat zoomX = 1.0f;
    GLfloat zoomY = 1.0f;
    gl::GetFloatv(GL_ZOOM_X, &zoomX);
    gl::GetFloatv(GL_ZOOM_Y, &zoomY);
    {
        const PixelStoreScope alignment(GL_UNPACK_ALIGNMENT, 4);
        const PixelStoreScope rowLength(GL_UNPACK_ROW_LENGTH, static_cast<GLint>(m_surface->GetWidth()));
        const PixelStoreScope skipPixels(GL_UNPACK_SKIP_PIXELS, placement->skipPixels);
        const PixelStoreScope skipRows(GL_UNPACK_SKIP_ROWS, placement->skipRows);
        gl::PixelZoom(m_flipX ? -1.0f : 1.0f, m_flipY ? -1.0f : 1.0f);
        gl::RasterPos2i(placement->rasterX, placement->rasterY);
        gl::DrawPixels(placement->width, placement->height, GL_RGBA, GL_UNSIGNED_BYTE, m_surface->GetPixels());
    }
    gl::PixelZoom(zoomX, zoomY);
    gl::RasterPos2i(0, 0);
}

}  // namespace Renderer
