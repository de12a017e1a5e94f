#include "os/OS_Error.h"
#include "os/OS_FileSystem.h"
#include "os/OS_FileTestHooks.h"

#include "support/TempDirectory.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sys/stat.h>

TEST(DirectoryListing, DotEntriesFirstThenCaseInsensitiveOrder) {
    testsupport::TempDirectory root;
    for (const char* name : {"b.sav", "A.sav", "_x", "a.sav", "Z", "10", "1"}) {
        root.WriteFile(name, "");
    }
    std::vector<std::string> names{"stale"};
    ASSERT_TRUE(os::ListDirectory(root.Path(), names));
    // Upper-case comparison puts '_' after the letters; "A.sav" and "a.sav" tie and fall back to byte order.
    const std::vector<std::string> expected{".", "..", "1", "10", "A.sav", "a.sav", "b.sav", "Z", "_x"};
    EXPECT_EQ(names, expected);

    testsupport::TempDirectory empty;
    ASSERT_TRUE(os::ListDirectory(empty.Path() + "\\", names));
    EXPECT_EQ(names, (std::vector<std::string>{".", ".."}));
}

// A missing path has no attributes at all (every bit set); a device is a system file.
TEST(DirectoryListing, FailureLeavesTheListUnchangedAndMissingPathsHaveNoAttributes) {
    testsupport::TempDirectory root;
    const std::string file = root.WriteFile("file.txt", "");
    std::vector<std::string> names{"kept"};
    EXPECT_FALSE(os::ListDirectory(root.Path() + "/missing", names));
    EXPECT_EQ(os::GetLastError(), static_cast<std::uint32_t>(ENOENT));
    EXPECT_FALSE(os::ListDirectory(file, names));
    EXPECT_EQ(os::GetLastError(), static_cast<std::uint32_t>(ENOTDIR));
    EXPECT_EQ(names, std::vector<std::string>{"kept"});

    EXPECT_EQ(os::GetFileAttributes(root.Path() + "/missing"), os::INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(os::GetLastError(), static_cast<std::uint32_t>(ENOENT));
    EXPECT_EQ(os::GetFileAttributes("/dev/null"), os::FILE_ATTRIBUTE_SYSTEM);
}

TEST(DirectoryCreation, ExistingDirectoryIsToldApartFromFailure) {
    testsupport::TempDirectory root;
    const std::string folder = root.Path() + "\\My Games";
    EXPECT_EQ(os::CreateDirectory(folder), os::CreateDirectoryResult::Created);
    EXPECT_EQ(os::GetFileAttributes(folder), os::FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_EQ(os::CreateDirectory(folder), os::CreateDirectoryResult::AlreadyExists);
    EXPECT_EQ(os::GetLastError(), static_cast<std::uint32_t>(EEXIST));
    EXPECT_EQ(os::CreateDirectory(root.Path() + "\\No Parent\\Emberline"), os::CreateDirectoryResult::Failed);
    EXPECT_EQ(os::GetLastError(), static_cast<std::uint32_t>(ENOENT));
}

// A second name for a file: a hard link, or a copy where links are refused;
// the file itself and a name already taken stay as they were.
TEST(FileLinks, ASecondNameIsALinkOrAWholeCopy) {
    testsupport::TempDirectory root;
    const std::string file = root.WriteFile("profile.sav", "damaged bytes");
    const auto inode = [](const std::string& path) {
        struct stat info{};
        EXPECT_EQ(::stat(path.c_str(), &info), 0) << path;
        return info.st_ino;
    };
    const auto text = [](const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    };

    ASSERT_TRUE(os::LinkOrCopyFile(file, root.Path() + "/linked"));
    EXPECT_EQ(inode(root.Path() + "/linked"), inode(file));
    os::testhooks::RefuseFileLinks(1);
    ASSERT_TRUE(os::LinkOrCopyFile(root.Path() + "\\PROFILE.SAV", root.Path() + "\\copied"));
    EXPECT_NE(inode(root.Path() + "/copied"), inode(file));
    EXPECT_EQ(text(root.Path() + "/copied"), "damaged bytes");
    EXPECT_EQ(text(file), "damaged bytes");

    const std::string taken = root.WriteFile("taken", "kept");
    for (const bool refuseLinks : {false, true}) {
        os::testhooks::RefuseFileLinks(refuseLinks ? 1 : 0);
        EXPECT_FALSE(os::LinkOrCopyFile(file, taken)) << refuseLinks;
        EXPECT_EQ(os::GetLastError(), static_cast<std::uint32_t>(EEXIST));
        EXPECT_EQ(text(taken), "kept");
    }
    os::testhooks::RefuseFileLinks(0);
    EXPECT_FALSE(os::LinkOrCopyFile(root.Path() + "/missing", root.Path() + "/none"));
    EXPECT_FALSE(os::LinkOrCopyFile(root.Path(), root.Path() + "/none"));
    EXPECT_FALSE(std::filesystem::exists(root.Path() + "/none"));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(root.Path()), {}), 4);
}
