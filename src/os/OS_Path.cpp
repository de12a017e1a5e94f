#include "os/OS_Path.h"

#include "os/OS_DataFolder.h"

#include <dirent.h>
#include <algorithm>
#include <mutex>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace os {
namespace {

std::mutex g_overrideMutex;
std::string g_executableOverride;

bool Exists(const std::string& path) {
    struct stat info{};
    return ::stat(path.c_str(), &info) == 0;
}

// The entry of directory whose name equals name ignoring ASCII case, or empty.
std::string FindCaseInsensitive(const std::string& directory, const std::string& name) {
    DIR* handle = ::opendir(directory.empty() ? "." : directory.c_str());
    if (handle == nullptr) {
        return {};
    }
    std::string match;
    while (dirent* entry = ::readdir(handle)) {
        if (::strcasecmp(entry->d_name, name.c_str()) == 0) {
            match = entry->d_name;
            break;
        }
    }
    ::closedir(handle);
    return match;
}

std::string ReadExecutableLink() {
    std::vector<char> buffer(256);
    for (;;) {
        const ssize_t length = ::readlink("/proc/self/exe", buffer.data(), buffer.size());
        if (length < 0) {
            return {};
        }
        if (static_cast<std::size_t>(length) < buffer.size()) {
            return std::string(buffer.data(), static_cast<std::size_t>(length));
        }
        buffer.resize(buffer.size() * 2);
    }
}

std::size_t LastSeparator(std::string_view path) { return path.find_last_of("/\\"); }

}  // namespace

std::string ToNativePath(std::string_view enginePath) {
    std::string native(enginePath);
    for (char& c : native) {
        if (c == '\\') {
            c = '/';
        }
    }
    return native;
}

std::string ResolvePath(std::string_view enginePath) {
    const std::string native = MapToUserDataFolder(enginePath).value_or(ToNativePath(enginePath));
    if (native.empty() || Exists(native)) {
        return native;
    }
    const bool absolute = native.front() == '/';
    std::string resolved = absolute ? "/" : "";
    std::size_t start = absolute ? 1 : 0;
    bool matching = true;
    while (start <= native.size()) {
        std::size_t end = native.find('/', start);
        if (end == std::string::npos) {
            end = native.size();
        }
        const std::string component = native.substr(start, end - start);
        if (!component.empty()) {
            const bool needsSeparator = !resolved.empty() && resolved.back() != '/';
            std::string candidate = resolved + (needsSeparator ? "/" : "") + component;
            if (matching && !Exists(candidate)) {
                const std::string found = FindCaseInsensitive(resolved, component);
                if (found.empty()) {
                    matching = false;
                } else {
                    candidate = resolved + (needsSeparator ? "/" : "") + found;
                }
            }
            resolved = std::move(candidate);
        }
        start = end + 1;
    }
    if (!native.empty() && native.back() == '/' && (resolved.empty() || resolved.back() != '/')) {
        resolved += '/';
    }
    return resolved;
}

std::string ExecutablePath() {
    {
        std::lock_guard<std::mutex> lock(g_overrideMutex);
        if (!g_executableOverride.empty()) {
            return g_executableOverride;
        }
    }
    return ReadExecutableLink();
}

std::string ExecutableDirectory() { return std::string(DirectoryOf(ExecutablePath())); }

std::string_view DirectoryOf(std::string_view path) {
    const std::size_t separator = LastSeparator(path);
    return separator == std::string_view::npos ? std::string_view{} : path.substr(0, separator);
}

std::string_view FileNameOf(std::string_view path) {
    const std::size_t separator = LastSeparator(path);
    return separator == std::string_view::npos ? path : path.substr(separator + 1);
}

bool IsPlainFileName(std::string_view name) {
    constexpr std::size_t kMaxLength = 255;
    const bool hasBadByte = std::any_of(name.begin(), name.end(), [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return byte < 0x20 || byte == 0x7F || c == '\\' || c == '/';
    });
    return !name.empty() && name.size() <= kMaxLength && !hasBadByte && name.find("..") == std::string_view::npos;
}

void SetExecutablePathForTesting(const std::string& path) {
    std::lock_guard<std::mutex> lock(g_overrideMutex);
    g_executableOverride = path;
}

}  // namespace os
