#pragma once

#include "os/OS_Image.h"
#include "renderer/Renderer_IRenderer.h"

// Pictures of what the renderer has drawn.
namespace screenshots {

// The frame drawn since the last present, at the display settings' size,
// read back as an image: top row first, every pixel opaque. False, image
// unchanged, when that size is no image.
bool ReadFrame(Renderer::IRenderer& renderer, os::Image& image);

}  // namespace screenshots
