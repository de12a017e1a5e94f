#include "os/OS_File.h"

#include "os/OS_FileTestHooks.h"
#include "os/OS_Path.h"

#include <atomic>
#include <cerrno>
#include <charconv>
#include <climits>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <sys/types.h>
#include <unistd.h>

namespace os {
namespace {

// Names are unique per process and call; O_EXCL settles races with others.
std::atomic<unsigned> s_temporaryCount{0};
constexpr int kNameAttempts = 16;
std::atomic<int> s_commitsToFail{0};

std::string FolderOf(const std::string& path) {
    const std::string folder = std::filesystem::path(path).parent_path().string();
    return folder.empty() ? "." : folder;
}

// The writer's process id in a temporary name ".<name>.<pid>.<n>.tmp" for
// the target name, or 0 when the entry is not such a temporary.
pid_t TemporaryWriter(std::string_view entry, std::string_view name) {
    constexpr std::string_view kSuffix = ".tmp";
    const std::size_t prefixSize = name.size() + 2;
    if (entry.size() <= prefixSize + kSuffix.size() || entry[0] != '.' || entry.substr(1, name.size()) != name ||
        entry[prefixSize - 1] != '.' || !entry.ends_with(kSuffix)) {
        return 0;
    }
    const std::string_view middle = entry.substr(prefixSize, entry.size() - prefixSize - kSuffix.size());
    pid_t writer = 0;
    const auto [afterPid, pidError] = std::from_chars(middle.data(), middle.data() + middle.size(), writer);
    if (pidError != std::errc() || writer <= 0 || afterPid == middle.data() + middle.size() || *afterPid != '.') {
        return 0;
    }
    unsigned count = 0;
    const auto [end, countError] = std::from_chars(afterPid + 1, middle.data() + middle.size(), count);
    return countError == std::errc() && end == middle.data() + middle.size() ? writer : 0;
}

// A writer killed part way (power loss, a killed process) leaves its
// temporary behind for good; the next save of the same target removes those
// whose writer no longer runs. A living writer's file is never touched.
void RemoveDeadWritersTemporaries(const std::string& folder, std::string_view name) {
    std::error_code error;
    for (std::filesystem::directory_iterator entry(folder, error), end; !error && entry != end;
         entry.increment(error)) {
        const pid_t writer = TemporaryWriter(entry->path().filename().string(), name);
        if (writer != 0 && writer != ::getpid() && ::kill(writer, 0) != 0 && errno == ESRCH) {
            ::unlink(entry->path().c_str());
        }
    }
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

void testhooks::FailReplacingFileCommits(int count) { s_commitsToFail.store(count); }

bool IsReplacingTemporary(std::string_view entry) {
    constexpr std::string_view kSuffix = ".tmp";
    if (!entry.ends_with(kSuffix)) {
        return false;
    }
    const std::string_view stem = entry.substr(0, entry.size() - kSuffix.size());
    const std::size_t countDot = stem.rfind('.');
    const std::size_t pidDot = countDot == std::string_view::npos || countDot == 0
                                   ? std::string_view::npos
                                   : stem.rfind('.', countDot - 1);
    return pidDot != std::string_view::npos && pidDot >= 2 && TemporaryWriter(entry, entry.substr(1, pidDot - 1)) != 0;
}

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
    RemoveDeadWritersTemporaries(folder, name);
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
    if (s_commitsToFail.load() > 0) {
        --s_commitsToFail;
        written = false;
    }
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
