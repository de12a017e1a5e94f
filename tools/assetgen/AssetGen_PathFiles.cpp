#include "AssetGen_Bytes.h"
#include "AssetGen_PathFiles.h"

#include <bit>
#include <filesystem>

#include "AssetGen_OutputFiles.h"

namespace AssetGen::PathFiles {
namespace {

// The sun climbs from below the ground strip (its 256-pixel sprite wholly
// out of view) to a low dawn position left of the title; it sets from
// exactly there, over to the left and below the view again.
constexpr Point kSunDawn{228.0f, 452.0f};
constexpr Segment kSunRise[] = {{{{150.0f, -170.0f}, {160.0f, 120.0f}, {196.0f, 380.0f}, kSunDawn}}};
constexpr Segment kSunSet[] = {{{kSunDawn, {260.0f, 520.0f}, {-40.0f, 420.0f}, {-220.0f, -190.0f}}}};

// The flyers enter at the right edge and settle in the upper right quarter,
// far enough inside that a formation circling path 1's end at radius 80
// stays in view.
constexpr Segment kFlyerHigh[] = {{{{1100.0f, 600.0f}, {1000.0f, 660.0f}, {880.0f, 520.0f}, {780.0f, 560.0f}}}};
constexpr Segment kFlyerSwoop[] = {{{{1100.0f, 450.0f}, {950.0f, 370.0f}, {880.0f, 700.0f}, {820.0f, 620.0f}}}};
// Two joined pieces; the shared point's neighbours are in line, so the
// flight turns without a kink.
constexpr Segment kFlyerWave[] = {
    {{{1100.0f, 700.0f}, {1000.0f, 720.0f}, {900.0f, 420.0f}, {850.0f, 480.0f}}},
    {{{850.0f, 480.0f}, {800.0f, 540.0f}, {700.0f, 650.0f}, {640.0f, 600.0f}}},
};

constexpr Path kPaths[] = {
    {"TitleSun_SunStartPath", kSunRise},       {"TitleSun_SunEndPath", kSunSet},
    {"FlyingRangedEnemy_path1", kFlyerHigh},   {"FlyingRangedEnemy_path2", kFlyerSwoop},
    {"FlyingRangedEnemy_path3", kFlyerWave},
};

}  // namespace

std::span<const Path> Paths() { return kPaths; }

const Path* Find(std::string_view name) {
    for (const Path& path : kPaths) {
        if (path.name == name) {
            return &path;
        }
    }
    return nullptr;
}

std::vector<std::uint8_t> Encode(std::span<const Segment> segments) {
    std::vector<std::uint8_t> bytes;
    AppendU32LE(bytes, static_cast<std::uint32_t>(segments.size()));
    for (const Segment& segment : segments) {
        for (const Point& point : segment) {
            AppendU32LE(bytes, std::bit_cast<std::uint32_t>(point.x));
            AppendU32LE(bytes, std::bit_cast<std::uint32_t>(point.y));
        }
    }
    return bytes;
}

bool Write(const std::string& path, std::uint64_t, std::string& error) {
    const Path* found = Find(std::filesystem::path(path).filename().string());
    if (found == nullptr) {
        error = "no path is named like " + path;
        return false;
    }
    return WriteBytes(path, Encode(found->segments), error);
}

}  // namespace AssetGen::PathFiles
