#include "tundra/Lua_GameObjectMethods.h"
#include "tundra/Lua_SharedMethods.h"
#include "tundra/Lua_Values.h"
#include "tundra/Tundra_Camera.h"

namespace Lua {
namespace {

int SetFOV(Tundra::Camera& self, lua_State* state) {
    if (ArgumentCount(state) >= 1) {
        self.SetFOV(GetFloat(state, 1));
    }
    return 0;
}

int GetFOV(Tundra::Camera& self, lua_State* state) {
    PushFloat(state, self.GetFOV());
    return 1;
}

int UpdateFromKeyboard(Tundra::Camera& self, lua_State*) {
    self.UpdateFromKeyboard();
    return 0;
}

int MakeActiveListener(Tundra::Camera& self, lua_State*) {
    self.MakeActiveListener();
    return 0;
}

int IsActiveListener(Tundra::Camera& self, lua_State* state) {
    PushBool(state, self.IsActiveListener());
    return 1;
}

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
            Bind<Tundra::Camera, &SetFOV>("SetFOV"),
            Bind<Tundra::Camera, &GetFOV>("GetFOV"),
            Bind<Tundra::Camera, &UpdateFromKeyboard>("UpdateFromKeyboard"),
            Bind<Tundra::Camera, &MakeActiveListener>("MakeActiveListener"),
            Bind<Tundra::Camera, &IsActiveListener>("IsActiveListener"),
            Bind<Core::Object, &CloneObject>("Clone"),
        },
        GameObjectMethods());
    return table;
}

const TableRegistration s_registration{&CameraMethods};

}  // namespace
}  // namespace Lua
