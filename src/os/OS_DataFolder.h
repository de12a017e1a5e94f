#pragma once

#include <optional>
#include <string>
#include <string_view>

// Programs name their per-user data folder as the profile folder followed
// by "\Documents\My Games\", where another system keeps it. Here that
// folder is the user's data folder of the XDG base directories:
// $XDG_DATA_HOME when it names an absolute path, else $HOME/.local/share.
namespace os {

// The user's data folder (no trailing separator); nothing without an
// absolute XDG_DATA_HOME and without a home folder.
std::optional<std::string> UserDataFolder();

// The native path in the data folder for an engine path that starts with
// the profile folder (os::GetEnvironmentVariable("USERPROFILE")) and
// "\Documents\My Games" (names in any letter case, either separator);
// "...\My Games" itself is the data folder. Nothing for any other path.
std::optional<std::string> MapToUserDataFolder(std::string_view enginePath);

// Folders made in the data folder, and the missing folders above them, are
// the user's alone (as the base directory rules ask of the data folder).
constexpr unsigned kUserDataFolderMode = 0700;

// Creates the missing folders above a native path with the data folder's
// mode. False, with the last error set, when one could not be made.
bool CreateParentFolders(const std::string& nativePath);

}  // namespace os
