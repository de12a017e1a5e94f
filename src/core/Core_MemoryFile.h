#pragma once

#include "core/Core_File.h"
#include "core/Core_PoolAllocator.h"

#include <cstdint>
#include <vector>

namespace Core {

// A byte stream in memory: writes append to the buffer, reads take bytes
// from a cursor on. Sizes and the cursor are 32-bit, like the stored form.
class MemoryFile : public File {
public:
    MemoryFile() = default;
    // A copy of count bytes, cursor 0. Null data with a count gives an empty file.
    MemoryFile(const void* data, std::uint32_t count);

    // Fails (writing nothing) when the buffer would outgrow 32-bit sizes.
    void Write(const void* bytes, std::uint32_t count) override;
    // Fails (copying nothing) when fewer than count bytes are left.
    void Read(void* bytes, std::uint32_t count) override;

    std::uint32_t GetSize() const { return static_cast<std::uint32_t>(m_buffer.size()); }
    const std::uint8_t* GetData() const { return m_buffer.data(); }
    // An empty buffer, cursor 0, no failure and fresh object tables: the
    // stream starts over, as a new one, for the next snapshot or packet.
    void ClearBuffer();

private:
    std::vector<std::uint8_t, PoolAllocator<std::uint8_t>> m_buffer;
    std::uint32_t m_cursor = 0;
};

}  // namespace Core
