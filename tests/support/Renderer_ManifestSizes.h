#pragma once

#include "support/Renderer_FakeTextureCache.h"

#include <optional>
#include <string>

// The generated sheets' image sizes, taken from the asset generator's
// manifest rather than from files, so that logic tests give sprites the
// frame sizes the game gets without reading an image.
namespace testsupport {

// The image size of the sheet a path names (any folder before
// "Resources", either separator); none for a path that is no sheet.
std::optional<FakeTextureCache::Size> ManifestSheetSize(const std::string& fileName);

// From now on the cache answers each sheet with its manifest size.
void SizeSheetsAsManifest(FakeTextureCache& cache);

}  // namespace testsupport
