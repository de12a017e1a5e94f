#include "os/OS_ImageWrite.h"

#include "os/OS_Error.h"
#include "os/OS_Path.h"
#include "os/OS_SdlSurface.h"

#include <SDL.h>
#include <SDL_image.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace os {
namespace {

bool IsOpaque(const Image& image) {
    for (std::size_t alpha = 3; alpha < image.pixels.size(); alpha += 4) {
        if (image.pixels[alpha] != 255) {
            return false;
        }
    }
    return true;
}

// A surface over the image's own bytes (no copy), or its opaque colours alone.
SurfacePointer SurfaceFor(const Image& image, std::vector<std::uint8_t>& rgb) {
    const auto width = static_cast<int>(image.width);
    const auto height = static_cast<int>(image.height);
    if (!IsOpaque(image)) {
        // The encoder only reads the pixels.
        void* pixels = const_cast<std::uint8_t*>(image.pixels.data());
        return SurfacePointer(
            SDL_CreateRGBSurfaceWithFormatFrom(pixels, width, height, 32, width * 4, SDL_PIXELFORMAT_RGBA32));
    }
    rgb.resize(std::size_t{image.width} * image.height * 3);
    for (std::size_t pixel = 0, count = rgb.size() / 3; pixel < count; ++pixel) {
        std::copy_n(image.pixels.begin() + static_cast<std::ptrdiff_t>(pixel * 4), 3,
                    rgb.begin() + static_cast<std::ptrdiff_t>(pixel * 3));
    }
    return SurfacePointer(
        SDL_CreateRGBSurfaceWithFormatFrom(rgb.data(), width, height, 24, width * 3, SDL_PIXELFORMAT_RGB24));
}

}  // namespace

bool WritePngFile(std::string_view path, const Image& image) {
    const std::string resolved = ResolvePath(path);
    if (!HasPixelsForItsSize(image) || !IsAcceptedImageSize(image.width, image.height)) {
        return FailWithText(EINVAL, "no image to write to " + resolved);
    }
    std::vector<std::uint8_t> rgb;
    const SurfacePointer surface = SurfaceFor(image, rgb);
    if (!surface) {
        return FailWithText(ENOMEM, "cannot hold the image for " + resolved + ": " + SDL_GetError());
    }
    // Written beside the target and then renamed over it, so that a reader
    // never finds half a picture.
    const std::string partial = resolved + ".part";
    if (IMG_SavePNG(surface.get(), partial.c_str()) != 0) {
        std::remove(partial.c_str());
        return FailWithText(EIO, "cannot write " + resolved + ": " + SDL_GetError());
    }
    if (std::rename(partial.c_str(), resolved.c_str()) != 0) {
        const std::uint32_t code = SetLastErrorFromErrno();
        std::remove(partial.c_str());
        return FailWithText(code, "cannot write " + resolved);
    }
    return true;
}

}  // namespace os
