// The paths, the layers' collision files and the window icon, as the build
// generated them, read by the game's own readers. (The sounds are checked
// with the generator's sound module, in tests/tools.)
#include "Assets_Tree.h"

#include "core/Core_Startup.h"
#include "core/Core_TrackedMemory.h"
#include "os/OS_ByteOrder.h"
#include "os/OS_HeadlessWindowHooks.h"
#include "pal/PAL_Window.h"
#include "tundra/Tundra_CompositeBezierCurve.h"
#include "tundra/Tundra_StaticCollisionFile.h"

#include <SDL_image.h>
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <sstream>
#include <vector>

namespace {

using AssetGen::FileKind;
using AssetGen::ManifestRow;

std::vector<std::uint8_t> ReadResourceBytes(const std::string& pathBelowResources) {
    std::ifstream file(assettest::ResourcePath(pathBelowResources), std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

std::vector<const ManifestRow*> RowsOf(FileKind kind) {
    std::vector<const ManifestRow*> rows;
    for (const ManifestRow& row : AssetGen::Manifest()) {
        if (row.kind == kind) {
            rows.push_back(&row);
        }
    }
    return rows;
}

class AssetPaths : public testing::Test {
protected:
    void SetUp() override { CoreStartup(m_core); }
    void TearDown() override { CoreShutdown(m_core); }

    static Core::RefPtr<Tundra::CompositeBezierCurve> Load(const std::string& pathBelowResources) {
        return TUN_NEW(Tundra::CompositeBezierCurve, Core::String(assettest::ResourcePath(pathBelowResources)));
    }

private:
    std::uint8_t m_core = 0;
};

TEST_F(AssetPaths, EveryPathLoadsAsACurveOfPositiveLength) {
    const std::vector<const ManifestRow*> rows = RowsOf(FileKind::Path);
    EXPECT_EQ(rows.size(), 5u);
    for (const ManifestRow* row : rows) {
        const std::vector<std::uint8_t> bytes = ReadResourceBytes(row->path);
        ASSERT_GE(bytes.size(), 4u) << row->path;
        EXPECT_EQ(bytes.size(), 4 + 32 * std::size_t{os::LoadU32LE(bytes.data())}) << row->path;
        const auto curve = Load(row->path);
        EXPECT_FALSE(curve->IsEmpty()) << row->path;
        EXPECT_GT(curve->GetLength(), 0.0f) << row->path;
    }
}

// The title and stage views span 0..1024 x 0..768. The 256-pixel sun rises
// from out of sight below and sets from exactly where it rose to, out of
// sight again; a jump between the two paths would show.
TEST_F(AssetPaths, TheSunRisesIntoViewAndSetsFromWhereItStopped) {
    const std::vector<std::uint8_t> rise = ReadResourceBytes("Paths/TitleSun_SunStartPath");
    const std::vector<std::uint8_t> set = ReadResourceBytes("Paths/TitleSun_SunEndPath");
    ASSERT_TRUE(rise.size() >= 36 && set.size() >= 36);
    EXPECT_TRUE(std::equal(rise.end() - 8, rise.end(), set.begin() + 4)) << "the set starts off the rise's end";

    const auto up = Load("Paths/TitleSun_SunStartPath");
    const auto down = Load("Paths/TitleSun_SunEndPath");
    EXPECT_LT(up->GetPosition(0.0f).y + 128.0f, 0.0f);
    const Vector2D dawn = up->GetPosition(1.0f);
    EXPECT_TRUE(dawn.x > 128.0f && dawn.x < 512.0f && dawn.y > 300.0f && dawn.y < 640.0f) << dawn.x << ", " << dawn.y;
    const Vector2D gone = down->GetPosition(1.0f);
    EXPECT_TRUE(gone.x + 128.0f < 0.0f || gone.y + 128.0f < 0.0f) << gone.x << ", " << gone.y;
}

// Flyers come in from the right and stop in the view's upper right quarter,
// 80 inside its edges: formation members circle path 1's end at radius 80.
TEST_F(AssetPaths, FlyersEnterFromTheRightAndStopInTheUpperRightQuarter) {
    for (const char* name : {"FlyingRangedEnemy_path1", "FlyingRangedEnemy_path2", "FlyingRangedEnemy_path3"}) {
        const auto path = Load(std::string("Paths/") + name);
        EXPECT_GT(path->GetPosition(0.0f).x, 1024.0f) << name;
        const Vector2D end = path->GetPosition(1.0f);
        EXPECT_TRUE(end.x >= 512.0f && end.x <= 944.0f && end.y >= 384.0f && end.y <= 688.0f)
            << name << " ends at " << end.x << ", " << end.y;
    }
    EXPECT_EQ(Load("Paths/FlyingRangedEnemy_path3")->GetSegments().size(), 2u);
}

// The layer's parser finds no shape; the text is the grammar's own (a
// heading word and 0, twice), not a file the parser merely gave up on.
TEST(AssetCollisionFiles, EveryLayerFileHoldsNoShape) {
    const std::vector<const ManifestRow*> rows = RowsOf(FileKind::Collision);
    EXPECT_EQ(rows.size(), 9u);
    for (const ManifestRow* row : rows) {
        const std::vector<std::uint8_t> bytes = ReadResourceBytes(row->path);
        const std::string text(bytes.begin(), bytes.end());
        const Tundra::StaticCollisionFile shapes = Tundra::StaticCollisionFile::Parse(text);
        EXPECT_TRUE(shapes.segments.empty() && shapes.circles.empty()) << row->path;
        std::istringstream tokens(text);
        std::string heading1, count1, heading2, count2, rest;
        tokens >> heading1 >> count1 >> heading2 >> count2 >> rest;
        EXPECT_TRUE(!heading1.empty() && count1 == "0" && !heading2.empty() && count2 == "0" && rest.empty())
            << row->path;
    }
}

// SDL_image reads only uncompressed entries and takes the first: the
// directory lists 256 (stored as 0), 48, 32 and 16, each a 32-bit DIB.
TEST(AssetIcon, DirectoryListsFourDibEntriesLargestFirst) {
    const std::vector<std::uint8_t> bytes = ReadResourceBytes("GameIcon/GameIcon.ico");
    ASSERT_GE(bytes.size(), 6u + 4 * 16);
    EXPECT_EQ(os::LoadU16LE(&bytes[2]), 1u);  // an icon
    ASSERT_EQ(os::LoadU16LE(&bytes[4]), 4u);
    const std::uint32_t sizes[] = {256, 48, 32, 16};
    for (std::size_t i = 0; i < 4; ++i) {
        const std::uint8_t* entry = &bytes[6 + 16 * i];
        EXPECT_EQ(entry[0] == 0 ? 256u : entry[0], sizes[i]);
        EXPECT_EQ(os::LoadU16LE(entry + 6), 32u);  // bits per pixel
        const std::uint32_t size = os::LoadU32LE(entry + 8), offset = os::LoadU32LE(entry + 12);
        ASSERT_LE(std::uint64_t{offset} + size, bytes.size());
        const std::uint8_t* header = &bytes[offset];
        // BITMAPINFOHEADER: 40 bytes, colour and mask rows, 32 bits, uncompressed, then both planes.
        EXPECT_EQ((std::array{os::LoadU32LE(header), os::LoadU32LE(header + 4), os::LoadU32LE(header + 8),
                              os::LoadU16LE(header + 14), os::LoadU32LE(header + 16)}),
                  (std::array{40u, sizes[i], 2 * sizes[i], 32u, 0u}));
        EXPECT_EQ(size, 40 + sizes[i] * sizes[i] * 4 + (sizes[i] + 31) / 32 * 4 * sizes[i]);
    }
}

TEST(AssetIcon, DecodesAt256WithTransparentCornersAndTheWindowTakesIt) {
    const std::string path = assettest::ResourcePath("GameIcon/GameIcon.ico");
    SDL_Surface* loaded = IMG_Load(path.c_str());
    ASSERT_NE(loaded, nullptr) << IMG_GetError();
    SDL_Surface* icon = SDL_ConvertSurfaceFormat(loaded, SDL_PIXELFORMAT_RGBA32, 0);
    SDL_FreeSurface(loaded);
    ASSERT_NE(icon, nullptr);
    EXPECT_EQ(std::pair(icon->w, icon->h), std::pair(256, 256));
    auto alpha = [icon](int x, int y) { return static_cast<const std::uint8_t*>(icon->pixels)[y * icon->pitch + x * 4 + 3]; };
    for (const auto& [x, y] : {std::pair{0, 0}, {255, 0}, {0, 255}, {255, 255}}) {
        EXPECT_EQ(alpha(x, y), 0) << x << ", " << y;
    }
    EXPECT_EQ(alpha(128, 128), 255);
    SDL_FreeSurface(icon);

    os::headless::ResetWindowSystem();
    {
        PAL::Window window(200, 100);
        window.SetIcon(path.c_str());
        EXPECT_EQ(os::headless::WindowIconPath(window.GetHandle()), path);
    }
    os::headless::ResetWindowSystem();
}

}  // namespace
