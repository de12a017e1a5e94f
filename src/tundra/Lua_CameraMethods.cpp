#include "tundra/Lua_Accessors.h"
#include "tundra/Lua_GameObjectMethods.h"
#include "tundra/Lua_SharedMethods.h"
#include "tundra/Tundra_Camera.h"

namespace Lua {
namespace {

const MethodTable& CameraMethods() {
    static const MethodTable table = ComposeTable(
        "Camera",
        {
            "ObjectFunction", "Mount", "GetMount", "UnMount", "GetMountsCount", "IsMounted", "GetMountSupport",
            "GetLayer", "SetName", "GetName", "GetID", "SetLifeTime", "GetLifeTime", "GetAge", "ResetAge", "SetVisible",
            "GetVisible", "Destroy", "IsDestroyed", "SetPosition", "SetPositionX", "SetPositionY", "GetPosition",
            "GetPositionX", "GetPositionY", "SetOldPosition", "SetZOrder", "GetZOrder", "SetRotationAngle",
            "SetOldRotationAngle", "GetRotationAngle", "SetDirection", "SetDirectionX", "SetDirectionY", "GetDirection",
            "GetDirectionX", "GetDirectionY", "SetScale", "SetScaleX", "SetScaleY", "GetScale", "GetScaleX",
            "GetScaleY", "SetCenter", "SetCenterX", "SetCenterY", "GetCenter", "GetCenterX", "GetCenterY",
            "SetModulationColor", "SetModulationR", "SetModulationG", "SetModulationB", "GetModulationColor",
            "GetModulationR", "GetModulationG", "GetModulationB", "SetOpacity", "GetOpacity", "AddCollision",
            "RemoveCollision", "ObjectInCollision", "GetCollisionId", "GetCollisionObject", "GetTileMapCollisionObject",
            "AddPhysicalProperties", "RemovePhysicalProperties", "SetMassProperties", "GetMassProperties",
            "GetCenterOfMass", "SetVelocity", "GetVelocity", "SetAngularVelocity", "GetAngularVelocity", "SetSpeed",
            "GetSpeed", "SetVelocityDirection", "GetVelocityDirection", "AddForce", "RemoveForce", "RemoveAllForces",
            "GetPhysicsId", "GetNetworkKeyboard", "GetNetworkMouse", "GetNetworkOwner", "GetNumberOfCollidedSprites",
            "GetNumberOfCollidedCircles", "GetNumberOfCollidedLineSegments", "GetNumberOfCollidedTileMaps",
            "GetCollidedSprite", "GetCollidedTileMap", "IsCollidedWithSprite", "IsCollidedWithSpriteLineSegment",
            "IsCollidedWithSpriteCircle", "IsCollidedWithLineSegment", "IsCollidedWithCircle", "IsCollidedWithTileMap",
            "IsMyLineSegmentCollided", "IsMyCircleCollided", "GetTileMapNewEntries_UsingBoundingRectangle",
            "GetTileMapStaticEntries_UsingBoundingRectangle", "GetTileMapNewEntries_UsingHotSpot",
            "GetTileMapStaticEntries_UsingHotSpot", "SetScript", "RunScript", "SaveNetworkData", "LoadNetworkData",
            "AddManagedObject", "SetFOV", "GetFOV", "UpdateFromKeyboard", "MakeActiveListener", "IsActiveListener",
            "Clone"
        },
        {
            Bind<Tundra::GameObject, &SaveNetworkData>("SaveNetworkData"),
            Bind<Tundra::GameObject, &LoadNetworkData>("LoadNetworkData"),
            BindSetter<Tundra::Camera, &Tundra::Camera::SetFOV>("SetFOV"),
            BindGetter<Tundra::Camera, &Tundra::Camera::GetFOV>("GetFOV"),
            BindOperation<Tundra::Camera, &Tundra::Camera::UpdateFromKeyboard>("UpdateFromKeyboard"),
            BindOperation<Tundra::Camera, &Tundra::Camera::MakeActiveListener>("MakeActiveListener"),
            BindGetter<Tundra::Camera, &Tundra::Camera::IsActiveListener>("IsActiveListener"),
            Bind<Core::Object, &CloneObject>("Clone"),
        },
        GameObjectMethods());
    return table;
}

const TableRegistration s_registration{&CameraMethods};

}  // namespace
}  // namespace Lua
