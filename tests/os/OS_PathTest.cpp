#include "os/OS_Path.h"

#include "support/TempDirectory.h"

#include <gtest/gtest.h>

#include <unistd.h>

TEST(Paths, BackslashesBecomeSlashes) {
    EXPECT_EQ(os::ToNativePath("\\Resources\\Fonts\\A.png"), "/Resources/Fonts/A.png");
    EXPECT_EQ(os::ToNativePath("plain/path"), "plain/path");
    EXPECT_EQ(os::ToNativePath(""), "");
}

TEST(Paths, MixedCaseBackslashPathFindsTheExistingFile) {
    testsupport::TempDirectory root;
    const std::string file = root.WriteFile("resources/animations/hero.png", "png");
    EXPECT_EQ(os::ResolvePath(root.Path() + "\\Resources\\Animations\\HERO.PNG"), file);
    EXPECT_EQ(os::ResolvePath(root.Path() + "\\resources\\animations\\hero.png"), file);
}

TEST(Paths, MissingComponentsAreKeptAsWritten) {
    testsupport::TempDirectory root;
    root.WriteFile("Saves/keep.txt", "");
    EXPECT_EQ(os::ResolvePath(root.Path() + "\\SAVES\\New Folder\\Profile.sav"),
              root.Path() + "/Saves/New Folder/Profile.sav");
    EXPECT_EQ(os::ResolvePath(root.Path() + "/nothing/"), root.Path() + "/nothing/");
}

TEST(Paths, ExecutableLocationSplitsAtTheLastSeparator) {
    EXPECT_FALSE(os::ExecutablePath().empty());
    EXPECT_EQ(access(os::ExecutablePath().c_str(), X_OK), 0);

    os::SetExecutablePathForTesting("C:\\Games\\Emberline\\Emberline.exe");
    EXPECT_EQ(os::ExecutableDirectory(), "C:\\Games\\Emberline");
    os::SetExecutablePathForTesting("/opt/emberline/bin/Emberline");
    EXPECT_EQ(os::ExecutableDirectory(), "/opt/emberline/bin");
    EXPECT_EQ(os::FileNameOf(os::ExecutablePath()), "Emberline");
    os::SetExecutablePathForTesting("");
    EXPECT_NE(os::ExecutablePath(), "/opt/emberline/bin/Emberline");
}

TEST(Paths, DirectoryAndNameOfPlainNames) {
    EXPECT_EQ(os::DirectoryOf("hero.png"), "");
    EXPECT_EQ(os::FileNameOf("hero.png"), "hero.png");
    EXPECT_EQ(os::FileNameOf("a/b\\c.txt"), "c.txt");
    EXPECT_EQ(os::FileNameOf("dir\\"), "");
}
