#include "AssetGen_ParticleTexture.h"

#include <algorithm>
#include <cmath>

#include "AssetGen_OutputFiles.h"

namespace AssetGen::ParticleTexture {
namespace {

// The core stays fully opaque out to this share of the radius.
constexpr double kCore = 0.12;

}  // namespace

std::vector<std::uint8_t> Alpha() {
    std::vector<std::uint8_t> alpha(static_cast<std::size_t>(kSize) * kSize);
    const double centre = kSize / 2.0;
    for (int y = 0; y < kSize; ++y) {
        for (int x = 0; x < kSize; ++x) {
            // Distance of the pixel's centre from the image's, over the radius.
            const double r = std::hypot(x + 0.5 - centre, y + 0.5 - centre) / centre;
            const double u = std::clamp((1.0 - r) / (1.0 - kCore), 0.0, 1.0);
            const double smooth = u * u * (3.0 - 2.0 * u);
            alpha[static_cast<std::size_t>(y) * kSize + x] = static_cast<std::uint8_t>(std::lround(255.0 * smooth));
        }
    }
    return alpha;
}

bool Write(const std::string& path, std::uint64_t, std::string& error) {
    return WriteWhitePng(path, kSize, kSize, Alpha(), error);
}

}  // namespace AssetGen::ParticleTexture
