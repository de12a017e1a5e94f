#pragma once

#include "core/Core_File.h"
#include "os/OS_File.h"

#include <cstdint>
#include <cstdio>
#include <string_view>

namespace Core {

// A byte stream in a file. Paths are engine paths: backslashes and the case
// of names are resolved by the platform layer when the file is opened.
//
// A stream that could not be opened has failed: reads and writes on it do
// nothing. A file written replaces the previous one only when Close (or the
// destructor) finds every byte written and on the disk; until then, and for
// good when writing failed, the previous file stays as it was. A save
// therefore checks HasFailed() after Close().
class DiskFile : public File {
public:
    static constexpr std::int32_t kModeRead = 0;   // an existing file, from its start
    static constexpr std::int32_t kModeWrite = 1;  // created or replaced at Close

    // Opens as Open does.
    DiskFile(std::string_view path, std::int32_t mode);
    // Closes as Close does.
    ~DiskFile() override;

    // Closes the stream first, then opens path in mode (any other mode opens
    // nothing); the stream has failed when no file was opened. Returns true
    // when a file is open.
    bool Open(std::string_view path, std::int32_t mode);
    // Closes the file, recording an error as failure; a file being written
    // then replaces its target, unless the stream has failed. Then restarts
    // ids at 1 and lets go of the objects the stream held.
    void Close();

    void Write(const void* bytes, std::uint32_t count) override;
    // Fails (copying nothing) when fewer than count bytes are left in the file.
    void Read(void* bytes, std::uint32_t count) override;

private:
    // The open file, for reading or for writing, or null.
    std::FILE* m_file = nullptr;
    os::FilePointer m_reading;
    os::ReplacingFile m_replacing;
    bool m_writing = false;
    // Size of a file opened for reading and the read position in it.
    std::uint64_t m_size = 0;
    std::uint64_t m_position = 0;
};

}  // namespace Core
