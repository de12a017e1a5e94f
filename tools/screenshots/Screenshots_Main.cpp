// Pictures of the game for the README: the game played by the end-to-end
// journey on SDL's offscreen driver, at 1024 x 768 with the generated
// assets beside the program, each chosen moment written as a PNG file.
//
//   screenshots [--only NAME[,NAME...]] [FOLDER]
//
// FOLDER defaults to docs/screenshots and is made when missing. The names
// are those of Moments() (intro, title, title-level, shop, level-select,
// stage, boss-warning, boss-fight, results); without --only every one is
// taken. Exit status 0 when every chosen picture was written, 1 when one
// was not, 2 for a bad command line.

#include "Screenshots_Moments.h"
#include "Screenshots_Run.h"
#include "support/GraphicsDrivers.h"
#include "support/TempDirectory.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr const char* kDefaultFolder = "docs/screenshots";

struct Options {
    std::vector<const screenshots::Moment*> moments;
    std::string folder = kDefaultFolder;
};

bool AddMoments(std::string_view list, std::vector<const screenshots::Moment*>& moments) {
    while (!list.empty()) {
        const std::size_t comma = list.find(',');
        const std::string_view name = list.substr(0, comma);
        const screenshots::Moment* moment = screenshots::FindMoment(name);
        if (moment == nullptr) {
            std::fprintf(stderr, "screenshots: no moment named \"%.*s\"\n", static_cast<int>(name.size()),
                         name.data());
            return false;
        }
        if (std::find(moments.begin(), moments.end(), moment) == moments.end()) {
            moments.push_back(moment);
        }
        list = comma == std::string_view::npos ? std::string_view() : list.substr(comma + 1);
    }
    return true;
}

bool ParseOptions(int argc, char** argv, Options& options) {
    bool folderGiven = false;
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (argument == "--only" && i + 1 < argc) {
            if (!AddMoments(argv[++i], options.moments)) {
                return false;
            }
        } else if (!argument.starts_with("-") && !folderGiven) {
            options.folder = argument;
            folderGiven = true;
        } else {
            return false;
        }
    }
    if (options.moments.empty()) {
        for (const screenshots::Moment& moment : screenshots::Moments()) {
            options.moments.push_back(&moment);
        }
    }
    return true;
}

// The route played in this (child) process: a new profile in a folder of
// its own, which goes with the run. Exit status 0 when every picture was
// written.
int PlayInThisProcess(screenshots::Route route, const std::vector<const screenshots::Moment*>& moments,
                      const std::string& folder) {
    const testsupport::TempDirectory data;
    setenv("XDG_DATA_HOME", data.Path().c_str(), 1);
    setenv("HOME", data.Path().c_str(), 1);
    unsetenv("USERPROFILE");
    const screenshots::RouteResult result = screenshots::PlayRoute(route, moments, folder);
    for (const std::string& path : result.written) {
        std::printf("%s\n", path.c_str());
    }
    if (!result.failure.empty()) {
        std::fprintf(stderr, "screenshots: %s\n", result.failure.c_str());
        return 1;
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    if (!ParseOptions(argc, argv, options)) {
        std::fprintf(stderr, "usage: %s [--only NAME[,NAME...]] [FOLDER]\n", argv[0]);
        return 2;
    }
    std::error_code error;
    std::filesystem::create_directories(options.folder, error);
    if (error) {
        std::fprintf(stderr, "screenshots: cannot make %s: %s\n", options.folder.c_str(), error.message().c_str());
        return 1;
    }
    // The game draws on no display and plays no sound.
    setenv("SDL_VIDEODRIVER", "offscreen", 1);
    setenv("ALSOFT_DRIVERS", "null", 1);
    // The sanitizer build's leak check names what the drivers leave only
    // while they stay mapped (the tests' suppressions).
    testsupport::KeepGraphicsDriversLoaded();

    // Each route is played in a process of its own, so that each game starts
    // as the program's does, with nothing left of another; they run side
    // by side.
    std::vector<pid_t> children;
    for (const screenshots::Route route : {screenshots::Route::kMenus, screenshots::Route::kBossStage}) {
        std::vector<const screenshots::Moment*> moments;
        for (const screenshots::Moment* moment : options.moments) {
            if (moment->route == route) {
                moments.push_back(moment);
            }
        }
        if (moments.empty()) {
            continue;
        }
        std::fflush(stdout);
        const pid_t child = fork();
        if (child == 0) {
            return PlayInThisProcess(route, moments, options.folder);
        }
        children.push_back(child);
    }
    int status = 0;
    for (const pid_t child : children) {
        int childStatus = 0;
        if (child < 0 || waitpid(child, &childStatus, 0) != child) {
            std::fprintf(stderr, "screenshots: cannot start a run of the game\n");
            status = 1;
        } else if (WIFSIGNALED(childStatus)) {
            std::fprintf(stderr, "screenshots: a run of the game ended by signal %d\n", WTERMSIG(childStatus));
            status = 1;
        } else if (!WIFEXITED(childStatus) || WEXITSTATUS(childStatus) != 0) {
            status = 1;
        }
    }
    return status;
}
