#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

// The file types the image decoder accepts and the pixel size their headers
// claim. The size is read before decoding so that a hostile header cannot
// make a decoder allocate (and fill) an absurd image.
namespace os {

enum class ImageFileType { Png, Bmp, Jpg };

// The type named by the path's ending, ".PNG", ".BMP" or ".JPG" in any letter
// case; false for any other ending.
bool ImageFileTypeOf(std::string_view path, ImageFileType& type);

// The width and height the header of an encoded file of that type claims,
// found where its decoder finds them: a PNG's leading IHDR chunk, a BMP's
// info header, a JPEG's first start-of-frame segment. False (outputs
// unchanged) when that header is missing, cut short or malformed, or claims
// a zero or negative size.
bool ReadImageHeaderSize(ImageFileType type, const std::uint8_t* bytes, std::size_t size, std::uint32_t& width,
                         std::uint32_t& height);

// True when every chunk after a PNG's 8-byte signature (length, type, data,
// checksum) lies wholly inside the bytes, up to and including IEND. The PNG
// decoder trusts chunk lengths and waits for ever for bytes that a file cut
// short does not have, so only whole files may reach it.
bool HasWholePngChunks(const std::uint8_t* bytes, std::size_t size);

}  // namespace os
