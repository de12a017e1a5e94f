#include "core/Core_DiskFile.h"

#include <sys/stat.h>

namespace Core {

DiskFile::DiskFile(std::string_view path, std::int32_t mode) { Open(path, mode); }

DiskFile::~DiskFile() { Close(); }

bool DiskFile::Open(std::string_view path, std::int32_t mode) {
    Close();
    ClearFailed();
    m_size = 0;
    m_position = 0;
    m_writing = mode == kModeWrite;
    if (m_writing) {
        m_file = m_replacing.Open(path) ? m_replacing.Get() : nullptr;
    } else if (mode == kModeRead) {
        m_reading = os::OpenFile(path, "rb");
        // Reading needs a regular file: its size bounds every read.
        struct stat info{};
        if (m_reading != nullptr && ::fstat(::fileno(m_reading.get()), &info) == 0 && S_ISREG(info.st_mode)) {
            m_size = static_cast<std::uint64_t>(info.st_size);
            m_file = m_reading.get();
        } else {
            m_reading.reset();
        }
    }
    if (m_file == nullptr) {
        SetFailed();
    }
    return m_file != nullptr;
}

void DiskFile::Close() {
    if (m_file != nullptr) {
        if (!m_writing) {
            const bool clean = std::ferror(m_file) == 0;
            if (std::fclose(m_reading.release()) != 0 || !clean) {
                SetFailed();
            }
        } else if (HasFailed()) {
            m_replacing.Discard();
        } else if (!m_replacing.Commit()) {
            SetFailed();
        }
        m_file = nullptr;
    }
    ResetObjectTables();
}

void DiskFile::Write(const void* bytes, std::uint32_t count) {
    if (HasFailed() || count == 0) {
        return;
    }
    if (m_file == nullptr || !m_writing || bytes == nullptr || std::fwrite(bytes, 1, count, m_file) != count) {
        SetFailed();
    }
}

void DiskFile::Read(void* bytes, std::uint32_t count) {
    if (HasFailed() || count == 0) {
        return;
    }
    if (m_file == nullptr || m_writing || bytes == nullptr || count > m_size - m_position) {
        SetFailed();
        return;
    }
    // Only an I/O error gets here short of count, after checking the size.
    if (std::fread(bytes, 1, count, m_file) != count) {
        SetFailed();
        return;
    }
    m_position += count;
}

}  // namespace Core
