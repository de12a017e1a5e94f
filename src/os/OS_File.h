#pragma once

#include <cstddef>
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>

namespace os {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

// A C stream that is closed when it goes.
using FilePointer = std::unique_ptr<std::FILE, FileCloser>;

// Opens an engine path (backslashes, any letter case: os::ResolvePath) with
// an fopen mode; empty when the file cannot be opened.
FilePointer OpenFile(std::string_view enginePath, const char* mode);

// Whether a folder entry is the temporary file of a ReplacingFile
// (".<target>.<pid>.<n>.tmp"), finished or left behind: listings of what
// was saved leave these out.
bool IsReplacingTemporary(std::string_view entry);

// The longest target name a ReplacingFile can write: its temporary
// (".<target>.<pid>.<n>.tmp", the process id and the count up to ten digits
// each) must still fit the file system's 255 bytes.
inline constexpr std::size_t kLongestReplacedName = 255 - (1 + 1 + 10 + 1 + 10 + 4);

// A file written under a temporary name in its target's folder and moved
// over the target only once complete, so that a save that fails part way
// leaves the previous file byte for byte as it was.
class ReplacingFile {
public:
    ReplacingFile() = default;
    ReplacingFile(const ReplacingFile&) = delete;
    ReplacingFile& operator=(const ReplacingFile&) = delete;
    // An uncommitted file is discarded.
    ~ReplacingFile() { Discard(); }

    // Discards any open file, then creates the temporary file for the engine
    // path. False when it cannot, or when the target exists and is not a
    // regular file. A target reached through a link is replaced where it lies.
    // Temporaries of the same target left by writers that no longer run are
    // removed first.
    bool Open(std::string_view enginePath);
    // The open temporary file, or null.
    std::FILE* Get() const { return m_file.get(); }
    // Flushes the data to the disk, closes the file and renames it over the
    // target. False on any error, the target untouched and the temporary
    // file removed.
    bool Commit();
    // Closes and removes the temporary file; the target stays as it was.
    void Discard();

private:
    FilePointer m_file;
    std::string m_target;
    std::string m_temporary;
};

}  // namespace os
