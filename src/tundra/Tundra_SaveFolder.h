#pragma once

#include "core/Core_String.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The "Saves" folder under the game's directory, where saved games and
// replay data live. Names given by scripts are joined onto it only when
// they are plain file names, so that nothing is written outside it.
namespace Tundra::SaveFolder {

// The game's directory + "\Saves".
Core::String Path();
// Path() + "\" + name.
Core::String FilePath(std::string_view name);
// Not empty, at most 255 bytes, no '\' or '/', no "..", no leading '.'
// (hidden names and the writers' temporaries), no NUL or other control
// character.
bool IsPlainName(std::string_view name);
// A plain name short enough for the temporary a save is first written
// under: a name the game can write.
bool IsSaveName(std::string_view name);
// Creates the folder when it is missing. False when there is no folder
// afterwards (a file took its name, or it could not be made).
bool Ensure();
// The names of the folder's regular files in listing order: folders,
// system files and the temporaries of unfinished saves left out. Empty
// without a folder.
std::vector<Core::String> ListFiles();
// The whole of a regular file of at most maxBytes; empty with the reason
// ("missing", "too large", "unreadable") when it cannot be had.
std::vector<std::uint8_t> ReadFile(std::string_view path, std::uint64_t maxBytes, std::string& reason);
// Whether name ends with suffix, letters compared as upper case.
bool EndsWithNoCase(std::string_view name, std::string_view suffix);

}  // namespace Tundra::SaveFolder
