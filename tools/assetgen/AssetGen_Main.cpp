// The asset generator: writes every file of the game's Resources tree (the
// manifest's rows) into the directory given on the command line. Run by the
// build; run by hand with --only to make a few files.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "AssetGen_Driver.h"

namespace {

int Usage(const char* program) {
    std::fprintf(stderr,
                 "usage: %s --fonts DEJAVU_DIRECTORY [--only TEXT]... [--threads N] [--contact-sheet FILE.png] "
                 "[--timings] RESOURCES_DIRECTORY\n"
                 "  --only TEXT  make only the files whose path below Resources contains TEXT\n",
                 program);
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    AssetGen::DriverOptions options;
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        const bool hasValue = i + 1 < argc;
        if (argument == "--fonts" && hasValue) {
            options.fontDirectory = argv[++i];
        } else if (argument == "--only" && hasValue) {
            options.only.emplace_back(argv[++i]);
        } else if (argument == "--threads" && hasValue) {
            options.threads = std::atoi(argv[++i]);
            if (options.threads < 1) {
                return Usage(argv[0]);
            }
        } else if (argument == "--contact-sheet" && hasValue) {
            options.contactSheet = argv[++i];
        } else if (argument == "--timings") {
            options.timings = true;
        } else if (!argument.starts_with("--") && options.resources.empty()) {
            options.resources = argument;
        } else {
            return Usage(argv[0]);
        }
    }
    if (options.resources.empty() || options.fontDirectory.empty()) {
        return Usage(argv[0]);
    }
    return AssetGen::RunDriver(options);
}
