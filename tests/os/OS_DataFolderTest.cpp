#include "os/OS_DataFolder.h"
#include "os/OS_File.h"
#include "os/OS_FileSystem.h"
#include "os/OS_Path.h"

#include "support/TempDirectory.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <sys/stat.h>

// The profile folder's "\Documents\My Games\" is the XDG data folder: files,
// folders and renames under it all land there.
namespace {

// Sets (or, for null, clears) a variable while it lives.
class ScopedVariable {
public:
    ScopedVariable(const char* name, const char* value) : m_name(name) {
        if (const char* old = std::getenv(name)) {
            m_old = old;
        }
        Set(value);
    }
    ~ScopedVariable() { Set(m_old ? m_old->c_str() : nullptr); }
    ScopedVariable(const ScopedVariable&) = delete;
    ScopedVariable& operator=(const ScopedVariable&) = delete;

private:
    void Set(const char* value) const {
        if (value != nullptr) {
            setenv(m_name, value, 1);
        } else {
            unsetenv(m_name);
        }
    }

    const char* m_name;
    std::optional<std::string> m_old;
};

unsigned ModeOf(const std::string& path) {
    struct stat info{};
    return ::stat(path.c_str(), &info) == 0 ? info.st_mode & 07777u : 0u;
}

std::string ReadAll(const std::string& path) {
    const os::FilePointer file = os::OpenFile(path, "rb");
    std::string text;
    for (int c; file && (c = std::fgetc(file.get())) != EOF;) {
        text += static_cast<char>(c);
    }
    return text;
}

TEST(UserDataFolder, TheGamesFolderOfTheProfileIsTheXdgDataFolder) {
    const testsupport::TempDirectory home;
    const testsupport::TempDirectory data;
    const ScopedVariable homeVariable("HOME", home.Path().c_str());
    const ScopedVariable profile("USERPROFILE", nullptr);
    const std::string fallback = home.Path() + "/.local/share";
    struct Case {
        const char* xdg;
        std::string folder;
    };
    for (const Case& c : {Case{data.Path().c_str(), data.Path()}, Case{nullptr, fallback}, Case{"", fallback},
                          Case{"relative/data", fallback}}) {
        SCOPED_TRACE(c.xdg != nullptr ? c.xdg : "unset");
        const ScopedVariable xdg("XDG_DATA_HOME", c.xdg);
        const std::string games = home.Path() + "\\Documents\\My Games";
        EXPECT_EQ(os::UserDataFolder(), c.folder);
        ASSERT_NE(os::CreateDirectory(games), os::CreateDirectoryResult::Failed);
        EXPECT_EQ(os::CreateDirectory(games + "\\Emberline"), os::CreateDirectoryResult::Created);
        EXPECT_EQ(ModeOf(c.folder + "/Emberline"), 0700u);
        if (c.folder == fallback) {
            EXPECT_EQ(ModeOf(home.Path() + "/.local"), 0700u) << "the parents are made private too";
        }

        os::ReplacingFile settings;
        ASSERT_TRUE(settings.Open(games + "\\Emberline\\settings.sav"));
        std::fputs("53\n", settings.Get());
        ASSERT_TRUE(settings.Commit());
        EXPECT_EQ(ReadAll(c.folder + "/Emberline/settings.sav"), "53\n");
        EXPECT_EQ(ReadAll(games + "\\EMBERLINE\\settings.sav"), "53\n") << "names keep matching in any case";
        ASSERT_TRUE(os::MoveFile(games + "\\Emberline\\settings.sav", games + "\\Emberline\\settings.sav.damaged"));
        EXPECT_EQ(ReadAll(c.folder + "/Emberline/settings.sav.damaged"), "53\n");
        EXPECT_EQ(os::GetFileAttributes(home.Path() + "/Documents"), os::INVALID_FILE_ATTRIBUTES)
            << "nothing lands in the profile folder itself";
        std::filesystem::remove_all(c.folder + "/Emberline");
    }
}

TEST(UserDataFolder, OnlyTheGamesFolderOfTheProfileIsMappedAndNeverWithoutAHome) {
    const ScopedVariable home("HOME", "/home/player");
    const ScopedVariable profile("USERPROFILE", nullptr);
    const ScopedVariable xdg("XDG_DATA_HOME", "/data");
    const std::pair<const char*, std::optional<std::string>> cases[] = {
        {"/home/player\\Documents\\My Games\\Emberline\\profile.sav", "/data/Emberline/profile.sav"},
        {"/home/player/documents/MY GAMES", "/data"},
        {"/home/player\\Documents\\My Games\\", "/data/"},
        {"/home/player\\Documents\\My Gamesx\\a", std::nullopt},
        {"/home/playerx\\Documents\\My Games\\a", std::nullopt},
        {"/home/player\\Documents\\a", std::nullopt},
        {"/elsewhere\\Documents\\My Games\\a", std::nullopt},
    };
    for (const auto& [path, mapped] : cases) {
        EXPECT_EQ(os::MapToUserDataFolder(path), mapped) << path;
    }
    EXPECT_EQ(os::ResolvePath("/home/player\\Documents\\My Games\\Emberline\\x"), "/data/Emberline/x");

    const ScopedVariable noHome("HOME", nullptr);
    const ScopedVariable noData("XDG_DATA_HOME", nullptr);
    EXPECT_EQ(os::UserDataFolder(), std::nullopt);
    EXPECT_EQ(os::MapToUserDataFolder("\\Documents\\My Games\\Emberline"), std::nullopt);
}

}  // namespace
