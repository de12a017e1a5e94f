#include "gui/GUI_StringRenderContext.h"

namespace Engine {

TUN_DEFINE_UNREGISTERED_CLASS(StringRenderContext, "Engine::StringRenderContext");

void StringRenderContext::Reset() { *this = StringRenderContext(); }

}  // namespace Engine
