#pragma once

#include <optional>
#include <string>
#include <string_view>

// The game's files in the user's folder "Documents\My Games\Emberline"
// (the platform layer places it among the user's data). Without a user
// folder nothing is read or written.

// Files larger than this are not the game's.
constexpr std::size_t kMaxDataFileBytes = 4096;

// A file's first kMaxDataFileBytes bytes; not whole when it is longer, or
// is there but cannot be read (nothing is read then).
struct DataFileBytes {
    std::string bytes;
    bool whole = true;
};
// Nothing when the file is not there.
std::optional<DataFileBytes> ReadDataFile(std::string_view name);

// Replaces the file at once, creating the folders; a failed write leaves
// the previous file, if there is one, and says on stderr what is left; the
// first in the run tells the player in a message box that progress cannot
// be saved, and where.
void WriteDataFile(std::string_view name, std::string_view text);

// Keeps the damaged file as "<name>.damaged" (a second name of the same
// file, or a copy), then replaces it whole with the repaired text: at every
// moment the file is the damaged one or its repair. Anything else in the
// file's place, such as a folder, is moved aside instead. The copies kept
// before grow one age older ("<name>.damaged.1", ...); the last five are
// kept. A damaged file that cannot be kept is left as it is, nothing writes
// over it for the rest of the run, and the player is told as of a failed
// write; so is a repair that cannot be written.
void ReplaceDamagedDataFile(std::string_view name, std::string_view repairedText);
