#pragma once

#include "os/OS_File.h"
#include "sound/Sound_ByteSource.h"

#include <memory>
#include <string_view>

// A sound file on disk, read through C stdio with 64-bit positions.
class FileByteSource final : public SoundByteSource {
public:
    // Opens an engine path ("\Resources\Sounds\x.ogg": backslashes, any
    // letter case) for reading; null when it cannot be opened.
    static std::unique_ptr<FileByteSource> Open(std::string_view enginePath);

    std::size_t Read(void* bytes, std::size_t count) override;
    bool Seek(std::int64_t offset, int whence) override;
    std::int64_t Tell() override;
    std::int64_t Size() override;
    void ClearError() override;

private:
    explicit FileByteSource(os::FilePointer file) : m_file(std::move(file)) {}

    os::FilePointer m_file;
};
