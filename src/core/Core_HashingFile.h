#pragma once

#include "core/Core_File.h"

#include <cstdint>

namespace Core {

// A stream that keeps nothing of what is written but its 64-bit FNV-1a hash,
// so that a state can be fingerprinted every frame without a buffer. Reads
// fail the stream: there is nothing to read.
class HashingFile : public File {
public:
    void Write(const void* bytes, std::uint32_t count) override;
    void Read(void* bytes, std::uint32_t count) override;

    std::uint64_t GetHash() const { return m_hash; }

private:
    std::uint64_t m_hash = 0xCBF29CE484222325ull;
};

}  // namespace Core
