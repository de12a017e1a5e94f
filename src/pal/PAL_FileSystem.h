#pragma once

#include "core/Core_String.h"

#include <string_view>

// File tests and directory listings on engine paths (backslashes and any
// letter case are accepted). A path that does not exist is neither a
// directory nor a system file, so pass full paths, not bare entry names.

bool IsDirectory(std::string_view path);

// True for an existing entry that is neither a regular file nor a directory
// (a device, fifo or socket), which a save-file list must skip.
bool IsSystemFile(std::string_view path);

// Appends every entry name of the directory to names: "." and ".." first,
// then the others in case-insensitive order. A directory that cannot be
// opened leaves names unchanged.
void ListDirectory(std::string_view directory, Core::StringVector& names);
