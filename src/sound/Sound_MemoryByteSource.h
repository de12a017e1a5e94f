#pragma once

#include "sound/Sound_ByteSource.h"

#include <vector>

// A sound file held in memory (a copy of the bytes), so that parsing can be
// exercised without the file system.
class MemoryByteSource final : public SoundByteSource {
public:
    explicit MemoryByteSource(std::vector<std::uint8_t> bytes) : m_bytes(std::move(bytes)) {}

    std::size_t Read(void* bytes, std::size_t count) override;
    bool Seek(std::int64_t offset, int whence) override;
    std::int64_t Tell() override { return m_position; }
    std::int64_t Size() override { return static_cast<std::int64_t>(m_bytes.size()); }

private:
    std::vector<std::uint8_t> m_bytes;
    std::int64_t m_position = 0;
};
