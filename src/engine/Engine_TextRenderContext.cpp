#include "engine/Engine_TextRenderContext.h"

namespace Engine {

TUN_DEFINE_UNREGISTERED_CLASS(TextRenderContext, "Engine::TextRenderContext");

void TextRenderContext::Reset() { *this = TextRenderContext(); }

}  // namespace Engine
