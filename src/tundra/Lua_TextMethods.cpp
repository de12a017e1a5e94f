#include "tundra/Lua_Accessors.h"
#include "tundra/Lua_GameObjectMethods.h"
#include "tundra/Lua_SharedMethods.h"
#include "tundra/Tundra_Text.h"

namespace Lua {
namespace {

const MethodTable& TextMethods() {
    static const MethodTable table = ComposeTable(
        "Text",
        {
            "ObjectFunction", "AddManagedObject", "Mount", "GetMount", "UnMount", "GetMountsCount", "IsMounted",
            "GetMountSupport", "GetLayer", "SetName", "GetName", "GetID", "SetLifeTime", "GetLifeTime", "GetAge",
            "ResetAge", "SetVisible", "GetVisible", "Destroy", "IsDestroyed", "SetPosition", "SetPositionX",
            "SetPositionY", "GetPosition", "GetPositionX", "GetPositionY", "SetOldPosition", "SetZOrder", "GetZOrder",
            "SetRotationAngle", "SetOldRotationAngle", "GetRotationAngle", "SetDirection", "SetDirectionX",
            "SetDirectionY", "GetDirection", "GetDirectionX", "GetDirectionY", "SetScale", "SetScaleX", "SetScaleY",
            "GetScale", "GetScaleX", "GetScaleY", "SetCenter", "SetCenterX", "SetCenterY", "GetCenter", "GetCenterX",
            "GetCenterY", "SetModulationColor", "SetModulationR", "SetModulationG", "SetModulationB",
            "GetModulationColor", "GetModulationR", "GetModulationG", "GetModulationB", "SetOpacity", "GetOpacity",
            "AddCollision", "RemoveCollision", "ObjectInCollision", "GetCollisionId", "GetCollisionObject",
            "GetTileMapCollisionObject", "AddPhysicalProperties", "RemovePhysicalProperties", "SetMassProperties",
            "GetMassProperties", "GetCenterOfMass", "SetVelocity", "GetVelocity", "SetAngularVelocity",
            "GetAngularVelocity", "SetSpeed", "GetSpeed", "SetVelocityDirection", "GetVelocityDirection", "AddForce",
            "RemoveForce", "RemoveAllForces", "GetPhysicsId", "GetNetworkKeyboard", "GetNetworkMouse",
            "GetNetworkOwner", "GetNumberOfCollidedSprites", "GetNumberOfCollidedCircles",
            "GetNumberOfCollidedLineSegments", "GetNumberOfCollidedTileMaps", "GetCollidedSprite", "GetCollidedTileMap",
            "IsCollidedWithSprite", "IsCollidedWithSpriteLineSegment", "IsCollidedWithSpriteCircle",
            "IsCollidedWithLineSegment", "IsCollidedWithCircle", "IsCollidedWithTileMap", "IsMyLineSegmentCollided",
            "IsMyCircleCollided", "GetTileMapNewEntries_UsingBoundingRectangle",
            "GetTileMapStaticEntries_UsingBoundingRectangle", "GetTileMapNewEntries_UsingHotSpot",
            "GetTileMapStaticEntries_UsingHotSpot", "SetScript", "RunScript", "SaveNetworkData", "LoadNetworkData",
            "SetText", "GetText", "SetHUDObject", "IsHUDObject", "Clone"
        },
        {
            Bind<Tundra::GameObject, &SaveNetworkData>("SaveNetworkData"),
            Bind<Tundra::GameObject, &LoadNetworkData>("LoadNetworkData"),
            BindSetter<Tundra::Text, &Tundra::Text::SetText>("SetText"),
            BindGetter<Tundra::Text, &Tundra::Text::GetText>("GetText"),
            BindSetter<Tundra::Text, &Tundra::Text::SetHUDObject>("SetHUDObject"),
            BindGetter<Tundra::Text, &Tundra::Text::IsHUDObject>("IsHUDObject"),
            Bind<Core::Object, &CloneObject>("Clone"),
        },
        GameObjectMethods());
    return table;
}

const TableRegistration s_registration{&TextMethods};

}  // namespace
}  // namespace Lua
