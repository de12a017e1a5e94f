#include "support/TestImages.h"

#include <SDL.h>
#include <SDL_image.h>

#include <fstream>
#include <initializer_list>
#include <iterator>
#include <stdexcept>

namespace testsupport {
namespace {

// Writes the image through SDL as the given pixel format; save is one of
// SDL's writers.
template <class Save>
void Write(const os::Image& image, Uint32 format, const std::string& path, Save save) {
    const auto width = static_cast<int>(image.width);
    SDL_Surface* rgba = SDL_CreateRGBSurfaceWithFormatFrom(const_cast<std::uint8_t*>(image.pixels.data()), width,
                                                           static_cast<int>(image.height), 32, width * 4,
                                                           SDL_PIXELFORMAT_RGBA32);
    SDL_Surface* converted = rgba != nullptr ? SDL_ConvertSurfaceFormat(rgba, format, 0) : nullptr;
    const bool written = converted != nullptr && save(converted, path.c_str()) == 0;
    SDL_FreeSurface(converted);
    SDL_FreeSurface(rgba);
    if (!written) {
        throw std::runtime_error("cannot write " + path + ": " + SDL_GetError());
    }
}

}  // namespace

os::Image MakeImage(std::uint32_t width, std::uint32_t height,
                    const std::function<Rgba(std::uint32_t, std::uint32_t)>& colour) {
    os::Image image;
    image.width = width;
    image.height = height;
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

void SavePng(const os::Image& image, const std::string& path) {
    Write(image, SDL_PIXELFORMAT_RGBA32, path, IMG_SavePNG);
}

void SaveBmp(const os::Image& image, const std::string& path) {
    Write(image, SDL_PIXELFORMAT_RGB24, path, [](SDL_Surface* surface, const char* file) {
        return SDL_SaveBMP(surface, file);
    });
}

void SaveJpg(const os::Image& image, const std::string& path, int quality) {
    Write(image, SDL_PIXELFORMAT_RGB24, path, [quality](SDL_Surface* surface, const char* file) {
        return IMG_SaveJPG(surface, file, quality);
    });
}

Bytes EncodeRawSurface(std::uint32_t format, std::uint32_t width, std::uint32_t height, std::uint32_t pitch,
                       const Bytes& pixels) {
    Bytes bytes;
    for (const std::uint32_t field : {format, width, height, pitch}) {
        for (int i = 0; i < 4; ++i) {
            bytes.push_back(static_cast<std::uint8_t>(field >> (8 * i)));
        }
    }
    bytes.insert(bytes.end(), pixels.begin(), pixels.end());
    return bytes;
}

Bytes ReadBytes(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

void WriteBytes(const std::string& path, const Bytes& bytes) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!file) {
        throw std::runtime_error("cannot write " + path);
    }
}

}  // namespace testsupport
