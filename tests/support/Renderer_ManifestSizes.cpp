#include "support/Renderer_ManifestSizes.h"

#include "AssetGen_Manifest.h"

#include <algorithm>

namespace testsupport {

std::optional<FakeTextureCache::Size> ManifestSheetSize(const std::string& fileName) {
    std::string path = fileName;
    std::replace(path.begin(), path.end(), '\\', '/');
    static constexpr std::string_view kRoot = "Resources/";
    const std::size_t root = path.rfind(kRoot);
    if (root == std::string::npos) {
        return std::nullopt;
    }
    const AssetGen::ManifestRow* row = AssetGen::FindRow(std::string_view(path).substr(root + kRoot.size()));
    if (row == nullptr || row->kind != AssetGen::FileKind::Sheet) {
        return std::nullopt;
    }
    return FakeTextureCache::Size{static_cast<std::uint32_t>(row->grid.ImageWidth()),
                                  static_cast<std::uint32_t>(row->grid.ImageHeight())};
}

void SizeSheetsAsManifest(FakeTextureCache& cache) { cache.SetSizeRule(&ManifestSheetSize); }

}  // namespace testsupport
