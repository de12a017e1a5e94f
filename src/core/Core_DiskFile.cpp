#include "core/Core_DiskFile.h"

#include "os/OS_Path.h"

#include <sys/stat.h>

namespace Core {

DiskFile::DiskFile(std::string_view path, std::int32_t mode) { Open(path, mode); }

DiskFile::~DiskFile() { Close(); }

bool DiskFile::Open(std::string_view path, std::int32_t mode) {
    Close();
    ClearFailed();
    m_size = 0;
    m_position = 0;
    if (mode == kModeRead || mode == kModeWrite) {
        m_writing = mode == kModeWrite;
        m_file = std::fopen(os::ResolvePath(path).c_str(), m_writing ? "wb" : "rb");
    }
    // Reading needs a regular file: its size bounds every read.
    if (m_file != nullptr && !m_writing) {
        struct stat info{};
        if (::fstat(::fileno(m_file), &info) == 0 && S_ISREG(info.st_mode)) {
            m_size = static_cast<std::uint64_t>(info.st_size);
        } else {
            std::fclose(m_file);
            m_file = nullptr;
        }
    }
    if (m_file == nullptr) {
        SetFailed();
    }
    return m_file != nullptr;
}

void DiskFile::Close() {
    if (m_file != nullptr) {
        const bool flushed = !m_writing || std::fflush(m_file) == 0;
        const bool clean = std::ferror(m_file) == 0;
        if (std::fclose(m_file) != 0 || !flushed || !clean) {
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
