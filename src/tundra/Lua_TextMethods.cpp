#include "tundra/Lua_GameObjectMethods.h"
#include "tundra/Lua_SharedMethods.h"
#include "tundra/Lua_Values.h"
#include "tundra/Tundra_Text.h"

namespace Lua {
namespace {

int SetText(Tundra::Text& self, lua_State* state) {
    if (const char* text = GetString(state, 1)) {
        self.SetText(text);
    }
    return 0;
}

int GetText(Tundra::Text& self, lua_State* state) {
    PushString(state, self.GetText().c_str());
    return 1;
}

int SetHUDObject(Tundra::Text& self, lua_State* state) {
    if (ArgumentCount(state) >= 1) {
        self.SetHUDObject(GetBool(state, 1));
    }
    return 0;
}

int IsHUDObject(Tundra::Text& self, lua_State* state) {
    PushBool(state, self.IsHUDObject());
    return 1;
}

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
            Bind<Tundra::Text, &SetText>("SetText"),
            Bind<Tundra::Text, &GetText>("GetText"),
            Bind<Tundra::Text, &SetHUDObject>("SetHUDObject"),
            Bind<Tundra::Text, &IsHUDObject>("IsHUDObject"),
            Bind<Core::Object, &CloneObject>("Clone"),
        },
        GameObjectMethods());
    return table;
}

const TableRegistration s_registration{&TextMethods};

}  // namespace
}  // namespace Lua
