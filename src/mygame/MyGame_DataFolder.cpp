#include "mygame/MyGame_DataFolder.h"

#include "core/Core_DiskFile.h"
#include "core/Core_ErrorLog.h"
#include "os/OS_Environment.h"
#include "os/OS_File.h"
#include "os/OS_FileSystem.h"
#include "os/OS_MessageBox.h"
#include "os/OS_Path.h"

#include <algorithm>
#include <cstdio>
#include <set>
#include <string>

namespace {

constexpr std::string_view kGamesFolder = "\\Documents\\My Games\\";
constexpr std::string_view kGameFolder = "Emberline\\";

// "<profile>\Documents\My Games\"; nothing without a user folder.
std::optional<std::string> GamesFolder() {
    std::optional<std::string> folder = os::GetEnvironmentVariable("USERPROFILE");
    if (folder) {
        *folder += kGamesFolder;
    }
    return folder;
}

std::optional<std::string> DataFilePath(std::string_view name) {
    std::optional<std::string> path = GamesFolder();
    if (path) {
        *path += kGameFolder;
        *path += name;
    }
    return path;
}

// Damaged files that could not be moved aside, by path.
std::set<std::string>& FilesLeftInPlace() {
    static std::set<std::string> paths;
    return paths;
}

// Damaged copies kept of each file: "<name>.damaged" is the newest, then
// "<name>.damaged.1" and on to the oldest.
constexpr int kKeptDamagedCopies = 5;

// The copy of that age, from the newest's path.
std::string DamagedCopyPath(const std::string& newest, int age) {
    return age == 0 ? newest : newest + "." + std::to_string(age);
}

bool CopyExists(const std::string& path) { return os::GetFileAttributes(path) != os::INVALID_FILE_ATTRIBUTES; }

bool IsFile(const std::string& path) { return os::GetFileAttributes(path) == os::FILE_ATTRIBUTE_NORMAL; }

// Frees the newest copy's path by moving each copy up to the first free age
// one age older; with every age taken the oldest copy is replaced. False
// when a copy could not be moved: the copies not yet moved stay where they
// are, none is lost.
bool MakeRoomForDamagedCopy(const std::string& newest) {
    int free = 0;
    while (free < kKeptDamagedCopies - 1 && CopyExists(DamagedCopyPath(newest, free))) {
        ++free;
    }
    for (int age = free; age > 0; --age) {
        if (!os::MoveFile(DamagedCopyPath(newest, age - 1), DamagedCopyPath(newest, age))) {
            return false;
        }
    }
    return true;
}

// Replaces the file at once; false, the old file as it was, when it cannot.
bool WriteWhole(const std::string& path, std::string_view text) {
    Core::DiskFile file(path, Core::DiskFile::kModeWrite);
    file.Write(text.data(), static_cast<std::uint32_t>(text.size()));
    file.Close();
    return !file.HasFailed();
}

// What the player still has after a failed write.
std::string WhatIsLeft(const std::string& path) {
    return IsFile(path) ? "the previous file is kept" : "nothing is saved";
}

// The player hears once per folder and run that progress is not being
// kept, and where the game tried to keep it; stderr alone goes unseen.
void TellProgressCannotBeSaved() {
    static std::set<std::string> told;
    std::optional<std::string> folder = DataFilePath("");
    if (!folder) {
        return;
    }
    folder->pop_back();  // the separator
    const std::string nativeFolder = os::ResolvePath(*folder);
    if (told.insert(nativeFolder).second) {
        os::MessageBox("Your progress cannot be saved: the folder " + nativeFolder + " cannot be written.", "Error",
                       os::MB_OK | os::MB_ICONEXCLAMATION);
    }
}

}  // namespace

std::optional<DataFileBytes> ReadDataFile(std::string_view name) {
    const std::optional<std::string> path = DataFilePath(name);
    if (!path) {
        return std::nullopt;
    }
    const std::uint32_t attributes = os::GetFileAttributes(*path);
    if (attributes == os::INVALID_FILE_ATTRIBUTES) {
        return std::nullopt;
    }
    DataFileBytes file{{}, false};
    // Only a regular file is read: a fifo would block, a folder has no bytes.
    const os::FilePointer stream =
        attributes == os::FILE_ATTRIBUTE_NORMAL ? os::OpenFile(*path, "rb") : os::FilePointer();
    if (stream) {
        // One byte more than the limit tells a longer file.
        file.bytes.resize(kMaxDataFileBytes + 1);
        const std::size_t count = std::fread(file.bytes.data(), 1, file.bytes.size(), stream.get());
        file.whole = std::ferror(stream.get()) == 0 && count <= kMaxDataFileBytes;
        file.bytes.resize(std::min(count, kMaxDataFileBytes));
    }
    return file;
}

void WriteDataFile(std::string_view name, std::string_view text) {
    std::optional<std::string> folder = GamesFolder();
    if (!folder) {
        return;
    }
    os::CreateDirectory(*folder);
    *folder += kGameFolder;
    os::CreateDirectory(*folder);
    const std::string path = *folder + std::string(name);
    if (FilesLeftInPlace().count(path) != 0) {
        return;
    }
    if (!WriteWhole(path, text)) {
        Core::LogError("Emberline: could not write " + std::string(name) + "; " + WhatIsLeft(path));
        TellProgressCannotBeSaved();
    }
}

void ReplaceDamagedDataFile(std::string_view name, std::string_view repairedText) {
    const std::string keptName = std::string(name) + ".damaged";
    const std::optional<std::string> path = DataFilePath(name);
    const std::optional<std::string> keptPath = DataFilePath(keptName);
    if (!path || !keptPath) {
        return;
    }
    // A file keeps its name until its repair replaces it whole; anything
    // else in its place (a folder) is no file to lose and is moved aside.
    const bool isFile = IsFile(*path);
    if (!MakeRoomForDamagedCopy(*keptPath) ||
        !(isFile ? os::LinkOrCopyFile(*path, *keptPath) : os::MoveFile(*path, *keptPath))) {
        FilesLeftInPlace().insert(*path);
        Core::LogError("Emberline: " + std::string(name) + " is damaged and could not be kept as " + keptName +
                       "; it is left as it is and not written in this run");
        TellProgressCannotBeSaved();
        return;
    }
    if (!WriteWhole(*path, repairedText)) {
        Core::LogError("Emberline: " + std::string(name) + " was damaged; kept as " + keptName +
                       " but could not be written again; " + WhatIsLeft(*path));
        TellProgressCannotBeSaved();
        return;
    }
    Core::LogError("Emberline: " + std::string(name) + " was damaged; kept as " + keptName +
                   " and written again, with defaults for what could not be read");
}
