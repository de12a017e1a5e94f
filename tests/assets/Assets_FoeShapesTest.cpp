#include <gtest/gtest.h>

#include <string>

#include "AssetGen_Manifest.h"
#include "Assets_Tree.h"

namespace {

// A collision circle of an enemy or boss actor and the frames of its sheet
// that carry it: bullets and the player meet the art only where the circle
// lies on the ink.
struct HitCircle {
    const char* sheet;
    int firstFrame;
    int lastFrame;
    double x;
    double y;
    double radius;
};

constexpr HitCircle kHitCircles[] = {
    {"Range1Shoot", 0, 2, 0, -20, 24},
    {"Range2Shoot", 0, 2, 0, -19, 26},
    {"Range3Shoot", 0, 2, 0, -15, 30},
    {"Flying1", 0, 3, 0, -18, 16},
    {"Flying2", 0, 3, 0, -18, 16},
    {"Flying3", 0, 3, 0, -12, 23},
    {"Rolling1", 0, 2, 0, 0, 24},
    {"Rolling2", 0, 2, 0, 0, 24},
    {"Rolling3", 0, 2, 0, 0, 26},
    {"Range1P", 0, 0, 0, 0, 12},
    {"Range2P", 0, 0, 0, 0, 11},
    {"Range3P", 0, 0, 0, 0, 12},
    {"Flying1P", 0, 0, -2, 0, 8},
    {"Flying2P", 0, 0, -2, 0, 8},
    {"Flying3P", 0, 0, -2, 0, 8},
    {"UnLeft", 0, 0, 0, 0, 46},
    {"UnRight", 0, 0, -4, -2, 41},
    {"UnknownBoss", 0, 0, -24, -42, 89},
    {"BearBossBody", 0, 0, 4, 54, 81},
    {"BearBossBody", 1, 1, 4, 44, 81},
    {"BearBossBody", 0, 1, 0, -89, 84},
    {"BearBossLightAtt", 0, 2, 4, 54, 81},
    {"BearBossLightAtt", 0, 2, 0, -89, 84},
    {"Alpaca", 0, 1, -35, 28, 86},
    {"Alpaca", 0, 1, -13, -115, 87},
    {"BearBall", 0, 0, 1, 0, 33},
    {"AlpacaBomb", 1, 3, 0, -1, 35},
    // The fist (radius 37) is as wide as its 74-pixel cell, whose margins
    // stay clear; the drawn fist covers all but that rim.
    {"BearBossArm", 0, 1, 0, -126, 34},
};

TEST(AssetFoes, HitCirclesLieOnTheirInk) {
    for (const HitCircle& circle : kHitCircles) {
        const AssetGen::ManifestRow* row = AssetGen::FindSheet(circle.sheet);
        ASSERT_NE(row, nullptr) << circle.sheet;
        const os::Image image = assettest::LoadImage(*row);
        ASSERT_FALSE(image.pixels.empty()) << circle.sheet;
        for (int frame = circle.firstFrame; frame <= circle.lastFrame; ++frame) {
            const assettest::Cell cell = assettest::CellOf(image, row->grid, frame);
            EXPECT_GE(assettest::InkedShareOfCircle(cell, circle.x, circle.y, circle.radius), 0.95)
                << circle.sheet << " frame " << frame << " circle at " << circle.x << ", " << circle.y;
        }
    }
}

TEST(AssetFoes, TheLightningColumnGlowsAcrossTheBandItHurts) {
    // The column hurts within 40 of its centre line: along the whole bolt the
    // band 30 either side of the line shows, fading out toward its edges.
    const AssetGen::ManifestRow* row = AssetGen::FindSheet("BearLightning");
    ASSERT_NE(row, nullptr);
    const os::Image image = assettest::LoadImage(*row);
    ASSERT_FALSE(image.pixels.empty());
    for (int frame = 1; frame < row->grid.frameCount; ++frame) {
        const assettest::Cell cell = assettest::CellOf(image, row->grid, frame);
        const int centre = cell.Height() / 2;
        for (int x = 0; x < cell.Width(); x += 50) {
            EXPECT_GT(cell.Alpha(x, centre - 30), 0) << "frame " << frame << " column " << x;
            EXPECT_GT(cell.Alpha(x, centre + 30), 0) << "frame " << frame << " column " << x;
            EXPECT_GE(cell.Alpha(x, centre), assettest::Cell::kInkAlpha) << "frame " << frame << " column " << x;
        }
    }
}

}  // namespace
