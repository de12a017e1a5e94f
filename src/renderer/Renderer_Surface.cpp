#include "renderer/Renderer_Surface.h"

#include "os/OS_ByteOrder.h"
#include "os/OS_File.h"
#include "os/OS_Image.h"
#include "renderer/Renderer_TextureRows.h"

#include <cstdio>
#include <cstring>

namespace Renderer {

TUN_DEFINE_CLASS_NAMED(Surface, "Renderer::Surface");

namespace {

constexpr std::uint32_t kRawHeaderBytes = 16;

// A fully transparent pixel takes the mean colour of its visible neighbours
// (sums in float, truncated), keeping alpha 0; with none visible it keeps
// its own bytes. Neighbours are read from the source, never from pixels
// already replaced.
void BleedTransparentPixel(const std::uint8_t* source, std::uint32_t width, std::uint32_t height, std::uint32_t x,
                           std::uint32_t y, std::uint8_t* target) {
    const std::uint8_t* own = source + (std::size_t{y} * width + x) * 4;
    float sum[3] = {};
    int visible = 0;
    for (int dy = -1; dy <= 1; ++dy) {
        for (int dx = -1; dx <= 1; ++dx) {
            const std::int64_t nx = std::int64_t{x} + dx;
            const std::int64_t ny = std::int64_t{y} + dy;
            // The pixel itself, and neighbours past an edge, do not count.
            if ((dx == 0 && dy == 0) || nx < 0 || ny < 0 || nx >= width || ny >= height) {
                continue;
            }
            const std::uint8_t* neighbour = source + (static_cast<std::size_t>(ny) * width + nx) * 4;
            if (neighbour[3] == 0) {
                continue;
            }
            for (int k = 0; k < 3; ++k) {
                sum[k] += neighbour[k];
            }
            ++visible;
        }
    }
    if (visible == 0) {
        std::memcpy(target, own, 4);
        return;
    }
    for (int k = 0; k < 3; ++k) {
        target[k] = static_cast<std::uint8_t>(sum[k] / static_cast<float>(visible));
    }
    target[3] = 0;
}

}  // namespace

Surface::Surface(std::uint32_t width, std::uint32_t height, std::uint32_t format) {
    if (width > kMaxRawSide || height > kMaxRawSide) {
        return;
    }
    m_format = format;
    m_width = width;
    m_height = height;
    m_pitch = width * 4;
    m_pixels.assign(std::size_t{m_pitch} * height, 0);
}

Surface::Surface(const Core::String& fileName) {
    if (!LoadWithGdiPlus(fileName) && !LoadRaw(fileName)) {
        FillDefaultPattern();
    }
}

Core::RefPtr<Surface> Surface::FromBitmap(const os::Image& image) {
    if (!os::HasPixelsForItsSize(image)) {
        return nullptr;
    }
    Core::RefPtr<Surface> surface(TUN_NEW(Surface));
    surface->SetFromImage(image);
    return surface;
}

bool Surface::LoadWithGdiPlus(const Core::String& fileName) {
    os::Image image;
    if (!os::DecodeImageFile(fileName, image)) {
        return false;
    }
    SetFromImage(image);
    return true;
}

bool Surface::LoadRaw(const Core::String& fileName) {
    if (fileName.empty()) {
        return false;
    }
    const os::FilePointer file = os::OpenFile(fileName, "rb");
    if (!file) {
        return false;
    }
    std::uint8_t header[kRawHeaderBytes];
    if (std::fread(header, 1, sizeof header, file.get()) != sizeof header) {
        return false;
    }
    const std::uint32_t format = os::LoadU32LE(header);
    const std::uint32_t width = os::LoadU32LE(header + 4);
    const std::uint32_t height = os::LoadU32LE(header + 8);
    // The stored pitch (header + 12) is not trusted: rows are width * 4 bytes.
    if (width < 1 || height < 1 || width > kMaxRawSide || height > kMaxRawSide) {
        return false;
    }
    // The file must hold every pixel the header claims before any is
    // allocated; 16384 * 16384 * 4 needs 64-bit arithmetic.
    const std::uint64_t pixelBytes = std::uint64_t{width} * height * 4;
    if (std::fseek(file.get(), 0, SEEK_END) != 0) {
        return false;
    }
    const long fileBytes = std::ftell(file.get());
    if (fileBytes < 0 || static_cast<std::uint64_t>(fileBytes) < kRawHeaderBytes + pixelBytes ||
        std::fseek(file.get(), kRawHeaderBytes, SEEK_SET) != 0) {
        return false;
    }
    std::vector<std::uint8_t> pixels(static_cast<std::size_t>(pixelBytes));
    if (std::fread(pixels.data(), 1, pixels.size(), file.get()) != pixels.size()) {
        return false;
    }
    m_format = format;
    m_width = width;
    m_height = height;
    m_pitch = width * 4;
    m_pixels = std::move(pixels);
    return true;
}

void Surface::FillDefaultPattern() {
    m_format = 0;
    m_width = kDefaultPatternSide;
    m_height = kDefaultPatternSide;
    m_pitch = kDefaultPatternSide * 4;
    m_pixels.resize(std::size_t{m_pitch} * m_height);
    std::uint8_t* pixel = m_pixels.data();
    for (std::uint32_t y = 0; y < m_height; ++y) {
        for (std::uint32_t x = 0; x < m_width; ++x) {
            const auto grey = static_cast<std::uint8_t>(x ^ y);
            pixel[0] = grey;
            pixel[1] = grey;
            pixel[2] = grey;
            pixel[3] = 255;
            pixel += 4;
        }
    }
}

void Surface::SetFromImage(const os::Image& image) {
    const std::size_t rowBytes = std::size_t{image.width} * 4;
    std::vector<std::uint8_t> pixels(rowBytes * image.height);
    for (std::uint32_t y = 0; y < image.height; ++y) {
        std::uint8_t* target = pixels.data() + TextureRowOfImageRow(y, image.height) * rowBytes;
        const std::uint8_t* source = image.pixels.data() + y * rowBytes;
        for (std::uint32_t x = 0; x < image.width; ++x) {
            if (source[std::size_t{x} * 4 + 3] == 0) {
                BleedTransparentPixel(image.pixels.data(), image.width, image.height, x, y, target + x * 4);
            } else {
                std::memcpy(target + std::size_t{x} * 4, source + std::size_t{x} * 4, 4);
            }
        }
    }
    m_format = 0;
    m_width = image.width;
    m_height = image.height;
    m_pitch = image.width * 4;
    m_pixels = std::move(pixels);
}

}  // namespace Renderer
