#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <vector>

#include "AssetGen_Manifest.h"
#include "Assets_Tree.h"
#include "core/Core_RefPtr.h"
#include "support/Renderer_OffscreenFixture.h"
#include "tundra/Tundra_SpriteAnimation.h"

using AssetGen::ManifestRow;
using AssetGen::SheetGrid;
using assettest::Cell;
using assettest::CellOf;

namespace {

std::vector<std::string> SheetNames() {
    std::vector<std::string> names;
    for (const ManifestRow& row : AssetGen::Manifest()) {
        if (row.kind == AssetGen::FileKind::Sheet) {
            names.emplace_back(row.SheetName());
        }
    }
    return names;
}

// Bit depth and colour type from the PNG's header chunk.
bool IsEightBitRgbaPng(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    char header[26] = {};
    in.read(header, sizeof header);
    return in && std::string_view(header + 12, 4) == "IHDR" && header[24] == 8 && header[25] == 6;
}

int InkedPixels(const Cell& cell) {
    int inked = 0;
    for (int y = 0; y < cell.Height(); ++y) {
        for (int x = 0; x < cell.Width(); ++x) {
            inked += cell.Inked(x, y) ? 1 : 0;
        }
    }
    return inked;
}

bool SamePixels(const Cell& a, const Cell& b) {
    for (int y = 0; y < a.Height(); ++y) {
        if (!std::equal(a.Pixel(0, y), a.Pixel(0, y) + 4 * a.Width(), b.Pixel(0, y))) {
            return false;
        }
    }
    return true;
}

// Assertions end the check of one sheet; the others are still checked.
void CheckGridOfInkedDistinctFrames(const ManifestRow& row) {
    const SheetGrid& grid = row.grid;
    const std::string path = assettest::ResourcePath(row.path);
    EXPECT_TRUE(IsEightBitRgbaPng(path));
    const os::Image image = assettest::LoadImage(row);
    ASSERT_EQ(image.width, static_cast<std::uint32_t>(grid.ImageWidth()));
    ASSERT_EQ(image.height, static_cast<std::uint32_t>(grid.ImageHeight()));

    const auto animation = Core::RefPtr<Tundra::SpriteAnimation>(
        TUN_NEW(Tundra::SpriteAnimation, path.c_str(), grid.columns, grid.rows,
                std::vector<float>(static_cast<std::size_t>(grid.frameCount), 0.1f)));
    EXPECT_EQ(animation->GetFrameWidth(), grid.frameWidth);
    EXPECT_EQ(animation->GetFrameHeight(), grid.frameHeight);

    const int margin = grid.Has(AssetGen::kFillsCell) ? 0 : 2;
    for (int frame = 0; frame < grid.columns * grid.rows; ++frame) {
        SCOPED_TRACE("frame " + std::to_string(frame));
        const Cell cell = CellOf(image, grid, frame);
        const int inked = InkedPixels(cell);
        if (frame >= grid.frameCount) {
            EXPECT_EQ(InkedPixels(cell), 0);
            for (int y = 0; y < cell.Height(); ++y) {
                for (int x = 0; x < cell.Width(); ++x) {
                    ASSERT_EQ(cell.Alpha(x, y), 0) << "past the last frame at " << x << ", " << y;
                }
            }
            continue;
        }
        const int area = cell.Width() * cell.Height();
        EXPECT_GE(inked, area == 1 ? 1 : (area + 99) / 100) << "too little ink";
        if (frame > 0) {
            EXPECT_FALSE(SamePixels(cell, CellOf(image, grid, frame - 1))) << "the same as the frame before";
        }
        for (int y = 0; y < cell.Height(); ++y) {
            for (int x = 0; x < cell.Width(); ++x) {
                const std::uint8_t* pixel = cell.Pixel(x, y);
                const bool inMargin = x < margin || y < margin || x >= cell.Width() - margin || y >= cell.Height() - margin;
                ASSERT_FALSE(inMargin && pixel[3] != 0) << "ink in the margin at " << x << ", " << y;
                if (grid.Has(AssetGen::kTinted) && pixel[3] >= 16) {
                    const auto [low, high] = std::minmax({pixel[0], pixel[1], pixel[2]});
                    ASSERT_TRUE(high - low <= 24 && low >= 200) << "not white or light grey at " << x << ", " << y;
                }
            }
        }
        // The code crops these: what stays must still be bar all along.
        for (int x = 0; grid.Has(AssetGen::kCroppedWidth) && x < cell.Width(); ++x) {
            int column = 0;
            for (int y = 0; y < cell.Height(); ++y) {
                column += cell.Inked(x, y) ? 1 : 0;
            }
            ASSERT_GT(column, 0) << "no ink in column " << x;
        }
        for (int y = 0; grid.Has(AssetGen::kCroppedHeight) && y < cell.Height(); ++y) {
            int line = 0;
            for (int x = 0; x < cell.Width(); ++x) {
                line += cell.Inked(x, y) ? 1 : 0;
            }
            ASSERT_GT(line, 0) << "no ink in row " << y;
        }
    }
}

// One test over every sheet: a test process of its own per sheet would spend
// most of its time starting the renderer.
using EverySheet = testsupport::OffscreenRendererTest;

TEST_F(EverySheet, IsItsGridOfInkedDistinctFramesAsTheGameUsesThem) {
    for (const std::string& name : SheetNames()) {
        SCOPED_TRACE(name);
        CheckGridOfInkedDistinctFrames(*AssetGen::FindSheet(name));
    }
}

os::Image LoadSheet(std::string_view name) {
    const ManifestRow* row = AssetGen::FindSheet(name);
    EXPECT_NE(row, nullptr) << name;
    return row != nullptr ? assettest::LoadImage(*row) : os::Image{};
}

const SheetGrid& GridOf(std::string_view name) { return AssetGen::FindSheet(name)->grid; }

TEST(AssetSheets, TheFadeIsOneOpaqueBlackPixel) {
    const os::Image dot = LoadSheet("WhiteDot");
    EXPECT_EQ(dot.pixels, (std::vector<std::uint8_t>{0, 0, 0, 255}));
}

TEST(AssetSheets, FramesLeaveTheirFillsInkVisibleWhereTheLevelsPlaceThem) {
    for (const AssetGen::FrameOverFill& pair : AssetGen::FramesOverFills()) {
        SCOPED_TRACE(std::string(pair.frame) + " over " + std::string(pair.fill));
        const SheetGrid& frameGrid = GridOf(pair.frame);
        const SheetGrid& fillGrid = GridOf(pair.fill);
        // Both are centred on their objects: the cells' corners differ by
        // half the size difference, whole pixels for every pair.
        ASSERT_EQ((fillGrid.frameWidth - frameGrid.frameWidth) % 2, 0);
        ASSERT_EQ((fillGrid.frameHeight - frameGrid.frameHeight) % 2, 0);
        const int shiftX = pair.fillX - (fillGrid.frameWidth - frameGrid.frameWidth) / 2;
        const int shiftY = -pair.fillY - (fillGrid.frameHeight - frameGrid.frameHeight) / 2;
        const os::Image frameImage = LoadSheet(pair.frame);
        const os::Image fillImage = LoadSheet(pair.fill);
        ASSERT_FALSE(frameImage.pixels.empty() || fillImage.pixels.empty());
        const Cell fill = CellOf(fillImage, fillGrid, 0);
        for (int frame = 0; frame < frameGrid.frameCount; ++frame) {
            const Cell over = CellOf(frameImage, frameGrid, frame);
            for (int y = 0; y < fill.Height(); ++y) {
                for (int x = 0; x < fill.Width(); ++x) {
                    const int overX = x + shiftX;
                    const int overY = y + shiftY;
                    if (fill.Alpha(x, y) < 128 || overX < 0 || overY < 0 || overX >= over.Width() ||
                        overY >= over.Height()) {
                        continue;
                    }
                    ASSERT_EQ(over.Alpha(overX, overY), 0)
                        << "frame " << frame << " covers the fill's pixel " << x << ", " << y;
                }
            }
        }
    }
}

TEST(AssetSheets, ColliderTopsAreSolidWhereTheGroundSegmentsLie) {
    // Frame 3t + k of theme t: k 0 and 1 walk along local y +18, pixel row 7
    // across the tile; k 2 is the step edge, its wall at local x -22, pixel
    // column 3, under a top that starts there.
    constexpr int kTopRow = 7;
    constexpr int kWallColumn = 3;
    constexpr std::uint8_t kOpaque = 240;
    const SheetGrid& grid = GridOf("GrassColliderTileset");
    const os::Image image = LoadSheet("GrassColliderTileset");
    ASSERT_FALSE(image.pixels.empty());
    for (int frame = 0; frame < grid.frameCount; ++frame) {
        SCOPED_TRACE("frame " + std::to_string(frame));
        const Cell cell = CellOf(image, grid, frame);
        const bool stepEdge = frame % 3 == 2;
        for (int x = stepEdge ? kWallColumn : 0; x < cell.Width(); ++x) {
            EXPECT_GE(cell.Alpha(x, kTopRow), kOpaque) << "top at column " << x;
        }
        for (int y = kTopRow; stepEdge && y < cell.Height(); ++y) {
            EXPECT_GE(cell.Alpha(kWallColumn, y), kOpaque) << "wall at row " << y;
        }
    }
}

TEST(AssetSheets, ThePlayersHitCircleLiesOnItsInk) {
    // Radius 30 about (0, -14) from the centre of the 96-pixel cell, y up.
    constexpr double kRadius = 30.0;
    constexpr double kCentreY = -14.0;
    for (const char* sheet : {"Player", "PlayerDmg"}) {
        const SheetGrid& grid = GridOf(sheet);
        const os::Image image = LoadSheet(sheet);
        ASSERT_FALSE(image.pixels.empty());
        for (int frame = 0; frame < grid.frameCount; ++frame) {
            const Cell cell = CellOf(image, grid, frame);
            int inside = 0;
            int inked = 0;
            for (int y = 0; y < cell.Height(); ++y) {
                for (int x = 0; x < cell.Width(); ++x) {
                    const double dx = x + 0.5 - cell.Width() / 2.0;
                    const double dy = cell.Height() / 2.0 - (y + 0.5) - kCentreY;
                    if (std::hypot(dx, dy) <= kRadius) {
                        ++inside;
                        inked += cell.Inked(x, y) ? 1 : 0;
                    }
                }
            }
            EXPECT_GE(inked * 10, inside * 7) << sheet << " frame " << frame;
        }
    }
}

}  // namespace
