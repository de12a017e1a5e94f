#include "tundra/Lua_Accessors.h"
#include "tundra/Tundra_SpriteAnimation.h"

// The "SpriteAnimation" table: the name, frame size, frames and loop window
// of the engine animation the wrapper holds.
namespace Lua {
namespace {

using Tundra::SpriteAnimation;

int GetFramesCount(SpriteAnimation& self, lua_State* state) {
    PushResult(state, self.GetEngineAnimation()->GetFramesCount());
    return 1;
}

// (frame index) -> seconds; 0 past the last frame.
int GetFrameDelay(SpriteAnimation& self, lua_State* state) {
    if (ArgumentCount(state) < 1) {
        return 0;
    }
    const std::int32_t frame = GetInt(state, 1);
    PushResult(state, frame >= 0 ? self.GetEngineAnimation()->GetFrame(static_cast<std::uint32_t>(frame)).delay : 0.0f);
    return 1;
}

const MethodTable& SpriteAnimationMethods() {
    static const MethodTable table{
        "SpriteAnimation",
        {
            BindSetter<SpriteAnimation, &SpriteAnimation::SetName>("SetName"),
            BindGetter<SpriteAnimation, &SpriteAnimation::GetName>("GetName"),
            BindGetter<SpriteAnimation, &SpriteAnimation::GetFrameWidth>("GetFrameWidth"),
            BindGetter<SpriteAnimation, &SpriteAnimation::GetFrameHeight>("GetFrameHeight"),
            Bind<SpriteAnimation, &GetFramesCount>("GetFramesCount"),
            Bind<SpriteAnimation, &GetFrameDelay>("GetFrameDelay"),
            BindSetter<SpriteAnimation, &SpriteAnimation::SetLoopStartingFrame>("SetLoopStartingFrame"),
            BindGetter<SpriteAnimation, &SpriteAnimation::GetLoopStartingFrame>("GetLoopStartingFrame"),
            BindSetter<SpriteAnimation, &SpriteAnimation::SetLoopEndingFrame>("SetLoopEndingFrame"),
            BindGetter<SpriteAnimation, &SpriteAnimation::GetLoopEndingFrame>("GetLoopEndingFrame"),
        }};
    return table;
}

const TableRegistration s_spriteAnimationMethodsRegistration{&SpriteAnimationMethods};

}  // namespace
}  // namespace Lua
