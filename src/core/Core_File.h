#pragma once

#include <bit>
#include <cstdint>

namespace Core {

class Object;

// An abstract byte stream through which objects save and load themselves.
// Every stored value is a fixed-width little-endian field, written one field
// at a time through the typed helpers below (never a whole struct, size_t,
// long or wchar_t), so that stored data is the same on every machine.
class File {
public:
    File() = default;
    File(const File&) = delete;
    File& operator=(const File&) = delete;
    virtual ~File() = default;

    virtual void Write(const void* bytes, std::uint32_t count) = 0;
    virtual void Read(void* bytes, std::uint32_t count) = 0;

    // Typed fields. A read that fails leaves the target unchanged.
    void WriteU8(std::uint8_t value) { Write(&value, 1); }
    void WriteU32(std::uint32_t value) {
        const std::uint8_t bytes[4] = {static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(value >> 8),
                                       static_cast<std::uint8_t>(value >> 16),
                                       static_cast<std::uint8_t>(value >> 24)};
        Write(bytes, 4);
    }
    void WriteI32(std::int32_t value) { WriteU32(static_cast<std::uint32_t>(value)); }
    void WriteF32(float value) { WriteU32(std::bit_cast<std::uint32_t>(value)); }

    void ReadU8(std::uint8_t& value) { Read(&value, 1); }
    void ReadU32(std::uint32_t& value) {
        std::uint8_t bytes[4] = {static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(value >> 8),
                                 static_cast<std::uint8_t>(value >> 16), static_cast<std::uint8_t>(value >> 24)};
        Read(bytes, 4);
        value = static_cast<std::uint32_t>(bytes[0]) | static_cast<std::uint32_t>(bytes[1]) << 8 |
                static_cast<std::uint32_t>(bytes[2]) << 16 | static_cast<std::uint32_t>(bytes[3]) << 24;
    }
    void ReadI32(std::int32_t& value) {
        auto bits = static_cast<std::uint32_t>(value);
        ReadU32(bits);
        value = static_cast<std::int32_t>(bits);
    }
    void ReadF32(float& value) {
        auto bits = std::bit_cast<std::uint32_t>(value);
        ReadU32(bits);
        value = std::bit_cast<float>(bits);
    }
};

}  // namespace Core
