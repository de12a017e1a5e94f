#pragma once

#include "Fuzz_Harness.h"

#include "os/OS_ImageHeader.h"

#include <SDL.h>
#include <SDL_image.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include <unistd.h>

// Valid image files for the image harnesses' seed corpora. The engine only
// decodes images, so SDL's own encoders write them, as the tests' image
// files are written; a run-length BMP, which SDL cannot write, is built by hand.
namespace fuzz {

// Pixel (x, y): colours that vary along both axes, alpha 0 in a corner
// block so that transparency and its edges are exercised.
inline std::uint8_t SeedChannel(int x, int y, int channel) {
    switch (channel) {
        case 0: return static_cast<std::uint8_t>(x * 20);
        case 1: return static_cast<std::uint8_t>(y * 25);
        case 2: return static_cast<std::uint8_t>((x ^ y) * 9);
        default: return x < 4 && y < 3 ? 0 : static_cast<std::uint8_t>(255 - x);
    }
}

inline SDL_Surface* SeedSurface(int width, int height, Uint32 format) {
    SDL_Surface* rgba = SDL_CreateRGBSurfaceWithFormat(0, width, height, 32, SDL_PIXELFORMAT_RGBA32);
    for (int y = 0; y < height; ++y) {
        auto* row = static_cast<std::uint8_t*>(rgba->pixels) + y * rgba->pitch;
        for (int x = 0; x < width * 4; ++x) {
            row[x] = SeedChannel(x / 4, y, x % 4);
        }
    }
    if (format == SDL_PIXELFORMAT_RGBA32) {
        return rgba;
    }
    SDL_Surface* converted = SDL_ConvertSurfaceFormat(rgba, format, 0);
    SDL_FreeSurface(rgba);
    return converted;
}

// The file SDL writes for the surface ("png", "jpg" or "bmp"), read back
// from a temporary file; the surface is freed.
inline Bytes EncodeWithSdl(SDL_Surface* surface, const std::string& kind) {
    const std::string path =
        (std::filesystem::temp_directory_path() / ("tundra-seed-" + std::to_string(getpid()) + "." + kind)).string();
    const int failed = kind == "png"   ? IMG_SavePNG(surface, path.c_str())
                       : kind == "jpg" ? IMG_SaveJPG(surface, path.c_str(), 90)
                                       : SDL_SaveBMP(surface, path.c_str());
    SDL_FreeSurface(surface);
    std::ifstream file(path, std::ios::binary);
    Bytes bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    std::filesystem::remove(path);
    if (failed != 0 || bytes.empty()) {
        std::fprintf(stderr, "cannot write a %s seed: %s\n", kind.c_str(), SDL_GetError());
        std::exit(1);
    }
    return bytes;
}

inline void PutLE(Bytes& bytes, std::uint32_t value, int count) {
    for (int i = 0; i < count; ++i) {
        bytes.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
    }
}

// An 8-bit run-length BMP, width x 2, four palette colours: a run, literal
// pixels, an end of line, a delta and the end of the bitmap.
inline Bytes RunLengthBmp(std::uint32_t width) {
    const Bytes palette = {0, 0, 255, 0, 0, 255, 0, 0, 255, 0, 0, 0, 40, 80, 120, 0};
    const Bytes runs = {4, 1, 0, 3, 2, 3, 0, 0, 0, 0, 0, 2, 1, 0, 3, 2, 0, 1};
    Bytes bmp = {'B', 'M'};
    PutLE(bmp, static_cast<std::uint32_t>(54 + palette.size() + runs.size()), 4);
    PutLE(bmp, 0, 4);
    PutLE(bmp, static_cast<std::uint32_t>(54 + palette.size()), 4);
    for (const std::uint32_t field : {40u, width, 2u}) {
        PutLE(bmp, field, 4);
    }
    PutLE(bmp, 1, 2);  // planes
    PutLE(bmp, 8, 2);  // bits per pixel
    for (const std::uint32_t field : {1u, static_cast<std::uint32_t>(runs.size()), 2835u, 2835u, 4u, 0u}) {
        PutLE(bmp, field, 4);  // RLE8, data size, resolution, colours used, important
    }
    bmp.insert(bmp.end(), palette.begin(), palette.end());
    bmp.insert(bmp.end(), runs.begin(), runs.end());
    return bmp;
}

// Recomputes the CRC of every complete PNG chunk, so that mutated chunk
// data reaches the chunk parsers and the inflater instead of failing its
// checksum, which a fuzzer could hardly ever get right.
inline void FixPngChecksums(Bytes& png) {
    for (std::size_t at = 8; at <= png.size() && png.size() - at >= 12;) {
        const std::uint32_t length = static_cast<std::uint32_t>(png[at]) << 24 | png[at + 1] << 16 | png[at + 2] << 8 |
                                     png[at + 3];
        if (length > png.size() - at - 12) {
            return;
        }
        std::uint32_t crc = 0xFFFFFFFFu;
        for (std::size_t i = at + 4; i < at + 8 + length; ++i) {
            crc ^= png[i];
            for (int bit = 0; bit < 8; ++bit) {
                crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
            }
        }
        crc = ~crc;
        for (int i = 0; i < 4; ++i) {
            png[at + 8 + length + i] = static_cast<std::uint8_t>(crc >> (24 - 8 * i));
        }
        at += std::size_t{length} + 12;
    }
}

// The seeds both image harnesses start from: one byte naming the type
// (os::ImageFileType), then a valid file of that type.
inline void AddImageSeeds(Seeds& seeds) {
    const auto add = [&](const char* name, os::ImageFileType type, const Bytes& file) {
        Bytes bytes = {static_cast<std::uint8_t>(type)};
        bytes.insert(bytes.end(), file.begin(), file.end());
        seeds.Add(name, bytes);
    };
    using os::ImageFileType;
    add("rgba.png", ImageFileType::Png, EncodeWithSdl(SeedSurface(12, 10, SDL_PIXELFORMAT_RGBA32), "png"));
    add("rgb.png", ImageFileType::Png, EncodeWithSdl(SeedSurface(5, 3, SDL_PIXELFORMAT_RGB24), "png"));
    add("palette.png", ImageFileType::Png, EncodeWithSdl(SeedSurface(8, 6, SDL_PIXELFORMAT_INDEX8), "png"));
    add("rgb.bmp", ImageFileType::Bmp, EncodeWithSdl(SeedSurface(7, 5, SDL_PIXELFORMAT_RGB24), "bmp"));
    add("rgba.bmp", ImageFileType::Bmp, EncodeWithSdl(SeedSurface(6, 4, SDL_PIXELFORMAT_RGBA32), "bmp"));
    add("rle.bmp", ImageFileType::Bmp, RunLengthBmp(8));
    add("photo.jpg", ImageFileType::Jpg, EncodeWithSdl(SeedSurface(16, 16, SDL_PIXELFORMAT_RGB24), "jpg"));
}

}  // namespace fuzz
