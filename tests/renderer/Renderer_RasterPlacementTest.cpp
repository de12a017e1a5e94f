#include "renderer/Renderer_DrawSurfaceCommand.h"

#include <gtest/gtest.h>

#include <climits>
#include <tuple>
#include <vector>

// Where the overlay puts a surface rectangle: clipping to the window,
// skipping exactly what was clipped, mirrored axes, and rectangles that do
// not fit their image.
namespace {

using Renderer::PlaceRaster;
using Renderer::RasterPlacement;

auto Fields(const RasterPlacement& p) {
    return std::tuple(p.rasterX, p.rasterY, p.width, p.height, p.skipPixels, p.skipRows);
}

struct Case {
    const char* what;
    std::int32_t x, y, left, top, right, bottom;
    bool flipX, flipY;
    RasterPlacement expected;
};

// A 10 x 8 image in a 100 x 50 window.
TEST(RasterPlacement, ClipsToTheWindowAndSkipsWhatWasClipped) {
    const std::vector<Case> cases{
        {"whole image inside", 20, 10, 0, 0, 10, 8, false, false, {20, 10, 10, 8, 0, 0}},
        {"sub-rectangle", 20, 10, 2, 3, 6, 8, false, false, {20, 10, 4, 5, 2, 3}},
        {"left edge cut", -3, 10, 0, 0, 10, 8, false, false, {0, 10, 7, 8, 3, 0}},
        {"bottom edge cut", 20, -5, 0, 0, 10, 8, false, false, {20, 0, 10, 3, 0, 5}},
        // Cut on the right only: nothing is skipped, the start stays at the left.
        {"right edge cut", 95, 10, 0, 0, 10, 8, false, false, {95, 10, 5, 8, 0, 0}},
        {"top edge cut", 20, 45, 0, 0, 10, 8, false, false, {20, 45, 10, 5, 0, 0}},
        {"shifted source, right cut", 95, 10, 4, 0, 10, 8, false, false, {95, 10, 5, 8, 4, 0}},
        // Mirrored: drawn back from the far edge, so the far-side cut is skipped.
        {"mirrored x inside", 20, 10, 0, 0, 10, 8, true, false, {30, 10, 10, 8, 0, 0}},
        {"mirrored x, right cut", 95, 10, 0, 0, 10, 8, true, false, {100, 10, 5, 8, 5, 0}},
        {"mirrored x, left cut", -3, 10, 0, 0, 10, 8, true, false, {7, 10, 7, 8, 0, 0}},
        {"mirrored y, top cut", 20, 45, 0, 0, 10, 8, false, true, {20, 50, 10, 5, 0, 3}},
        {"mirrored both, bottom-left cut", -1, -2, 0, 0, 10, 8, true, true, {9, 6, 9, 6, 0, 0}},
        // A rectangle reaching past the image is cut to it, never read beyond.
        {"right past image", 0, 0, 5, 0, 40, 8, false, false, {0, 0, 5, 8, 5, 0}},
        {"negative source corner", 0, 0, -4, -4, 3, 3, false, false, {0, 0, 3, 3, 0, 0}},
    };
    for (const Case& c : cases) {
        const auto placement =
            PlaceRaster(10, 8, c.x, c.y, c.left, c.top, c.right, c.bottom, c.flipX, c.flipY, 100, 50);
        ASSERT_TRUE(placement.has_value()) << c.what;
        EXPECT_EQ(Fields(*placement), Fields(c.expected)) << c.what;
    }
}

TEST(RasterPlacement, NothingIsPlacedWhenNoPixelIsVisible) {
    struct Outside {
        const char* what;
        std::int32_t x, y, left, top, right, bottom;
    };
    for (const Outside& c : std::vector<Outside>{{"left of the window", -10, 0, 0, 0, 10, 8},
                                                  {"right of the window", 100, 0, 0, 0, 10, 8},
                                                  {"below", 0, -8, 0, 0, 10, 8},
                                                  {"above", 0, 50, 0, 0, 10, 8},
                                                  {"empty source", 0, 0, 5, 0, 5, 8},
                                                  {"inverted source", 0, 0, 8, 0, 2, 8},
                                                  {"source right of the image", 0, 0, 12, 0, 20, 8},
                                                  {"far away", INT_MAX, INT_MAX, 0, 0, INT_MAX, INT_MAX},
                                                  {"far before", INT_MIN, INT_MIN, INT_MIN, INT_MIN, 10, 8}}) {
        EXPECT_FALSE(PlaceRaster(10, 8, c.x, c.y, c.left, c.top, c.right, c.bottom, false, false, 100, 50))
            << c.what;
    }
    EXPECT_FALSE(PlaceRaster(10, 8, 0, 0, 0, 0, 10, 8, false, false, 0, 0));
    EXPECT_FALSE(PlaceRaster(0, 0, 0, 0, 0, 0, 10, 8, false, false, 100, 50));
}

}  // namespace
