#include "renderer/Renderer_Light.h"

#include <gtest/gtest.h>

namespace {

using namespace Renderer;

TEST(LightRecords, EachLightClassBecomesItsKindOfRecord) {
    // No light: a disabled directional light shining down -z.
    const std::optional<LightRecord> none = MakeLightRecord(nullptr);
    ASSERT_TRUE(none.has_value());
    EXPECT_TRUE(none->kind == LightRecord::kDirectional && !none->enabled && none->direction.z == -1.0f);
    EXPECT_TRUE(none->spotCutoff == 180.0f && none->diffuse.r == 1.0f && none->ambient.r == 0.0f);

    DirectionalLight directional;
    directional.direction = {1.0f, 2.0f, 3.0f};
    directional.diffuse = {0.5f, 0.5f, 0.5f, 1.0f};
    const std::optional<LightRecord> sun = MakeLightRecord(&directional);
    ASSERT_TRUE(sun.has_value());
    EXPECT_TRUE(sun->kind == LightRecord::kDirectional && sun->enabled);
    EXPECT_TRUE(sun->direction.y == 2.0f && sun->diffuse.r == 0.5f);

    PointLight point;
    point.position = {4.0f, 5.0f, 6.0f};
    point.quadraticAttenuation = 0.25f;
    const std::optional<LightRecord> bulb = MakeLightRecord(&point);
    ASSERT_TRUE(bulb.has_value());
    EXPECT_TRUE(bulb->kind == LightRecord::kPoint && bulb->spotCutoff == 180.0f);
    EXPECT_TRUE(bulb->position.z == 6.0f && bulb->quadraticAttenuation == 0.25f);

    SpotLight spot;
    spot.spotCutoff = 30.0f;
    spot.spotExponent = 2.0f;
    spot.direction = {0.0f, -1.0f, 0.0f};
    spot.enabled = false;
    const std::optional<LightRecord> lamp = MakeLightRecord(&spot);
    ASSERT_TRUE(lamp.has_value());
    EXPECT_TRUE(lamp->kind == LightRecord::kSpot && !lamp->enabled);
    EXPECT_TRUE(lamp->spotCutoff == 30.0f && lamp->spotExponent == 2.0f && lamp->direction.y == -1.0f);

    // The base class is no kind of light: nothing is applied for it.
    const Light plain;
    EXPECT_FALSE(MakeLightRecord(&plain).has_value());
}

}  // namespace
