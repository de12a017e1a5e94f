#include "os/OS_DataFolder.h"

#include "os/OS_Environment.h"
#include "os/OS_Error.h"
#include "os/OS_Path.h"

#include <cerrno>
#include <cstdlib>
#include <strings.h>
#include <sys/stat.h>

namespace os {
namespace {

constexpr std::string_view kGamesFolder[] = {"Documents", "My Games"};

// The variable's value when it is an absolute path; relative or empty
// values count as unset, as the base directory rules say.
std::optional<std::string> AbsoluteVariable(const char* name) {
    const char* value = std::getenv(name);
    if (value == nullptr || value[0] != '/') {
        return std::nullopt;
    }
    return std::string(value);
}

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

bool SameNameIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && ::strncasecmp(a.data(), b.data(), a.size()) == 0;
}

// Consumes a separator and the name from the front of rest.
bool TakeComponent(std::string_view& rest, std::string_view name) {
    if (rest.empty() || !IsSeparator(rest.front()) || !SameNameIgnoringCase(rest.substr(1, name.size()), name)) {
        return false;
    }
    rest.remove_prefix(1 + name.size());
    return rest.empty() || IsSeparator(rest.front());
}

}  // namespace

std::optional<std::string> UserDataFolder() {
    if (std::optional<std::string> data = AbsoluteVariable("XDG_DATA_HOME")) {
        return data;
    }
    std::optional<std::string> home = AbsoluteVariable("HOME");
    if (!home) {
        home = AbsoluteVariable("USERPROFILE");
    }
    if (!home) {
        return std::nullopt;
    }
    if (home->size() > 1 && home->back() == '/') {
        home->pop_back();
    }
    return (*home == "/" ? std::string() : *home) + "/.local/share";
}

std::optional<std::string> MapToUserDataFolder(std::string_view enginePath) {
    const std::optional<std::string> profile = GetEnvironmentVariable("USERPROFILE");
    if (!profile || profile->empty() || !enginePath.starts_with(*profile)) {
        return std::nullopt;
    }
    std::string_view rest = enginePath.substr(profile->size());
    for (const std::string_view name : kGamesFolder) {
        if (!TakeComponent(rest, name)) {
            return std::nullopt;
        }
    }
    std::optional<std::string> folder = UserDataFolder();
    if (folder) {
        *folder += ToNativePath(rest);
    }
    return folder;
}

bool CreateParentFolders(const std::string& nativePath) {
    for (std::size_t end = nativePath.find('/', 1); end != std::string::npos; end = nativePath.find('/', end + 1)) {
        const std::string part = nativePath.substr(0, end);
        if (::mkdir(part.c_str(), kUserDataFolderMode) != 0 && errno != EEXIST) {
            SetLastErrorFromErrno();
            return false;
        }
    }
    return true;
}

}  // namespace os
