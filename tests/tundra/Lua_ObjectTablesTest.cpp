#include "tundra/Lua_GameObjectMethods.h"
#include "tundra/Tundra_Camera.h"
#include "tundra/Tundra_Text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

using Names = std::vector<std::string>;

const Names kGameObjectNames = {
    "ObjectFunction", "AddManagedObject", "Mount", "GetMount", "UnMount", "GetMountsCount", "IsMounted",
    "GetMountSupport", "GetLayer", "SetName", "GetName", "GetID", "SetLifeTime", "GetLifeTime", "GetAge", "ResetAge",
    "SetVisible", "GetVisible", "Destroy", "IsDestroyed", "SetPosition", "SetPositionX", "SetPositionY", "GetPosition",
    "GetPositionX", "GetPositionY", "SetOldPosition", "SetZOrder", "GetZOrder", "SetRotationAngle",
    "SetOldRotationAngle", "GetRotationAngle", "SetDirection", "SetDirectionX", "SetDirectionY", "GetDirection",
    "GetDirectionX", "GetDirectionY", "SetScale", "SetScaleX", "SetScaleY", "GetScale", "GetScaleX", "GetScaleY",
    "SetCenter", "SetCenterX", "SetCenterY", "GetCenter", "GetCenterX", "GetCenterY", "SetModulationColor",
    "SetModulationR", "SetModulationG", "SetModulationB", "GetModulationColor", "GetModulationR", "GetModulationG",
    "GetModulationB", "SetOpacity", "GetOpacity", "AddCollision", "RemoveCollision", "ObjectInCollision",
    "GetCollisionId", "GetCollisionObject", "GetTileMapCollisionObject", "AddPhysicalProperties",
    "RemovePhysicalProperties", "SetMassProperties", "GetMassProperties", "GetCenterOfMass", "SetVelocity",
    "GetVelocity", "SetAngularVelocity", "GetAngularVelocity", "SetSpeed", "GetSpeed", "SetVelocityDirection",
    "GetVelocityDirection", "AddForce", "RemoveForce", "RemoveAllForces", "GetPhysicsId", "GetNetworkKeyboard",
    "GetNetworkMouse", "GetNetworkOwner", "ChangeNetworkOwner", "GetNumberOfCollidedSprites",
    "GetNumberOfCollidedCircles", "GetNumberOfCollidedLineSegments", "GetNumberOfCollidedTileMaps", "GetCollidedSprite",
    "GetCollidedTileMap", "IsCollidedWithSprite", "IsCollidedWithSpriteLineSegment", "IsCollidedWithSpriteCircle",
    "IsCollidedWithLineSegment", "IsCollidedWithCircle", "IsCollidedWithTileMap", "IsMyLineSegmentCollided",
    "IsMyCircleCollided", "GetTileMapNewEntries_UsingBoundingRectangle",
    "GetTileMapStaticEntries_UsingBoundingRectangle", "GetTileMapNewEntries_UsingHotSpot",
    "GetTileMapStaticEntries_UsingHotSpot", "GetCollidedCircleData", "GetCollidedLineSegmentData",
    "GetCollidedTileMapData", "GetCollidedSpriteData", "SetScript", "RunScript",
};

// The derived tables leave out the object-only entries, then add their own.
Names WithoutObjectOnlyEntries(const std::vector<std::string>& leftOut) {
    Names names;
    for (const std::string& name : kGameObjectNames) {
        if (std::find(leftOut.begin(), leftOut.end(), name) == leftOut.end()) {
            names.push_back(name);
        }
    }
    return names;
}

const Names kObjectOnly = {"ChangeNetworkOwner", "GetCollidedCircleData", "GetCollidedLineSegmentData",
                           "GetCollidedTileMapData", "GetCollidedSpriteData"};

Names TextNames() {
    Names names = WithoutObjectOnlyEntries(kObjectOnly);
    names.insert(names.end(), {"SaveNetworkData", "LoadNetworkData", "SetText", "GetText", "SetHUDObject",
                               "IsHUDObject", "Clone"});
    return names;
}

Names SoundNames() {
    Names names = WithoutObjectOnlyEntries(kObjectOnly);
    names.insert(names.end(), {"SaveNetworkData", "LoadNetworkData", "GetFileName", "Play", "Stop", "Pause", "Rewind",
                               "IsPlaying", "SetVolume", "GetVolume", "SetPitch", "GetPitch", "SetIntensity",
                               "GetIntensity", "SetLooping", "GetLooping", "Clone"});
    return names;
}

Names CameraNames() {
    Names leftOut = kObjectOnly;
    leftOut.push_back("AddManagedObject");
    Names names = WithoutObjectOnlyEntries(leftOut);
    names.insert(names.end(), {"SaveNetworkData", "LoadNetworkData", "AddManagedObject", "SetFOV", "GetFOV",
                               "UpdateFromKeyboard", "MakeActiveListener", "IsActiveListener", "Clone"});
    return names;
}

Names NamesOf(const Lua::MethodTable& table) {
    Names names;
    for (const Lua::Method& method : table.methods) {
        names.emplace_back(method.name);
    }
    return names;
}

const Lua::MethodTable& Table(const char* scriptName) {
    const Lua::MethodTable* table = Lua::FindTable(scriptName);
    EXPECT_NE(table, nullptr) << scriptName;
    return table != nullptr ? *table : Lua::GameObjectMethods();
}

}  // namespace

TEST(ObjectTables, HoldTheirMethodsInOrderEachBoundWithTheClassItTakes) {
    const struct {
        const char* scriptName;
        Names names;
        std::size_t count;
    } cases[] = {{"GameObject", kGameObjectNames, 111}, {"Text", TextNames(), 113}, {"Camera", CameraNames(), 114},
                 {"Sound", SoundNames(), 123}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.scriptName);
        const Lua::MethodTable& table = Table(c.scriptName);
        EXPECT_FALSE(table.holdsValues);
        EXPECT_EQ(c.names.size(), c.count);
        EXPECT_EQ(NamesOf(table), c.names);
        for (const Lua::Method& method : table.methods) {
            EXPECT_NE(method.binding, nullptr) << method.name;
            EXPECT_NE(method.accepts, nullptr) << method.name;
        }
    }
    EXPECT_EQ(&Table("GameObject"), &Lua::GameObjectMethods());
}

TEST(ObjectTables, ShareOneBindingPerNameAndTakeTheMostGeneralClass) {
    const Lua::MethodTable& object = Table("GameObject");
    const Lua::MethodTable& text = Table("Text");
    const Lua::MethodTable& camera = Table("Camera");
    for (const Lua::MethodTable* derived : {&text, &camera}) {
        for (const Lua::Method& method : derived->methods) {
            const Lua::Method* base = Lua::FindMethod(object, method.name);
            const Lua::Method* sibling = Lua::FindMethod(derived == &text ? camera : text, method.name);
            for (const Lua::Method* other : {base, sibling}) {
                if (other != nullptr) {
                    EXPECT_EQ(other->binding, method.binding) << derived->scriptName << " " << method.name;
                    EXPECT_EQ(other->accepts, method.accepts) << derived->scriptName << " " << method.name;
                }
            }
        }
    }

    const Core::RefPtr<Tundra::GameObject> plain = TUN_NEW(Tundra::GameObject);
    const Core::RefPtr<Tundra::Text> aText = TUN_NEW(Tundra::Text);
    const Core::RefPtr<Tundra::Camera> aCamera = TUN_NEW(Tundra::Camera);
    const struct {
        const Lua::MethodTable& table;
        const char* name;
        bool onObject, onText, onCamera;
    } receivers[] = {
        {object, "SetPosition", true, true, true},   {text, "ObjectFunction", true, true, true},
        {text, "SaveNetworkData", true, true, true}, {camera, "Clone", true, true, true},
        {text, "SetText", false, true, false},       {text, "IsHUDObject", false, true, false},
        {camera, "SetFOV", false, false, true},      {camera, "IsActiveListener", false, false, true},
    };
    for (const auto& r : receivers) {
        const Lua::Method* method = Lua::FindMethod(r.table, r.name);
        ASSERT_NE(method, nullptr) << r.name;
        EXPECT_EQ(method->accepts(*plain), r.onObject) << r.name;
        EXPECT_EQ(method->accepts(*aText), r.onText) << r.name;
        EXPECT_EQ(method->accepts(*aCamera), r.onCamera) << r.name;
    }
}
