#include "pal/PAL_FileSystem.h"

#include "os/OS_FileSystem.h"

#include <string>
#include <vector>

namespace {

bool HasAttribute(std::string_view path, std::uint32_t attribute) {
    const std::uint32_t attributes = os::GetFileAttributes(path);
    return attributes != os::INVALID_FILE_ATTRIBUTES && (attributes & attribute) != 0;
}

}  // namespace

bool IsDirectory(std::string_view path) { return HasAttribute(path, os::FILE_ATTRIBUTE_DIRECTORY); }

bool IsSystemFile(std::string_view path) { return HasAttribute(path, os::FILE_ATTRIBUTE_SYSTEM); }

void ListDirectory(std::string_view directory, Core::StringVector& names) {
    std::vector<std::string> found;
    os::ListDirectory(directory, found);
    for (const std::string& name : found) {
        names.emplace_back(name);
    }
}
