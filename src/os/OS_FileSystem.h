#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// File attributes, directory listings and directory creation for engine
// paths (backslashes, any letter case; see os::ResolvePath). Failures leave
// errno's code as the thread's last error.
namespace os {

constexpr std::uint32_t FILE_ATTRIBUTE_SYSTEM = 0x4;
constexpr std::uint32_t FILE_ATTRIBUTE_DIRECTORY = 0x10;
constexpr std::uint32_t FILE_ATTRIBUTE_NORMAL = 0x80;
constexpr std::uint32_t INVALID_FILE_ATTRIBUTES = 0xFFFFFFFFu;

// DIRECTORY for a directory, NORMAL for a regular file, SYSTEM for anything
// else that exists (device, fifo, socket); INVALID_FILE_ATTRIBUTES when the
// path cannot be examined. Symbolic links are followed.
std::uint32_t GetFileAttributes(std::string_view path);

// Replaces names with every entry of the directory: "." and ".." first, then
// the others ordered as a case-insensitive file system orders them (ASCII
// letters compared as upper case, ties broken byte by byte). When the
// directory cannot be opened, names is left unchanged; when reading fails
// part-way, names holds what was read. Both failures answer false.
bool ListDirectory(std::string_view directory, std::vector<std::string>& names);

// Creates one directory (the parent must exist). An existing entry of that
// name is reported apart from other failures.
enum class CreateDirectoryResult { Created, AlreadyExists, Failed };
// A folder in the user's data folder (see os::MapToUserDataFolder) is made
// with the missing folders above it, readable by the user alone.
CreateDirectoryResult CreateDirectory(std::string_view path);

// Renames a file or folder; an existing file of the new name is replaced.
bool MoveFile(std::string_view from, std::string_view to);

// Gives a regular file (a link to one is followed) a second name, leaving
// the file as it is: a hard link, or where the file system makes none, a
// copy of its bytes that takes the new name only once it is whole. False
// when the file is not a regular file, the new name is taken, or neither
// could be made.
bool LinkOrCopyFile(std::string_view from, std::string_view to);

}  // namespace os
