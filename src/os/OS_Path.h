#pragma once

#include <algorithm>
#include <string>
#include <string_view>

// Engine paths are written with backslashes ("\Resources\Fonts\...") and were
// authored on a case-insensitive file system. Only this layer turns them into
// native paths, at the moment a file is opened.
namespace os {

// 'a'-'z' become 'A'-'Z' and every other byte stays, whatever the process's
// locale: how the engine's names compare without regard to case.
constexpr char UpperAscii(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

// The same bytes but for the case of ASCII letters.
constexpr bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return UpperAscii(x) == UpperAscii(y); });
}

// Backslashes become slashes; nothing else changes.
std::string ToNativePath(std::string_view enginePath);

// The native form of the path; when that does not exist, each component is
// matched case-insensitively (ASCII) against its directory. Components that
// match nothing are kept as written, so the result names the file to create.
// Paths in the profile's games folder lead into the user's data folder
// (os::MapToUserDataFolder).
std::string ResolvePath(std::string_view enginePath);

// Full path of the running executable and its directory (no trailing
// separator). Empty when the system cannot tell.
std::string ExecutablePath();
std::string ExecutableDirectory();

// Splits at the last '/' or '\': the directory part and the name part.
std::string_view DirectoryOf(std::string_view path);
std::string_view FileNameOf(std::string_view path);

// A name that stays inside the folder it is joined onto: 1 to 255 bytes, no
// separator, no "..", no control character.
bool IsPlainFileName(std::string_view name);

// Tests pretend the executable lives elsewhere; an empty path restores the real one.
void SetExecutablePathForTesting(const std::string& path);

}  // namespace os
