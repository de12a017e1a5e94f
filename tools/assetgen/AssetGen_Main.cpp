// The asset generator: writes the game's generated resources below the
// Resources directory given on the command line. Run by the build.
#include <cstdio>
#include <string>

#include "AssetGen_SoundAssets.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s RESOURCES_DIRECTORY\n", argv[0]);
        return 2;
    }
    const std::string resources = argv[1];
    std::string error;
    if (!AssetGen::WriteSoundAssets(resources + "/Sounds", error)) {
        std::fprintf(stderr, "assetgen: %s\n", error.c_str());
        return 1;
    }
    return 0;
}
