#pragma once

#include "core/Core_Object.h"
#include "math/Math_Color.h"
#include "math/Math_Vector3D.h"

#include <cstdint>
#include <optional>

namespace Renderer {

// A light source: its colours and whether it shines. The base class itself
// is no kind of light the renderer knows how to apply.
class Light : public Core::Object {
    TUN_DECLARE_CLASS(Light);

    Color ambient{0.0f, 0.0f, 0.0f, 1.0f};
    Color diffuse{1.0f, 1.0f, 1.0f, 1.0f};
    Color specular{1.0f, 1.0f, 1.0f, 1.0f};
    bool enabled = true;
};

// Light from infinitely far away, shining along its direction.
class DirectionalLight : public Light {
    TUN_DECLARE_CLASS(DirectionalLight);

    Vector3D direction{0.0f, 0.0f, -1.0f};
};

// Light from a point, fading with distance.
class PointLight : public Light {
    TUN_DECLARE_CLASS(PointLight);

    Vector3D position;
    float constantAttenuation = 1.0f;
    float linearAttenuation = 0.0f;
    float quadraticAttenuation = 0.0f;
};

// Light from a point into a cone around its direction (cut-off in degrees).
class SpotLight : public Light {
    TUN_DECLARE_CLASS(SpotLight);

    Vector3D position;
    Vector3D direction{0.0f, 0.0f, -1.0f};
    float spotExponent = 0.0f;
    float spotCutoff = 180.0f;
    float constantAttenuation = 1.0f;
    float linearAttenuation = 0.0f;
    float quadraticAttenuation = 0.0f;
};

// What is applied to one OpenGL light. The default record is a disabled
// directional light shining down -z.
struct LightRecord {
    enum Kind : std::int32_t { kPoint = 0, kSpot = 1, kDirectional = 2 };

    std::int32_t kind = kDirectional;
    Color ambient{0.0f, 0.0f, 0.0f, 1.0f};
    Color diffuse{1.0f, 1.0f, 1.0f, 1.0f};
    Color specular{1.0f, 1.0f, 1.0f, 1.0f};
    Vector3D position;
    Vector3D direction{0.0f, 0.0f, -1.0f};
    float spotExponent = 0.0f;
    float spotCutoff = 180.0f;
    float constantAttenuation = 1.0f;
    float linearAttenuation = 0.0f;
    float quadraticAttenuation = 0.0f;
    bool enabled = false;
};

// The record for a light: the default record for none, nothing for a light
// of a class the renderer does not know.
std::optional<LightRecord> MakeLightRecord(const Light* light);

}  // namespace Renderer
