#include "Assets_Tree.h"

#include <gtest/gtest.h>

namespace assettest {

std::string ResourcePath(std::string_view pathBelowResources) {
    return std::string(TUNDRA_RESOURCES_DIRECTORY) + "/" + std::string(pathBelowResources);
}

os::Image LoadImage(const AssetGen::ManifestRow& row) {
    os::Image image;
    EXPECT_TRUE(os::DecodeImageFile(ResourcePath(row.path), image)) << row.path;
    return image;
}

}  // namespace assettest
