#pragma once

#include "core/Core_RefPtrVector.h"
#include "core/Core_String.h"
#include "os/OS_Image.h"
#include "renderer/Renderer_Surface.h"

#include <cstdint>
#include <vector>

// The CPU half of making a texture from an image file: the sizes the driver
// can take and the surfaces of every level, ready for glTexImage2D. The
// driver's answers (non-power-of-two extension, GL_MAX_TEXTURE_SIZE) come in
// as plain values, so none of this needs an OpenGL context.
namespace Renderer {

struct TextureSize {
    std::uint32_t width = 0;
    std::uint32_t height = 0;

    friend bool operator==(const TextureSize&, const TextureSize&) = default;
};

// The level-0 size of a decoded image: each side as it is when non-power-of-
// two textures are supported, else its NearestPowerOfTwo; then each side at
// most maxTextureSize (a maximum below 1 counts as 1).
TextureSize DecodedLevelSize(std::uint32_t width, std::uint32_t height, bool nonPowerOfTwoSupported,
                             std::int32_t maxTextureSize);

// The size a surface is uploaded at without mipmaps: unchanged when both
// sides are within maxTextureSize and either non-power-of-two textures are
// supported or both sides are powers of two; otherwise the NearestPowerOfTwo
// of each side, at most maxTextureSize (a maximum below 1 counts as 1).
TextureSize SurfaceUploadSize(std::uint32_t width, std::uint32_t height, bool nonPowerOfTwoSupported,
                              std::int32_t maxTextureSize);

// Level i is max(1, floor(width / 2^i)) x max(1, floor(height / 2^i)).
// Without mipmaps only level 0; with them every level down to 1 x 1.
std::vector<TextureSize> LevelSizes(TextureSize levelZero, bool mipmaps);

// A decoded image file as texture levels.
struct TextureLevels {
    std::uint32_t width = 0;   // of the image file
    std::uint32_t height = 0;  // of the image file
    Core::RefPtrVector<Surface> levels;  // level 0 first, each a Surface (rows bottom-up)
};

// Makes each level of LevelSizes(DecodedLevelSize(...), mipmaps) from the
// decoded image (rows top-down) and turns it into a surface with
// Surface::FromBitmap. Level 0 is the image resampled to its level size;
// every further level is made from the one before (os::HalveImage where
// the sides halve exactly, else os::ResampleImage: a box filter weighted by
// alpha either way), so a chain costs about a third more than its level 0. False, with levels unchanged, when the
// image's pixel count disagrees with its size.
bool MakeTextureLevels(const os::Image& image, bool mipmaps, bool nonPowerOfTwoSupported, std::int32_t maxTextureSize,
                       TextureLevels& levels);

// Decodes the PNG, BMP or JPG file and makes its levels as above. False,
// with levels unchanged, when the file cannot be decoded.
bool LoadTextureLevels(const Core::String& fileName, bool mipmaps, bool nonPowerOfTwoSupported,
                       std::int32_t maxTextureSize, TextureLevels& levels);

}  // namespace Renderer
