#include "sound/Sound_FileByteSource.h"

#include <cstdio>
#include <sys/types.h>

std::unique_ptr<FileByteSource> FileByteSource::Open(std::string_view enginePath) {
    os::FilePointer file = os::OpenFile(enginePath, "rb");
    if (!file) {
        return nullptr;
    }
    return std::unique_ptr<FileByteSource>(new FileByteSource(std::move(file)));
}

std::size_t FileByteSource::Read(void* bytes, std::size_t count) {
    return count == 0 ? 0 : std::fread(bytes, 1, count, m_file.get());
}

bool FileByteSource::Seek(std::int64_t offset, int whence) {
    return ::fseeko(m_file.get(), static_cast<off_t>(offset), whence) == 0;
}

std::int64_t FileByteSource::Tell() { return ::ftello(m_file.get()); }

std::int64_t FileByteSource::Size() {
    const off_t position = ::ftello(m_file.get());
    if (position < 0 || ::fseeko(m_file.get(), 0, SEEK_END) != 0) {
        return -1;
    }
    const off_t size = ::ftello(m_file.get());
    ::fseeko(m_file.get(), position, SEEK_SET);
    return size;
}

void FileByteSource::ClearError() { std::clearerr(m_file.get()); }
