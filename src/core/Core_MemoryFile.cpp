#include "core/Core_MemoryFile.h"

#include <cstring>
#include <limits>

namespace Core {

MemoryFile::MemoryFile(const void* data, std::uint32_t count) {
    if (data != nullptr) {
        const auto* bytes = static_cast<const std::uint8_t*>(data);
        m_buffer.assign(bytes, bytes + count);
    }
}

void MemoryFile::Write(const void* bytes, std::uint32_t count) {
    if (HasFailed() || count == 0) {
        return;
    }
    if (bytes == nullptr || count > std::numeric_limits<std::uint32_t>::max() - GetSize()) {
        SetFailed();
        return;
    }
    const auto* first = static_cast<const std::uint8_t*>(bytes);
    m_buffer.insert(m_buffer.end(), first, first + count);
}

void MemoryFile::Read(void* bytes, std::uint32_t count) {
    if (HasFailed() || count == 0) {
        return;
    }
    // Compared with what is left, which cannot wrap as m_cursor + count can.
    if (bytes == nullptr || count > GetSize() - m_cursor) {
        SetFailed();
        return;
    }
    std::memcpy(bytes, m_buffer.data() + m_cursor, count);
    m_cursor += count;
}

void MemoryFile::ClearBuffer() {
    m_buffer.clear();
    m_cursor = 0;
    ClearFailed();
    ResetObjectTables();
}

}  // namespace Core
