#include "sound/Sound_MemoryByteSource.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <limits>

std::size_t MemoryByteSource::Read(void* bytes, std::size_t count) {
    const std::int64_t size = Size();
    if (m_position >= size || count == 0) {
        return 0;
    }
    const std::size_t available = static_cast<std::size_t>(size - m_position);
    const std::size_t copied = std::min(count, available);
    std::memcpy(bytes, m_bytes.data() + m_position, copied);
    m_position += static_cast<std::int64_t>(copied);
    return copied;
}

bool MemoryByteSource::Seek(std::int64_t offset, int whence) {
    std::int64_t base = 0;
    if (whence == SEEK_CUR) {
        base = m_position;
    } else if (whence == SEEK_END) {
        base = Size();
    } else if (whence != SEEK_SET) {
        return false;
    }
    // Positions stay far from the edges of the type, so the sum cannot overflow.
    if (offset > std::numeric_limits<std::int64_t>::max() / 2 || offset < std::numeric_limits<std::int64_t>::min() / 2 ||
        base + offset < 0) {
        return false;
    }
    m_position = base + offset;
    return true;
}
