#pragma once

#include "core/Core_File.h"

#include <cstdint>
#include <cstdio>
#include <string_view>

namespace Core {

// A byte stream in a file. Paths are engine paths: backslashes and the case
// of names are resolved by the platform layer when the file is opened.
//
// A stream that could not be opened has failed: reads and writes on it do
// nothing. Writes are buffered, so a save checks HasFailed() after Close(),
// which flushes: a full disk is reported there at the latest.
class DiskFile : public File {
public:
    static constexpr std::int32_t kModeRead = 0;   // an existing file, from its start
    static constexpr std::int32_t kModeWrite = 1;  // created or emptied

    // Opens as Open does.
    DiskFile(std::string_view path, std::int32_t mode);
    // Closes as Close does.
    ~DiskFile() override;

    // Closes the stream first, then opens path in mode (any other mode opens
    // nothing); the stream has failed when no file was opened. Returns true
    // when a file is open.
    bool Open(std::string_view path, std::int32_t mode);
    // Flushes and closes the file, recording an error as failure, then
    // restarts ids at 1 and forgets the objects met so far.
    void Close();
    bool IsOpen() const { return m_file != nullptr; }

    void Write(const void* bytes, std::uint32_t count) override;
    // Fails (copying nothing) when fewer than count bytes are left in the file.
    void Read(void* bytes, std::uint32_t count) override;

private:
    std::FILE* m_file = nullptr;
    bool m_writing = false;
    // Size of a file opened for reading and the read position in it.
    std::uint64_t m_size = 0;
    std::uint64_t m_position = 0;
};

}  // namespace Core
