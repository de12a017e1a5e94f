#include "core/Core_HashingFile.h"

namespace Core {

void HashingFile::Write(const void* bytes, std::uint32_t count) {
    if (HasFailed() || count == 0) {
        return;
    }
    if (bytes == nullptr) {
        SetFailed();
        return;
    }
    const auto* byte = static_cast<const std::uint8_t*>(bytes);
    for (std::uint32_t i = 0; i < count; ++i) {
        m_hash = (m_hash ^ byte[i]) * 0x100000001B3ull;
    }
}

void HashingFile::Read(void*, std::uint32_t) { SetFailed(); }

}  // namespace Core
