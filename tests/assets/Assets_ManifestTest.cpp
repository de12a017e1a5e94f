#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>

#include "AssetGen_Files.h"
#include "AssetGen_Manifest.h"
#include "AssetGen_SheetImage.h"

using AssetGen::Family;
using AssetGen::FileKind;
using AssetGen::ManifestRow;

namespace {

int CountKind(FileKind kind) {
    int count = 0;
    for (const ManifestRow& row : AssetGen::Manifest()) {
        count += row.kind == kind ? 1 : 0;
    }
    return count;
}

}  // namespace

TEST(AssetManifest, NamesEachFileOnceWithTheSheetsTheLevelsLoad) {
    std::set<std::string> paths;
    std::int64_t sheetPixels = 0;
    for (const ManifestRow& row : AssetGen::Manifest()) {
        EXPECT_TRUE(paths.insert(row.path).second) << row.path;
        if (row.kind == FileKind::Sheet) {
            const AssetGen::SheetGrid& grid = row.grid;
            // The top row of cells holds a frame, or the grid would have a row too many.
            EXPECT_GT(grid.frameCount, grid.columns * (grid.rows - 1)) << row.path;
            EXPECT_LE(grid.frameCount, grid.columns * grid.rows) << row.path;
            EXPECT_NE(row.family, Family::None) << row.path;
            sheetPixels += std::int64_t{grid.ImageWidth()} * grid.ImageHeight();
        }
    }
    EXPECT_EQ(CountKind(FileKind::Sheet), 115);
    EXPECT_NEAR(static_cast<double>(sheetPixels), 11.75e6, 0.01e6);
    EXPECT_EQ(CountKind(FileKind::Sound), 22);
    EXPECT_EQ(CountKind(FileKind::Path), 5);
    EXPECT_EQ(CountKind(FileKind::Collision), 9);

    struct Spot {
        const char* sheet;
        int imageWidth, imageHeight, frames;
    };
    for (const Spot& spot : {Spot{"ButtonTemplate", 456, 120, 3}, Spot{"PlayerDeath", 480, 768, 17},
                             Spot{"GrassTileset", 200, 200, 15}, Spot{"Lightning", 1200, 480, 6},
                             Spot{"BearLightning", 1800, 400, 10}, Spot{"AlpacaDead", 1280, 1260, 12},
                             Spot{"UnknownDead", 1830, 840, 6}, Spot{"volumeBG", 200, 72, 1},
                             Spot{"Sky1Gradient", 1, 768, 1}, Spot{"FramePipe", 1, 9, 1}, Spot{"FrameBG", 1, 1, 1},
                             Spot{"WhiteDot", 1, 1, 1}}) {
        const ManifestRow* row = AssetGen::FindSheet(spot.sheet);
        ASSERT_NE(row, nullptr) << spot.sheet;
        EXPECT_EQ(row->grid.ImageWidth(), spot.imageWidth) << spot.sheet;
        EXPECT_EQ(row->grid.ImageHeight(), spot.imageHeight) << spot.sheet;
        EXPECT_EQ(row->grid.frameCount, spot.frames) << spot.sheet;
    }
    EXPECT_NE(AssetGen::FindRow("Layers Collisions/level2_layer2.txt"), nullptr);
    EXPECT_NE(AssetGen::FindRow("Sounds/music (9).ogg"), nullptr);
}

TEST(AssetManifest, EverySheetHasExactlyOneDrawingFunctionInItsFamily) {
    std::map<std::string, int> drawn;
    for (Family family : {Family::Interface, Family::World, Family::Player, Family::Enemy, Family::Boss}) {
        for (const AssetGen::SheetArt& art : AssetGen::FamilyArt(family)) {
            const ManifestRow* row = AssetGen::FindSheet(art.sheet);
            ASSERT_NE(row, nullptr) << "no manifest row for " << art.sheet;
            EXPECT_EQ(row->family, family) << art.sheet << " is drawn by another family";
            EXPECT_NE(art.draw, nullptr) << art.sheet;
            ++drawn[std::string(art.sheet)];
        }
    }
    for (const ManifestRow& row : AssetGen::Manifest()) {
        if (row.kind == FileKind::Sheet) {
            EXPECT_EQ(drawn[std::string(row.SheetName())], 1) << row.SheetName();
        }
    }
}

TEST(AssetManifest, EveryOtherFileHasExactlyOneMaker) {
    std::map<std::string, int> made;
    for (auto list : {AssetGen::ResourceFiles(), AssetGen::GuiFiles()}) {
        for (const AssetGen::FileArt& art : list) {
            const ManifestRow* row = AssetGen::FindRow(art.file);
            ASSERT_NE(row, nullptr) << "no manifest row for " << art.file;
            EXPECT_NE(row->kind, FileKind::Sheet) << art.file;
            EXPECT_NE(row->kind, FileKind::Sound) << art.file;
            ++made[std::string(art.file)];
        }
    }
    for (const ManifestRow& row : AssetGen::Manifest()) {
        if (row.kind != FileKind::Sheet && row.kind != FileKind::Sound) {
            EXPECT_EQ(made[row.path], 1) << row.path;
        }
    }
}
