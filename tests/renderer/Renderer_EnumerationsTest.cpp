#include "renderer/Renderer_Enumerations.h"

#include <gtest/gtest.h>

#include <climits>
#include <vector>

namespace {

using namespace Renderer;

struct Mapping {
    GLenum (*map)(std::int32_t);
    std::vector<GLenum> inRange;
    GLenum fallback;
};

// Every value in range maps in order; values just outside, far outside and
// negative take the fall-back.
TEST(Enumerations, ValuesMapInOrderAndOutOfRangeFallsBack) {
    const std::vector<Mapping> mappings{
        {&CompareFunction,
         {GL_NEVER, GL_LESS, GL_EQUAL, GL_LEQUAL, GL_GREATER, GL_GEQUAL, GL_NOTEQUAL, GL_ALWAYS},
         GL_NEVER},
        {&BlendFactor,
         {GL_ZERO, GL_ONE, GL_SRC_COLOR, GL_ONE_MINUS_SRC_COLOR, GL_DST_COLOR, GL_ONE_MINUS_DST_COLOR, GL_SRC_ALPHA,
          GL_ONE_MINUS_SRC_ALPHA, GL_DST_ALPHA, GL_ONE_MINUS_DST_ALPHA, GL_SRC_ALPHA_SATURATE},
         GL_ZERO},
        {&StencilOperation, {GL_KEEP, GL_ZERO, GL_REPLACE, GL_INCR, GL_DECR, GL_INVERT}, GL_KEEP},
        {&FogMode, {GL_LINEAR, GL_EXP}, GL_EXP2},
        {&FillingMode, {GL_POINT, GL_LINE}, GL_FILL},
        {&TextureEnvironmentMode, {GL_REPLACE, GL_DECAL, GL_MODULATE}, GL_BLEND},
        {&TextureWrap, {GL_REPEAT, GL_CLAMP, GL_CLAMP_TO_EDGE, GL_CLAMP_TO_BORDER}, GL_CLAMP},
    };
    for (std::size_t m = 0; m < mappings.size(); ++m) {
        const Mapping& mapping = mappings[m];
        for (std::size_t value = 0; value < mapping.inRange.size(); ++value) {
            EXPECT_EQ(mapping.map(static_cast<std::int32_t>(value)), mapping.inRange[value])
                << "mapping " << m << " value " << value;
        }
        const auto count = static_cast<std::int32_t>(mapping.inRange.size());
        for (const std::int32_t outside : {count, 12, -1, INT_MIN, INT_MAX}) {
            EXPECT_EQ(mapping.map(outside), mapping.fallback) << "mapping " << m << " value " << outside;
        }
    }
    EXPECT_EQ(ShadingMode(1), static_cast<GLenum>(GL_SMOOTH));
    for (const std::int32_t flat : {0, 2, -1}) {
        EXPECT_EQ(ShadingMode(flat), static_cast<GLenum>(GL_FLAT));
    }
}

TEST(Enumerations, FiltersUseMipmapsOnlyWhenTheTextureHasThem) {
    EXPECT_EQ(TextureFilter(0, true).magnification, static_cast<GLenum>(GL_NEAREST));
    EXPECT_EQ(TextureFilter(0, true).minification, static_cast<GLenum>(GL_NEAREST_MIPMAP_NEAREST));
    EXPECT_EQ(TextureFilter(0, false).minification, static_cast<GLenum>(GL_NEAREST));
    EXPECT_EQ(TextureFilter(1, true).magnification, static_cast<GLenum>(GL_LINEAR));
    EXPECT_EQ(TextureFilter(1, true).minification, static_cast<GLenum>(GL_LINEAR_MIPMAP_LINEAR));
    EXPECT_EQ(TextureFilter(1, false).minification, static_cast<GLenum>(GL_LINEAR));
    for (const std::int32_t other : {2, -1}) {
        EXPECT_EQ(TextureFilter(other, true).magnification, static_cast<GLenum>(GL_NEAREST));
        EXPECT_EQ(TextureFilter(other, true).minification, static_cast<GLenum>(GL_NEAREST));
    }
}

TEST(Enumerations, VertexCountsFollowThePrimitiveType) {
    struct Case {
        std::int32_t type;
        std::int32_t primitives;
        std::int32_t vertices;
    };
    for (const Case& c : std::vector<Case>{{kPointList, 5, 5},
                                           {kLineList, 5, 10},
                                           {kLineStrip, 5, 6},
                                           {kTriangleList, 5, 15},
                                           {kTriangleStrip, 1, 3},
                                           {kTriangleFan, 4, 6},
                                           {3, 5, 0},
                                           {7, 5, 0},
                                           {-1, 5, 0},
                                           {kTriangleList, 0, 0},
                                           {kTriangleList, -3, 0},
                                           // More vertices than an int holds: nothing, not a wrapped count.
                                           {kTriangleList, INT_MAX / 2, 0},
                                           {kTriangleStrip, INT_MAX, 0}}) {
        EXPECT_EQ(VertexCount(c.type, c.primitives), c.vertices) << c.type << " x " << c.primitives;
    }
    EXPECT_EQ(PrimitiveMode(kTriangleFan), std::optional<GLenum>(GL_TRIANGLE_FAN));
    EXPECT_FALSE(PrimitiveMode(3).has_value());
}

}  // namespace
