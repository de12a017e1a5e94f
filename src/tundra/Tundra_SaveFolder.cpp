#include "tundra/Tundra_SaveFolder.h"

#include "os/OS_File.h"
#include "os/OS_FileSystem.h"
#include "os/OS_Path.h"
#include "tundra/Tundra_Game.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <sys/stat.h>

namespace Tundra::SaveFolder {

Core::String Path() { return Game::GetDirectory() + "\\Saves"; }

Core::String FilePath(std::string_view name) { return Path() + "\\" + Core::String(name); }

bool IsPlainName(std::string_view name) { return os::IsPlainFileName(name) && name[0] != '.'; }

bool IsSaveName(std::string_view name) { return name.size() <= os::kLongestReplacedName && IsPlainName(name); }

bool Ensure() {
    os::CreateDirectory(Path());
    return os::GetFileAttributes(Path()) == os::FILE_ATTRIBUTE_DIRECTORY;
}

std::vector<Core::String> ListFiles() {
    std::vector<std::string> entries;
    std::vector<Core::String> files;
    if (!os::ListDirectory(Path(), entries)) {
        return files;
    }
    for (const std::string& entry : entries) {
        if (entry != "." && entry != ".." && !os::IsReplacingTemporary(entry) &&
            os::GetFileAttributes(FilePath(entry)) == os::FILE_ATTRIBUTE_NORMAL) {
            files.emplace_back(entry);
        }
    }
    return files;
}

bool EndsWithNoCase(std::string_view name, std::string_view suffix) {
    return name.size() >= suffix.size() && os::EqualsIgnoringCase(name.substr(name.size() - suffix.size()), suffix);
}

std::vector<std::uint8_t> ReadFile(std::string_view path, std::uint64_t maxBytes, std::string& reason) {
    std::vector<std::uint8_t> bytes;
    const os::FilePointer file = os::OpenFile(path, "rb");
    struct stat info {};
    if (file == nullptr || ::fstat(::fileno(file.get()), &info) != 0 || !S_ISREG(info.st_mode)) {
        reason = "missing";
        return bytes;
    }
    if (static_cast<std::uint64_t>(info.st_size) > maxBytes) {
        reason = "too large";
        return bytes;
    }
    bytes.resize(static_cast<std::size_t>(info.st_size));
    if (std::fread(bytes.data(), 1, bytes.size(), file.get()) != bytes.size() || std::fgetc(file.get()) != EOF) {
        reason = "unreadable";
        bytes.clear();
    }
    return bytes;
}

}  // namespace Tundra::SaveFolder
