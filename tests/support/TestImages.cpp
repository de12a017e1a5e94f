#include "support/TestImages.h"

#include <SDL.h>
#include <SDL_image.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <memory>
#include <stdexcept>

namespace testsupport {
namespace {

struct SurfaceFreer {
    void operator()(SDL_Surface* surface) const { SDL_FreeSurface(surface); }
};
using SurfacePointer = std::unique_ptr<SDL_Surface, SurfaceFreer>;

void Check(bool written, const std::string& path) {
    if (!written) {
        throw std::runtime_error("cannot write " + path + ": " + SDL_GetError());
    }
}

// An SDL surface of the given format holding the image's pixels.
SurfacePointer ToSurface(const os::Image& image, Uint32 format) {
    SurfacePointer rgba(SDL_CreateRGBSurfaceWithFormat(0, static_cast<int>(image.width),
                                                       static_cast<int>(image.height), 32, SDL_PIXELFORMAT_RGBA32));
    if (!rgba) {
        throw std::runtime_error(SDL_GetError());
    }
    for (std::uint32_t y = 0; y < image.height; ++y) {
        std::memcpy(static_cast<std::uint8_t*>(rgba->pixels) + y * rgba->pitch,
                    image.pixels.data() + std::size_t{y} * image.width * 4, std::size_t{image.width} * 4);
    }
    if (format == SDL_PIXELFORMAT_RGBA32) {
        return rgba;
    }
    return SurfacePointer(SDL_ConvertSurfaceFormat(rgba.get(), format, 0));
}

void AppendBigEndian32(std::vector<std::uint8_t>& bytes, std::uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) {
        bytes.push_back(static_cast<std::uint8_t>(value >> shift));
    }
}

std::uint32_t Crc32(const std::uint8_t* bytes, std::size_t count) {
    std::uint32_t crc = 0xFFFFFFFFu;
    for (std::size_t i = 0; i < count; ++i) {
        crc ^= bytes[i];
        for (int bit = 0; bit < 8; ++bit) {
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
        }
    }
    return ~crc;
}

void AppendChunk(std::vector<std::uint8_t>& png, const char* type, const std::vector<std::uint8_t>& data) {
    AppendBigEndian32(png, static_cast<std::uint32_t>(data.size()));
    const std::size_t typeStart = png.size();
    png.insert(png.end(), type, type + 4);
    png.insert(png.end(), data.begin(), data.end());
    AppendBigEndian32(png, Crc32(png.data() + typeStart, png.size() - typeStart));
}

// A zlib stream of stored deflate blocks (at most 65535 bytes each).
std::vector<std::uint8_t> StoredZlib(const std::vector<std::uint8_t>& raw) {
    std::vector<std::uint8_t> out = {0x78, 0x01};
    std::size_t position = 0;
    do {
        const std::size_t length = std::min<std::size_t>(raw.size() - position, 65535);
        const bool last = position + length == raw.size();
        out.push_back(last ? 1 : 0);
        out.push_back(static_cast<std::uint8_t>(length));
        out.push_back(static_cast<std::uint8_t>(length >> 8));
        out.push_back(static_cast<std::uint8_t>(~length));
        out.push_back(static_cast<std::uint8_t>(~length >> 8));
        out.insert(out.end(), raw.begin() + static_cast<std::ptrdiff_t>(position),
                   raw.begin() + static_cast<std::ptrdiff_t>(position + length));
        position += length;
    } while (position < raw.size());
    std::uint32_t a = 1;
    std::uint32_t b = 0;
    for (const std::uint8_t byte : raw) {
        a = (a + byte) % 65521;
        b = (b + a) % 65521;
    }
    AppendBigEndian32(out, b << 16 | a);
    return out;
}

}  // namespace

os::Image MakeImage(std::uint32_t width, std::uint32_t height,
                    const std::function<Rgba(std::uint32_t, std::uint32_t)>& colour) {
    os::Image image;
    image.width = width;
    image.height = height;
    image.pixels.reserve(std::size_t{width} * height * 4);
    for (std::uint32_t y = 0; y < height; ++y) {
        for (std::uint32_t x = 0; x < width; ++x) {
            const Rgba pixel = colour(x, y);
            image.pixels.insert(image.pixels.end(), pixel.begin(), pixel.end());
        }
    }
    return image;
}

os::Image FlatImage(std::uint32_t width, std::uint32_t height, Rgba colour) {
    return MakeImage(width, height, [colour](std::uint32_t, std::uint32_t) { return colour; });
}

Rgba PixelAt(const os::Image& image, std::uint32_t x, std::uint32_t y) {
    const std::uint8_t* pixel = image.pixels.data() + (std::size_t{y} * image.width + x) * 4;
    return {pixel[0], pixel[1], pixel[2], pixel[3]};
}

void SavePng(const os::Image& image, const std::string& path) {
    Check(IMG_SavePNG(ToSurface(image, SDL_PIXELFORMAT_RGBA32).get(), path.c_str()) == 0, path);
}

void SaveBmp(const os::Image& image, const std::string& path) {
    Check(SDL_SaveBMP(ToSurface(image, SDL_PIXELFORMAT_RGB24).get(), path.c_str()) == 0, path);
}

void SaveJpg(const os::Image& image, const std::string& path, int quality) {
    Check(IMG_SaveJPG(ToSurface(image, SDL_PIXELFORMAT_RGB24).get(), path.c_str(), quality) == 0, path);
}

void SavePalettePng(std::uint32_t width, std::uint32_t height, const std::vector<std::uint8_t>& indices,
                    const std::vector<Rgba>& palette, const std::string& path) {
    SurfacePointer surface(SDL_CreateRGBSurfaceWithFormat(0, static_cast<int>(width), static_cast<int>(height), 8,
                                                          SDL_PIXELFORMAT_INDEX8));
    Check(surface != nullptr, path);
    std::vector<SDL_Color> colours;
    for (const Rgba& entry : palette) {
        colours.push_back({entry[0], entry[1], entry[2], entry[3]});
    }
    SDL_SetPaletteColors(surface->format->palette, colours.data(), 0, static_cast<int>(colours.size()));
    for (std::uint32_t y = 0; y < height; ++y) {
        std::memcpy(static_cast<std::uint8_t*>(surface->pixels) + y * surface->pitch,
                    indices.data() + std::size_t{y} * width, width);
    }
    Check(IMG_SavePNG(surface.get(), path.c_str()) == 0, path);
}

std::vector<std::uint8_t> EncodeGreyAlphaPng(std::uint32_t width, std::uint32_t height,
                                             const std::vector<std::uint8_t>& greyAlpha) {
    std::vector<std::uint8_t> png = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    std::vector<std::uint8_t> header;
    AppendBigEndian32(header, width);
    AppendBigEndian32(header, height);
    header.insert(header.end(), {8, 4, 0, 0, 0});  // 8 bits, grey + alpha, deflate, no filter, no interlace
    AppendChunk(png, "IHDR", header);
    std::vector<std::uint8_t> raw;
    for (std::uint32_t y = 0; y < height; ++y) {
        raw.push_back(0);  // row filter: none
        const auto row = greyAlpha.begin() + static_cast<std::ptrdiff_t>(std::size_t{y} * width * 2);
        raw.insert(raw.end(), row, row + static_cast<std::ptrdiff_t>(width * 2));
    }
    AppendChunk(png, "IDAT", StoredZlib(raw));
    AppendChunk(png, "IEND", {});
    return png;
}

void FixPngChecksums(std::vector<std::uint8_t>& png) {
    std::size_t position = 8;
    while (position <= png.size() && png.size() - position >= 12) {
        const std::uint32_t length = static_cast<std::uint32_t>(png[position]) << 24 |
                                     static_cast<std::uint32_t>(png[position + 1]) << 16 |
                                     static_cast<std::uint32_t>(png[position + 2]) << 8 | png[position + 3];
        if (length > png.size() - position - 12) {
            return;
        }
        const std::uint32_t crc = Crc32(png.data() + position + 4, std::size_t{length} + 4);
        std::uint8_t* field = png.data() + position + 8 + length;
        for (int i = 0; i < 4; ++i) {
            field[i] = static_cast<std::uint8_t>(crc >> (24 - 8 * i));
        }
        position += std::size_t{length} + 12;
    }
}

std::vector<std::uint8_t> ReadBytes(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

void WriteBytes(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!file) {
        throw std::runtime_error("cannot write " + path);
    }
}

}  // namespace testsupport
