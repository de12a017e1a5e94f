#pragma once

#include "os/OS_ImageHeader.h"

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

// Image files decoded to plain pixels, and the rescaling the texture code
// needs. The engine draws only PNG, BMP and JPG images; no display is needed.
namespace os {

// Four bytes per pixel: red, green, blue, alpha (straight, not premultiplied).
// Rows are top-down, width * 4 bytes each, without gaps.
struct Image {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    std::vector<std::uint8_t> pixels;
};

// The largest image accepted on either side, and in all. A 2D game has no
// use for more, and a hostile header must not make us allocate gigabytes.
constexpr std::uint32_t kMaxImageSide = 16384;
constexpr std::uint64_t kMaxImagePixels = std::uint64_t{1} << 26;

// The most pixels an image file may declare per byte of its size. Deflate
// expands a byte to at most 1032, and no pixel is smaller than one bit, so
// no real PNG comes near 8300 pixels per byte; JPEG and run-length BMP
// files of real art hold far fewer. A file claiming more is a bomb (a few
// bytes declaring a huge image) and is refused before it is decoded.
constexpr std::uint64_t kMaxPixelsPerFileByte = 16384;

// True when width x height lies within the limits above (both at least 1).
bool IsAcceptedImageSize(std::uint64_t width, std::uint64_t height);

// True when the image holds exactly width * height * 4 pixel bytes.
bool HasPixelsForItsSize(const Image& image);

// Decodes a ".PNG", ".BMP" or ".JPG" file (the ending compared without
// regard to case; it alone picks the decoder, the content is never sniffed).
// The path is an engine path (backslashes, any letter case: os::ResolvePath).
// On failure image is left unchanged, the thread's last error is set
// (non-zero, with a text) and the answer is false: unknown ending, missing
// file, a header claiming a size beyond the limits or beyond what the file's
// size could hold, a PNG cut short, or undecodable data.
bool DecodeImageFile(std::string_view path, Image& image);

// Decodes the whole content of an image file of that type, with the same
// checks and results as DecodeImageFile; name labels the error text.
bool DecodeImageBytes(ImageFileType type, const std::uint8_t* bytes, std::size_t size, std::string_view name,
                      Image& image);

// Rescales source to width x height into result. The same size gives a
// byte-identical copy. Otherwise each output pixel is filtered from the
// source: bilinear where an axis shrinks by less than half or grows, the
// average over the covered area (a box filter) where it shrinks by half or
// more. Colours are weighted by alpha, so transparent pixels do not darken
// the edges of visible ones; where everything covered is transparent the
// plain average colour is kept. False, with result unchanged, for a source
// whose pixel count disagrees with its size or a target size beyond the limits.
bool ResampleImage(const Image& source, std::uint32_t width, std::uint32_t height, Image& result);

// Halves every side of source that is above 1 into result: each output
// pixel is the mean of the 2 x 2 (or, along a side of 1, 2 x 1) source
// pixels it covers, exactly as ResampleImage gives it, in integers and so
// much faster. False, with result unchanged, when a side above 1 is odd or
// the source's pixel count disagrees with its size.
bool HalveImage(const Image& source, Image& result);

}  // namespace os
