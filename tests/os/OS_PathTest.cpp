#include "os/OS_Path.h"

#include "support/TempDirectory.h"

#include <gtest/gtest.h>

// Components that do not exist are kept as written.
TEST(Paths, MixedCaseBackslashPathFindsTheExistingFile) {
    testsupport::TempDirectory root;
    const std::string file = root.WriteFile("resources/animations/hero.png", "png");
    root.WriteFile("Saves/keep.txt", "");
    const std::pair<std::string, std::string> cases[] = {
        {root.Path() + "\\Resources\\Animations\\HERO.PNG", file},
        {root.Path() + "\\resources\\animations\\hero.png", file},
        {root.Path() + "\\SAVES\\New Folder\\Profile.sav", root.Path() + "/Saves/New Folder/Profile.sav"},
        {root.Path() + "/nothing/", root.Path() + "/nothing/"},
    };
    for (const auto& [request, resolved] : cases) {
        EXPECT_EQ(os::ResolvePath(request), resolved) << request;
    }
}
