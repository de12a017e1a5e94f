#pragma once

#include "core/Core_File.h"

#include <cstdint>
#include <cstring>
#include <vector>

// A byte-vector stream for checking stored forms byte by byte. A read past
// the end copies nothing, so the target keeps its value.
class ByteFile : public Core::File {
public:
    ByteFile() = default;
    explicit ByteFile(std::vector<std::uint8_t> bytes) : bytes_(std::move(bytes)) {}

    void Write(const void* bytes, std::uint32_t count) override {
        const std::size_t end = bytes_.size();
        bytes_.resize(end + count);
        std::memcpy(bytes_.data() + end, bytes, count);
    }

    void Read(void* bytes, std::uint32_t count) override {
        if (count > bytes_.size() - cursor_) {
            cursor_ = bytes_.size();
            return;
        }
        std::memcpy(bytes, bytes_.data() + cursor_, count);
        cursor_ += count;
    }

    const std::vector<std::uint8_t>& Bytes() const { return bytes_; }

private:
    std::vector<std::uint8_t> bytes_;
    std::size_t cursor_ = 0;
};
