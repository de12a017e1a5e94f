#include "renderer/Renderer_Light.h"

#include <gtest/gtest.h>

namespace {

using namespace Renderer;

TEST(LightRecords, EachLightClassBecomesItsKindOfRecord) {
    const std::optional<LightRecord> none = MakeLightRecord(nullptr);
    ASSERT_TRUE(none.has_value());
    EXPECT_EQ(none->kind, LightRecord::kDirectional);
    EXPECT_FALSE(none->enabled);
    EXPECT_EQ(none->direction.z, -1.0f);
    EXPECT_EQ(none->spotCutoff, 180.0f);
    EXPECT_EQ(none->diffuse.r, 1.0f);
    EXPECT_EQ(none->ambient.r, 0.0f);

    DirectionalLight directional;
    directional.direction = {1.0f, 2.0f, 3.0f};
    directional.diffuse = {0.5f, 0.5f, 0.5f, 1.0f};
    const std::optional<LightRecord> sun = MakeLightRecord(&directional);
    ASSERT_TRUE(sun.has_value());
    EXPECT_EQ(sun->kind, LightRecord::kDirectional);
    EXPECT_EQ(sun->direction.y, 2.0f);
    EXPECT_EQ(sun->diffuse.r, 0.5f);
    EXPECT_TRUE(sun->enabled);

    PointLight point;
    point.position = {4.0f, 5.0f, 6.0f};
    point.quadraticAttenuation = 0.25f;
    const std::optional<LightRecord> bulb = MakeLightRecord(&point);
    ASSERT_TRUE(bulb.has_value());
    EXPECT_EQ(bulb->kind, LightRecord::kPoint);
    EXPECT_EQ(bulb->position.z, 6.0f);
    EXPECT_EQ(bulb->quadraticAttenuation, 0.25f);
    EXPECT_EQ(bulb->spotCutoff, 180.0f);

    SpotLight spot;
    spot.spotCutoff = 30.0f;
    spot.spotExponent = 2.0f;
    spot.direction = {0.0f, -1.0f, 0.0f};
    spot.enabled = false;
    const std::optional<LightRecord> lamp = MakeLightRecord(&spot);
    ASSERT_TRUE(lamp.has_value());
    EXPECT_EQ(lamp->kind, LightRecord::kSpot);
    EXPECT_EQ(lamp->spotCutoff, 30.0f);
    EXPECT_EQ(lamp->spotExponent, 2.0f);
    EXPECT_EQ(lamp->direction.y, -1.0f);
    EXPECT_FALSE(lamp->enabled);

    // The base class is no kind of light: nothing is applied for it.
    const Light plain;
    EXPECT_FALSE(MakeLightRecord(&plain).has_value());
}

}  // namespace
