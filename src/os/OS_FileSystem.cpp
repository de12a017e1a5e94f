#include "os/OS_FileSystem.h"

#include "os/OS_DataFolder.h"
#include "os/OS_Error.h"
#include "os/OS_File.h"
#include "os/OS_FileTestHooks.h"
#include "os/OS_Path.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace os {
namespace {

bool NameBefore(const std::string& a, const std::string& b) {
    const std::size_t common = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < common; ++i) {
        const auto ua = static_cast<unsigned char>(UpperAscii(a[i]));
        const auto ub = static_cast<unsigned char>(UpperAscii(b[i]));
        if (ua != ub) {
            return ua < ub;
        }
    }
    if (a.size() != b.size()) {
        return a.size() < b.size();
    }
    // Names that differ only in case still get a fixed order.
    return a < b;
}

bool IsDotEntry(const std::string& name) { return name == "." || name == ".."; }

std::atomic<int> s_linksToRefuse{0};

bool LinkRefusedForTesting() {
    if (s_linksToRefuse.load() <= 0) {
        return false;
    }
    --s_linksToRefuse;
    return true;
}

// Written as a replacing file, so that a copy cut short leaves no name.
bool CopyFileBytes(const std::string& from, const std::string& to) {
    const FilePointer source = OpenFile(from, "rb");
    ReplacingFile copy;
    if (source == nullptr || !copy.Open(to)) {
        return false;
    }
    char buffer[4096];
    std::size_t count = 0;
    do {
        count = std::fread(buffer, 1, sizeof buffer, source.get());
        if (std::fwrite(buffer, 1, count, copy.Get()) != count) {
            return false;
        }
    } while (count == sizeof buffer);
    return std::ferror(source.get()) == 0 && copy.Commit();
}

}  // namespace

void testhooks::RefuseFileLinks(int count) { s_linksToRefuse.store(count); }

std::uint32_t GetFileAttributes(std::string_view path) {
    struct stat info{};
    if (::stat(ResolvePath(path).c_str(), &info) != 0) {
        SetLastErrorFromErrno();
        return INVALID_FILE_ATTRIBUTES;
    }
    if (S_ISDIR(info.st_mode)) {
        return FILE_ATTRIBUTE_DIRECTORY;
    }
    if (S_ISREG(info.st_mode)) {
        return FILE_ATTRIBUTE_NORMAL;
    }
    return FILE_ATTRIBUTE_SYSTEM;
}

bool ListDirectory(std::string_view directory, std::vector<std::string>& names) {
    const std::string native = ResolvePath(directory);
    DIR* handle = ::opendir(native.empty() ? "." : native.c_str());
    if (handle == nullptr) {
        SetLastErrorFromErrno();
        return false;
    }
    std::vector<std::string> found;
    bool complete = true;
    for (;;) {
        // readdir answers null both at the end and on an error: errno tells them apart.
        errno = 0;
        const dirent* entry = ::readdir(handle);
        if (entry == nullptr) {
            if (errno != 0) {
                SetLastErrorFromErrno();
                complete = false;
            }
            break;
        }
        found.emplace_back(entry->d_name);
    }
    ::closedir(handle);

    // Some file systems do not report the two dot entries; callers expect them.
    found.erase(std::remove_if(found.begin(), found.end(), IsDotEntry), found.end());
    std::sort(found.begin(), found.end(), NameBefore);
    found.insert(found.begin(), {".", ".."});
    names = std::move(found);
    return complete;
}

CreateDirectoryResult CreateDirectory(std::string_view path) {
    const std::string native = ResolvePath(path);
    // The data folder stands in for a folder that always exists elsewhere,
    // so the folders above it are made as needed.
    const bool inDataFolder = MapToUserDataFolder(path).has_value();
    if (inDataFolder && !CreateParentFolders(native)) {
        return CreateDirectoryResult::Failed;
    }
    if (::mkdir(native.c_str(), inDataFolder ? kUserDataFolderMode : 0777) == 0) {
        return CreateDirectoryResult::Created;
    }
    return SetLastErrorFromErrno() == EEXIST ? CreateDirectoryResult::AlreadyExists : CreateDirectoryResult::Failed;
}

bool MoveFile(std::string_view from, std::string_view to) {
    if (std::rename(ResolvePath(from).c_str(), ResolvePath(to).c_str()) != 0) {
        SetLastErrorFromErrno();
        return false;
    }
    return true;
}

bool LinkOrCopyFile(std::string_view from, std::string_view to) {
    const std::string source = ResolvePath(from);
    const std::string target = ResolvePath(to);
    struct stat info{};
    if (::stat(source.c_str(), &info) != 0) {
        SetLastErrorFromErrno();
        return false;
    }
    if (!S_ISREG(info.st_mode)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return false;
    }
    if (!LinkRefusedForTesting() &&
        ::linkat(AT_FDCWD, source.c_str(), AT_FDCWD, target.c_str(), AT_SYMLINK_FOLLOW) == 0) {
        return true;
    }
    struct stat taken{};
    if (::lstat(target.c_str(), &taken) == 0) {
        SetLastError(EEXIST);
        return false;
    }
    if (!CopyFileBytes(source, target)) {
        SetLastErrorFromErrno();
        return false;
    }
    return true;
}

}  // namespace os
