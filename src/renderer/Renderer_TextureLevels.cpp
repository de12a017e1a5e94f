#include "renderer/Renderer_TextureLevels.h"

#include "renderer/Renderer_PowerOfTwo.h"

#include <algorithm>
#include <utility>

namespace Renderer {
namespace {

// GL_MAX_TEXTURE_SIZE is a GLint; the clamp compares sides as unsigned so
// that no side, however large, slips past it as a negative number.
std::uint32_t ClampSide(std::uint32_t side, std::int32_t maxTextureSize) {
    return std::min(side, static_cast<std::uint32_t>(std::max(maxTextureSize, std::int32_t{1})));
}

TextureSize NearestPowerOfTwoSize(std::uint32_t width, std::uint32_t height, std::int32_t maxTextureSize) {
    return {ClampSide(NearestPowerOfTwo(width), maxTextureSize), ClampSide(NearestPowerOfTwo(height), maxTextureSize)};
}

}  // namespace

TextureSize DecodedLevelSize(std::uint32_t width, std::uint32_t height, bool nonPowerOfTwoSupported,
                             std::int32_t maxTextureSize) {
    if (!nonPowerOfTwoSupported) {
        return NearestPowerOfTwoSize(width, height, maxTextureSize);
    }
    return {ClampSide(width, maxTextureSize), ClampSide(height, maxTextureSize)};
}

TextureSize SurfaceUploadSize(std::uint32_t width, std::uint32_t height, bool nonPowerOfTwoSupported,
                              std::int32_t maxTextureSize) {
    const bool withinMaximum = ClampSide(width, maxTextureSize) == width && ClampSide(height, maxTextureSize) == height;
    if (withinMaximum && (nonPowerOfTwoSupported || (IsPowerOfTwo(width) && IsPowerOfTwo(height)))) {
        return {width, height};
    }
    return NearestPowerOfTwoSize(width, height, maxTextureSize);
}

std::vector<TextureSize> LevelSizes(TextureSize levelZero, bool mipmaps) {
    std::vector<TextureSize> sizes;
    for (std::uint32_t level = 0; level < 32; ++level) {
        const TextureSize size{std::max(levelZero.width >> level, 1u), std::max(levelZero.height >> level, 1u)};
        sizes.push_back(size);
        if (!mipmaps || (size.width == 1 && size.height == 1)) {
            break;
        }
    }
    return sizes;
}

bool MakeTextureLevels(const os::Image& image, bool mipmaps, bool nonPowerOfTwoSupported, std::int32_t maxTextureSize,
                       TextureLevels& levels) {
    const TextureSize levelZero = DecodedLevelSize(image.width, image.height, nonPowerOfTwoSupported, maxTextureSize);
    Core::RefPtrVector<Surface> surfaces;
    const os::Image* previous = &image;
    os::Image level;
    os::Image next;
    for (const TextureSize& size : LevelSizes(levelZero, mipmaps)) {
        const bool halved = previous != &image && os::HalveImage(*previous, next) && next.width == size.width &&
                            next.height == size.height;
        if (!halved && !os::ResampleImage(*previous, size.width, size.height, next)) {
            return false;
        }
        surfaces.push_back(Surface::FromBitmap(next));
        std::swap(level, next);
        previous = &level;
    }
    levels.width = image.width;
    levels.height = image.height;
    levels.levels = std::move(surfaces);
    return true;
}

bool LoadTextureLevels(const Core::String& fileName, bool mipmaps, bool nonPowerOfTwoSupported,
                       std::int32_t maxTextureSize, TextureLevels& levels) {
    os::Image image;
    return os::DecodeImageFile(fileName, image) &&
           MakeTextureLevels(image, mipmaps, nonPowerOfTwoSupported, maxTextureSize, levels);
}

}  // namespace Renderer
