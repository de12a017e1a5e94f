#include "renderer/Renderer_TextureUnitStates.h"

namespace Renderer {

TUN_DEFINE_CLASS_NAMED(TextureUnit0State, "Renderer::TextureUnit0State");
TUN_DEFINE_CLASS_NAMED(TextureUnit1State, "Renderer::TextureUnit1State");
TUN_DEFINE_CLASS_NAMED(TextureUnit2State, "Renderer::TextureUnit2State");
TUN_DEFINE_CLASS_NAMED(TextureUnit3State, "Renderer::TextureUnit3State");
TUN_DEFINE_CLASS_NAMED(TextureUnit4State, "Renderer::TextureUnit4State");
TUN_DEFINE_CLASS_NAMED(TextureUnit5State, "Renderer::TextureUnit5State");
TUN_DEFINE_CLASS_NAMED(TextureUnit6State, "Renderer::TextureUnit6State");
TUN_DEFINE_CLASS_NAMED(TextureUnit7State, "Renderer::TextureUnit7State");

}  // namespace Renderer
