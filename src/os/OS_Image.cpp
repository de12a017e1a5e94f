#include "os/OS_Image.h"

#include "os/OS_Error.h"
#include "os/OS_File.h"
#include "os/OS_Path.h"
#include "os/OS_SdlSurface.h"

#include <SDL.h>
#include <SDL_image.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <mutex>
#include <string>

namespace os {
namespace {

// An uncompressed BMP of the largest accepted image, with room for its headers.
constexpr std::uint64_t kMaxImageFileBytes = kMaxImagePixels * 4 + (std::uint64_t{1} << 20);

// The decoders are made ready once per process and shut down at its normal
// end. Only the image library is started: decoding needs no video subsystem.
void StartDecoders() {
    static std::once_flag started;
    std::call_once(started, [] {
        IMG_Init(IMG_INIT_PNG | IMG_INIT_JPG);
        std::atexit(IMG_Quit);
    });
}

// The whole file, or false with errno's code (or EFBIG) as the last error.
bool ReadWholeFile(const std::string& path, std::vector<std::uint8_t>& bytes) {
    const FilePointer file(std::fopen(path.c_str(), "rb"));
    if (!file) {
        SetLastErrorFromErrno();
        return false;
    }
    if (std::fseek(file.get(), 0, SEEK_END) != 0) {
        SetLastErrorFromErrno();
        return false;
    }
    const long length = std::ftell(file.get());
    if (length < 0) {
        SetLastErrorFromErrno();
        return false;
    }
    if (static_cast<std::uint64_t>(length) > kMaxImageFileBytes) {
        return FailWithText(EFBIG, "image file too large: " + path);
    }
    std::rewind(file.get());
    bytes.resize(static_cast<std::size_t>(length));
    if (std::fread(bytes.data(), 1, bytes.size(), file.get()) != bytes.size()) {
        return FailWithText(EIO, "cannot read the image file " + path);
    }
    return true;
}

SDL_Surface* DecodeWithLibrary(ImageFileType type, const std::uint8_t* bytes, std::size_t size) {
    SDL_RWops* stream = SDL_RWFromConstMem(bytes, static_cast<int>(size));
    if (stream == nullptr) {
        return nullptr;
    }
    SDL_Surface* surface = nullptr;
    switch (type) {
        case ImageFileType::Png: surface = IMG_LoadPNG_RW(stream); break;
        case ImageFileType::Jpg: surface = IMG_LoadJPG_RW(stream); break;
        case ImageFileType::Bmp: surface = SDL_LoadBMP_RW(stream, 0); break;
    }
    SDL_RWclose(stream);
    return surface;
}

}  // namespace

bool IsAcceptedImageSize(std::uint64_t width, std::uint64_t height) {
    return width >= 1 && height >= 1 && width <= kMaxImageSide && height <= kMaxImageSide &&
           width * height <= kMaxImagePixels;
}

bool HasPixelsForItsSize(const Image& image) {
    return image.pixels.size() == std::uint64_t{image.width} * image.height * 4;
}

bool DecodeImageFile(std::string_view path, Image& image) {
    ImageFileType type{};
    if (!ImageFileTypeOf(path, type)) {
        return FailWithText(EINVAL, "not a .PNG, .BMP or .JPG file name: " + std::string(path));
    }
    const std::string resolved = ResolvePath(path);
    std::vector<std::uint8_t> bytes;
    if (!ReadWholeFile(resolved, bytes)) {
        return false;
    }
    return DecodeImageBytes(type, bytes.data(), bytes.size(), resolved, image);
}

bool DecodeImageBytes(ImageFileType type, const std::uint8_t* bytes, std::size_t size, std::string_view name,
                      Image& image) {
    const std::string label(name);
    if (size > kMaxImageFileBytes) {
        return FailWithText(EFBIG, "image file too large: " + label);
    }
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    if (!ReadImageHeaderSize(type, bytes, size, width, height)) {
        return FailWithText(EINVAL, "no valid image header in " + label);
    }
    if (!IsAcceptedImageSize(width, height)) {
        return FailWithText(EFBIG, "image too large: " + label);
    }
    if (std::uint64_t{width} * height > size * kMaxPixelsPerFileByte) {
        return FailWithText(EFBIG, "image larger than its file could hold: " + label);
    }
    if (type == ImageFileType::Png && !HasWholePngChunks(bytes, size)) {
        return FailWithText(EINVAL, "PNG file cut short: " + label);
    }

    StartDecoders();
    const SurfacePointer decoded(DecodeWithLibrary(type, bytes, size));
    if (!decoded) {
        return FailWithText(EINVAL, "cannot decode " + label + ": " + SDL_GetError());
    }
    // The header read above is the one the decoder used; a disagreement
    // would mean the two parse differently, and then neither is trusted.
    if (decoded->w != static_cast<int>(width) || decoded->h != static_cast<int>(height)) {
        return FailWithText(EINVAL, "image size disagrees with its header: " + label);
    }
    const SurfacePointer rgba(SDL_ConvertSurfaceFormat(decoded.get(), SDL_PIXELFORMAT_RGBA32, 0));
    if (!rgba) {
        return FailWithText(ENOMEM, "cannot convert " + label + ": " + SDL_GetError());
    }

    const std::size_t rowBytes = std::size_t{width} * 4;
    std::vector<std::uint8_t> pixels(rowBytes * height);
    const auto* source = static_cast<const std::uint8_t*>(rgba->pixels);
    for (std::uint32_t row = 0; row < height; ++row) {
        std::memcpy(pixels.data() + row * rowBytes, source + std::size_t{row} * static_cast<std::size_t>(rgba->pitch),
                    rowBytes);
    }
    image.width = width;
    image.height = height;
    image.pixels = std::move(pixels);
    return true;
}

}  // namespace os
