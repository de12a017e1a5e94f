#include "Assets_Tree.h"

#include <gtest/gtest.h>

namespace assettest {

std::string ResourcePath(std::string_view pathBelowResources) {
    return std::string(TUNDRA_RESOURCES_DIRECTORY) + "/" + std::string(pathBelowResources);
}

os::Image DecodeResource(std::string_view pathBelowResources) {
    os::Image image;
    EXPECT_TRUE(os::DecodeImageFile(ResourcePath(pathBelowResources), image)) << pathBelowResources;
    return image;
}

os::Image LoadImage(const AssetGen::ManifestRow& row) { return DecodeResource(row.path); }

}  // namespace assettest
