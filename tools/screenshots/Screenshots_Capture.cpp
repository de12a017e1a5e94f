#include "Screenshots_Capture.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace screenshots {

bool ReadFrame(Renderer::IRenderer& renderer, os::Image& image) {
    const Renderer::DisplaySettings settings = renderer.GetDisplaySettings();
    if (!os::IsAcceptedImageSize(settings.width, settings.height)) {
        return false;
    }
    const std::size_t width = settings.width;
    const std::size_t height = settings.height;
    std::vector<std::uint8_t> rgb(width * height * 3);
    renderer.ReadPixels(rgb.data());
    // The read-back's rows run from the bottom; an image's from the top.
    std::vector<std::uint8_t> rgba(width * height * 4);
    for (std::size_t row = 0; row < height; ++row) {
        const std::uint8_t* source = rgb.data() + (height - 1 - row) * width * 3;
        std::uint8_t* target = rgba.data() + row * width * 4;
        for (std::size_t x = 0; x < width; ++x) {
            std::copy_n(source + x * 3, 3, target + x * 4);
            target[x * 4 + 3] = 255;
        }
    }
    image.width = settings.width;
    image.height = settings.height;
    image.pixels = std::move(rgba);
    return true;
}

}  // namespace screenshots
