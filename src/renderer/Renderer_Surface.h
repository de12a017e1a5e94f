#pragma once

#include "core/Core_Object.h"
#include "core/Core_RefPtr.h"
#include "core/Core_String.h"
#include "os/OS_Image.h"

#include <cstdint>
#include <vector>

namespace Renderer {

// A CPU-side image of 32 bits per pixel: red, green, blue, alpha bytes,
// width * 4 bytes per row without gaps. Row 0 is the BOTTOM row of the image
// (OpenGL's order; see TextureRowOfImageRow), so surfaces upload as they are.
class Surface : public Core::Object {
    TUN_DECLARE_CLASS(Surface);

    // The largest side a raw surface file may claim: the decoder's limit.
    static constexpr std::uint32_t kMaxRawSide = os::kMaxImageSide;
    // The size of the pattern that stands in for an image that cannot be read.
    static constexpr std::uint32_t kDefaultPatternSide = 256;

    // An empty surface (0 x 0).
    Surface() = default;
    // width x height pixels, every byte 0. Sides beyond kMaxRawSide give an
    // empty surface.
    Surface(std::uint32_t width, std::uint32_t height, std::uint32_t format);
    // Never fails: the decoded image file, else the raw surface file, else
    // the default pattern.
    explicit Surface(const Core::String& fileName);

    // A surface from a decoded image (rows top-down): rows flipped to
    // bottom-up, each fully transparent pixel given the mean colour of its
    // visible neighbours (alpha stays 0), so that filtering at a sprite's
    // edge blends towards the sprite's colours, not black. An empty
    // reference when the image's pixel count disagrees with its size.
    static Core::RefPtr<Surface> FromBitmap(const os::Image& image);

    // Decodes a PNG, BMP or JPG file with the OS layer's image decoder
    // (os::DecodeImageFile) into this surface as FromBitmap does. False, with the surface unchanged, when the file
    // cannot be decoded.
    bool LoadWithGdiPlus(const Core::String& fileName);
    // Reads a raw surface file: little-endian format, width, height and pitch
    // (u32 each), then width * height * 4 pixel bytes in surface row order.
    // False, with the surface unchanged, when the file cannot be opened, a
    // side is 0 or above kMaxRawSide, or the file is shorter than its header
    // says.
    bool LoadRaw(const Core::String& fileName);
    // The default pattern: 256 x 256, the pixel in column x and row y grey
    // (x XOR y) with alpha 255.
    void FillDefaultPattern();

    std::uint32_t GetWidth() const { return m_width; }
    std::uint32_t GetHeight() const { return m_height; }
    std::uint32_t GetPitch() const { return m_pitch; }
    // Always 0 (red, green, blue, alpha bytes), whatever a raw file's header said.
    std::uint32_t GetFormat() const { return 0; }
    const std::uint8_t* GetPixels() const { return m_pixels.data(); }
    std::uint8_t* GetPixels() { return m_pixels.data(); }

private:
    void SetFromImage(const os::Image& image);

    // Kept from a raw file's header; nothing reads it.
    std::uint32_t m_format = 0;
    std::uint32_t m_width = 0;
    std::uint32_t m_height = 0;
    std::uint32_t m_pitch = 0;
    std::vector<std::uint8_t> m_pixels;
};

}  // namespace Renderer
