#include "renderer/Renderer_Light.h"

namespace Renderer {

TUN_DEFINE_CLASS_NAMED(Light, "Renderer::Light");
TUN_DEFINE_CLASS_NAMED(DirectionalLight, "Renderer::DirectionalLight");
TUN_DEFINE_CLASS_NAMED(PointLight, "Renderer::PointLight");
TUN_DEFINE_CLASS_NAMED(SpotLight, "Renderer::SpotLight");

namespace {

LightRecord WithColors(const Light& light, std::int32_t kind) {
    LightRecord record;
    record.kind = kind;
    record.ambient = light.ambient;
    record.diffuse = light.diffuse;
    record.specular = light.specular;
    record.enabled = light.enabled;
    return record;
}

template <class Positioned>
void CopyAttenuation(const Positioned& light, LightRecord& record) {
    record.position = light.position;
    record.constantAttenuation = light.constantAttenuation;
    record.linearAttenuation = light.linearAttenuation;
    record.quadraticAttenuation = light.quadraticAttenuation;
}

}  // namespace

std::optional<LightRecord> MakeLightRecord(const Light* light) {
    if (light == nullptr) {
        return LightRecord{};
    }
    if (const auto* directional = dynamic_cast<const DirectionalLight*>(light)) {
        LightRecord record = WithColors(*light, LightRecord::kDirectional);
        record.direction = directional->direction;
        return record;
    }
    if (const auto* point = dynamic_cast<const PointLight*>(light)) {
        LightRecord record = WithColors(*light, LightRecord::kPoint);
        CopyAttenuation(*point, record);
        return record;
    }
    if (const auto* spot = dynamic_cast<const SpotLight*>(light)) {
        LightRecord record = WithColors(*light, LightRecord::kSpot);
        CopyAttenuation(*spot, record);
        record.direction = spot->direction;
        record.spotExponent = spot->spotExponent;
        record.spotCutoff = spot->spotCutoff;
        return record;
    }
    return std::nullopt;
}

}  // namespace Renderer
