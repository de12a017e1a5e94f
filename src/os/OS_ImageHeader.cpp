#include "os/OS_ImageHeader.h"

#include "os/OS_ByteOrder.h"
#include "os/OS_Path.h"

#include <array>
#include <cstring>

namespace os {
namespace {

bool IsUpperCaseEnding(std::string_view path, std::string_view ending) {
    if (path.size() < ending.size()) {
        return false;
    }
    const std::string_view tail = path.substr(path.size() - ending.size());
    for (std::size_t i = 0; i < ending.size(); ++i) {
        if (UpperAscii(tail[i]) != ending[i]) {
            return false;
        }
    }
    return true;
}

// Signature, then the IHDR chunk, which must come first: its length (13),
// its type, then width and height as big-endian 32-bit values.
bool PngSize(const std::uint8_t* bytes, std::size_t size, std::uint32_t& width, std::uint32_t& height) {
    static constexpr std::array<std::uint8_t, 16> kLead = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A,
                                                           0,    0,   0,   13,  'I',  'H',  'D',  'R'};
    if (size < kLead.size() + 8) {
        return false;
    }
    for (std::size_t i = 0; i < kLead.size(); ++i) {
        if (bytes[i] != kLead[i]) {
            return false;
        }
    }
    width = LoadU32BE(bytes + 16);
    height = LoadU32BE(bytes + 20);
    return true;
}

// "BM", the 14-byte file header, then the info header whose own size picks
// the layout: 12 bytes (16-bit width and height) or at least 40 (signed
// 32-bit width and height, a negative height meaning top-down rows).
bool BmpSize(const std::uint8_t* bytes, std::size_t size, std::uint32_t& width, std::uint32_t& height) {
    if (size < 18 || bytes[0] != 'B' || bytes[1] != 'M') {
        return false;
    }
    const std::uint32_t infoSize = LoadU32LE(bytes + 14);
    if (infoSize == 12 && size >= 22) {
        width = LoadU16LE(bytes + 18);
        height = LoadU16LE(bytes + 20);
        return true;
    }
    if (infoSize < 40 || size < 26) {
        return false;
    }
    const auto signedWidth = static_cast<std::int32_t>(LoadU32LE(bytes + 18));
    const auto signedHeight = static_cast<std::int64_t>(static_cast<std::int32_t>(LoadU32LE(bytes + 22)));
    if (signedWidth <= 0) {
        return false;
    }
    width = static_cast<std::uint32_t>(signedWidth);
    height = static_cast<std::uint32_t>(signedHeight < 0 ? -signedHeight : signedHeight);
    return true;
}

// Start-of-frame markers carry the frame size; 0xC4 (Huffman tables), 0xC8
// (reserved) and 0xCC (arithmetic conditioning) share the range but do not.
bool IsStartOfFrame(std::uint8_t marker) {
    return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

// Walks the segments after the start-of-image marker the way the JPEG
// library does (bytes before a 0xFF are skipped, fill 0xFF bytes too) until
// the first start-of-frame segment: length, precision, height, width.
// Scan data, an end of image or a second start of image before it means
// there is no frame size to find.
bool JpgSize(const std::uint8_t* bytes, std::size_t size, std::uint32_t& width, std::uint32_t& height) {
    if (size < 2 || bytes[0] != 0xFF || bytes[1] != 0xD8) {
        return false;
    }
    std::size_t position = 2;
    for (;;) {
        while (position < size && bytes[position] != 0xFF) {
            ++position;
        }
        while (position < size && bytes[position] == 0xFF) {
            ++position;
        }
        if (position >= size) {
            return false;
        }
        const std::uint8_t marker = bytes[position++];
        const bool standalone = marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7);
        if (standalone) {
            continue;
        }
        const bool endsHeader = marker == 0x00 || marker == 0xD8 || marker == 0xD9 || marker == 0xDA;
        if (endsHeader || size - position < 2) {
            return false;
        }
        const std::uint32_t length = LoadU16BE(bytes + position);
        if (length < 2) {
            return false;
        }
        if (IsStartOfFrame(marker)) {
            if (length < 7 || size - position < 7) {
                return false;
            }
            height = LoadU16BE(bytes + position + 3);
            width = LoadU16BE(bytes + position + 5);
            return true;
        }
        // Every segment is at least 2 bytes long, so the walk always moves on.
        position += length;
    }
}

}  // namespace

bool ImageFileTypeOf(std::string_view path, ImageFileType& type) {
    if (IsUpperCaseEnding(path, ".PNG")) {
        type = ImageFileType::Png;
    } else if (IsUpperCaseEnding(path, ".BMP")) {
        type = ImageFileType::Bmp;
    } else if (IsUpperCaseEnding(path, ".JPG")) {
        type = ImageFileType::Jpg;
    } else {
        return false;
    }
    return true;
}

bool ReadImageHeaderSize(ImageFileType type, const std::uint8_t* bytes, std::size_t size, std::uint32_t& width,
                         std::uint32_t& height) {
    std::uint32_t w = 0;
    std::uint32_t h = 0;
    bool found = false;
    switch (type) {
        case ImageFileType::Png: found = PngSize(bytes, size, w, h); break;
        case ImageFileType::Bmp: found = BmpSize(bytes, size, w, h); break;
        case ImageFileType::Jpg: found = JpgSize(bytes, size, w, h); break;
    }
    if (!found || w == 0 || h == 0) {
        return false;
    }
    width = w;
    height = h;
    return true;
}

bool HasWholePngChunks(const std::uint8_t* bytes, std::size_t size) {
    constexpr std::size_t kSignatureBytes = 8;
    constexpr std::size_t kChunkFrameBytes = 12;  // length, type, checksum
    std::size_t position = kSignatureBytes;
    while (position <= size && size - position >= kChunkFrameBytes) {
        const std::uint32_t length = LoadU32BE(bytes + position);
        if (length > size - position - kChunkFrameBytes) {
            return false;
        }
        if (std::memcmp(bytes + position + 4, "IEND", 4) == 0) {
            return true;
        }
        position += kChunkFrameBytes + length;
    }
    return false;
}

}  // namespace os
