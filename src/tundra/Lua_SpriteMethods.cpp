#include "tundra/Lua_Accessors.h"
#include "tundra/Lua_GameObjectMethods.h"
#include "tundra/Lua_ViewportArgument.h"
#include "tundra/Tundra_Sprite.h"

// The "Sprite" table: the game object's methods, then animation control,
// the view test, the HUD flag and the collision displays.
namespace Lua {
namespace {

using Tundra::Sprite;

// Index, then an optional restart (force) flag, false when left out.
template <void (Sprite::*Set)(int, bool)>
int SetIndex(Sprite& self, lua_State* state) {
    if (ArgumentCount(state) >= 1) {
        (self.*Set)(GetInt(state, 1), GetBool(state, 2));
    }
    return 0;
}

int SetCurrentAnimationName(Sprite& self, lua_State* state) {
    if (const char* name = GetString(state, 1)) {
        self.SetCurrentAnimationName(name, GetBool(state, 2));
    }
    return 0;
}

// Of the animation given by index.
template <int (Sprite::*Get)(int) const>
int GetOfAnimation(Sprite& self, lua_State* state) {
    if (ArgumentCount(state) < 1) {
        return 0;
    }
    PushResult(state, (self.*Get)(GetInt(state, 1)));
    return 1;
}

// (animation, frame) -> seconds.
int GetFrameDelay(Sprite& self, lua_State* state) {
    if (ArgumentCount(state) < 2) {
        return 0;
    }
    PushResult(state, self.GetFrameDelay(GetInt(state, 1), GetInt(state, 2)));
    return 1;
}

int Play(Sprite& self, lua_State*) {
    self.Play(true);
    return 0;
}

const MethodTable& SpriteMethods() {
    static const MethodTable table = ComposeTable(
        "Sprite",
        JoinNames({
            {"ObjectFunction"},
            DerivedObjectNames(),
            {"GetCollidedCircleData", "GetCollidedLineSegmentData", "GetCollidedTileMapData", "GetCollidedSpriteData",
             "SetScript", "RunScript", "AddManagedObject", "SaveNetworkData", "LoadNetworkData", "SetFlipHorizontal",
             "GetFlipHorizontal", "SetFlipVertical", "GetFlipVertical", "GetCurrentFrameDelay", "GetFrameDelay",
             "GetFramesCount", "GetFrameWidth", "GetFrameHeight", "SetCurrentFrameIndex", "GetCurrentFrameIndex",
             "IsEndOfAnimation", "SetLoop", "GetLoop", "GoToFirstFrame", "GoToLastFrame", "SetAnimationSpeed",
             "GetAnimationSpeed", "Play", "Stop", "IsPlaying", "Pause", "IsPaused", "GetAnimationsCount",
             "SetCurrentAnimationIndex", "GetCurrentAnimationIndex", "SetCurrentAnimationName",
             "GetCurrentAnimationName", "IsInViewport", "SetHUDObject", "IsHUDObject", "SetCollisionActorIndex",
             "SetVisibleCollisionData", "GetVisibleCollisionData", "SetCollisionDataColor", "GetCollisionDataColor",
             "SetVisibleBoundingRectangle", "GetVisibleBoundingRectangle", "SetBoundingRectangleColor",
             "GetBoundingRectangleColor", "Clone"},
        }),
        {
            BindSetter<Sprite, &Sprite::SetFlipHorizontal>("SetFlipHorizontal"),
            BindGetter<Sprite, &Sprite::GetFlipHorizontal>("GetFlipHorizontal"),
            BindSetter<Sprite, &Sprite::SetFlipVertical>("SetFlipVertical"),
            BindGetter<Sprite, &Sprite::GetFlipVertical>("GetFlipVertical"),
            BindGetter<Sprite, &Sprite::GetCurrentFrameDelay>("GetCurrentFrameDelay"),
            Bind<Sprite, &GetFrameDelay>("GetFrameDelay"),
            BindGetter<Sprite, &Sprite::GetFramesCount>("GetFramesCount"),
            Bind<Sprite, &GetOfAnimation<&Sprite::GetFrameWidth>>("GetFrameWidth"),
            Bind<Sprite, &GetOfAnimation<&Sprite::GetFrameHeight>>("GetFrameHeight"),
            Bind<Sprite, &SetIndex<&Sprite::SetCurrentFrameIndex>>("SetCurrentFrameIndex"),
            BindGetter<Sprite, &Sprite::GetCurrentFrameIndex>("GetCurrentFrameIndex"),
            BindGetter<Sprite, &Sprite::IsEndOfAnimation>("IsEndOfAnimation"),
            BindSetter<Sprite, &Sprite::SetLoop>("SetLoop"),
            BindGetter<Sprite, &Sprite::GetLoop>("GetLoop"),
            BindOperation<Sprite, &Sprite::GoToFirstFrame>("GoToFirstFrame"),
            BindOperation<Sprite, &Sprite::GoToLastFrame>("GoToLastFrame"),
            BindSetter<Sprite, &Sprite::SetAnimationSpeed>("SetAnimationSpeed"),
            BindGetter<Sprite, &Sprite::GetAnimationSpeed>("GetAnimationSpeed"),
            Bind<Sprite, &Play>("Play"),
            BindOperation<Sprite, &Sprite::Stop>("Stop"),
            BindGetter<Sprite, &Sprite::IsPlaying>("IsPlaying"),
            BindOperation<Sprite, &Sprite::Pause>("Pause"),
            BindGetter<Sprite, &Sprite::IsPaused>("IsPaused"),
            BindGetter<Sprite, &Sprite::GetAnimationsCount>("GetAnimationsCount"),
            Bind<Sprite, &SetIndex<&Sprite::SetCurrentAnimationIndex>>("SetCurrentAnimationIndex"),
            BindGetter<Sprite, &Sprite::GetCurrentAnimationIndex>("GetCurrentAnimationIndex"),
            Bind<Sprite, &SetCurrentAnimationName>("SetCurrentAnimationName"),
            BindGetter<Sprite, &Sprite::GetCurrentAnimationName>("GetCurrentAnimationName"),
            Bind<Sprite, &IsInViewport<Sprite>>("IsInViewport"),
            BindSetter<Sprite, &Sprite::SetHUDObject>("SetHUDObject"),
            BindGetter<Sprite, &Sprite::IsHUDObject>("IsHUDObject"),
            BindSetter<Sprite, &Sprite::SetCollisionActorIndex>("SetCollisionActorIndex"),
            BindSetter<Sprite, &Sprite::SetVisibleCollisionData>("SetVisibleCollisionData"),
            BindGetter<Sprite, &Sprite::GetVisibleCollisionData>("GetVisibleCollisionData"),
            BindSetter<Sprite, &Sprite::SetCollisionDataColor>("SetCollisionDataColor"),
            BindGetter<Sprite, &Sprite::GetCollisionDataColor>("GetCollisionDataColor"),
            BindSetter<Sprite, &Sprite::SetVisibleBoundingRectangle>("SetVisibleBoundingRectangle"),
            BindGetter<Sprite, &Sprite::GetVisibleBoundingRectangle>("GetVisibleBoundingRectangle"),
            BindSetter<Sprite, &Sprite::SetBoundingRectangleColor>("SetBoundingRectangleColor"),
            BindGetter<Sprite, &Sprite::GetBoundingRectangleColor>("GetBoundingRectangleColor"),
        },
        FrameworkObjectMethods());
    return table;
}

const TableRegistration s_spriteMethodsRegistration{&SpriteMethods};

}  // namespace
}  // namespace Lua
