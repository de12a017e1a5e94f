#include "os/OS_File.h"

#include "os/OS_Path.h"

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace os {
namespace {

// Names are unique per process and call; O_EXCL settles races with others.
std::atomic<unsigned> s_temporaryCount{0};
constexpr int kNameAttempts = 16;

std::string FolderOf(const std::string& path) {
    const std::string folder = std::filesystem::path(path).parent_path().string();
    return folder.empty() ? "." : folder;
}

// A renamed file is only durable once its folder's entry is on the disk too.
void SyncFolder(const std::string& folder) {
    const int descriptor = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (descriptor >= 0) {
        ::fsync(descriptor);
        ::close(descriptor);
    }
}

}  // namespace

FilePointer OpenFile(std::string_view enginePath, const char* mode) {
    return FilePointer(std::fopen(ResolvePath(enginePath).c_str(), mode));
}

bool ReplacingFile::Open(std::string_view enginePath) {
    Discard();
    std::string target = ResolvePath(enginePath);
    struct stat existing {};
    const bool exists = ::stat(target.c_str(), &existing) == 0;
    if (exists) {
        if (!S_ISREG(existing.st_mode)) {
            return false;
        }
        char real[PATH_MAX];
        if (::realpath(target.c_str(), real) != nullptr) {
            target = real;
        }
    }
    const std::string folder = FolderOf(target);
    const std::string name = std::filesystem::path(target).filename().string();
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        std::string temporary = folder + "/." + name + "." + std::to_string(::getpid()) + "." +
                                std::to_string(s_temporaryCount++) + ".tmp";
        const int descriptor = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (descriptor < 0) {
            if (errno == EEXIST) {
                continue;
            }
            return false;
        }
        // The replacement keeps the permissions of the file it replaces.
        if (exists) {
            ::fchmod(descriptor, existing.st_mode & 07777);
        }
        m_file.reset(::fdopen(descriptor, "wb"));
        if (m_file == nullptr) {
            ::close(descriptor);
            ::unlink(temporary.c_str());
            return false;
        }
        m_target = std::move(target);
        m_temporary = std::move(temporary);
        return true;
    }
    return false;
}

bool ReplacingFile::Commit() {
    if (m_file == nullptr) {
        return false;
    }
    std::FILE* file = m_file.release();
    bool written = std::fflush(file) == 0 && std::ferror(file) == 0 && ::fsync(::fileno(file)) == 0;
    written = std::fclose(file) == 0 && written;
    if (!written || std::rename(m_temporary.c_str(), m_target.c_str()) != 0) {
        ::unlink(m_temporary.c_str());
        m_temporary.clear();
        return false;
    }
    SyncFolder(FolderOf(m_target));
    m_temporary.clear();
    return true;
}

void ReplacingFile::Discard() {
    if (m_file != nullptr) {
        m_file.reset();
        ::unlink(m_temporary.c_str());
    }
    m_temporary.clear();
}

}  // namespace os
