#include "renderer/Renderer_Material.h"

namespace Renderer {

TUN_DEFINE_CLASS_NAMED(Material, "Renderer::Material");

void Material::Reset() {
    *this = Material();
    diffuse = Color(0.0f, 0.0f, 0.0f, 1.0f);
}

}  // namespace Renderer
