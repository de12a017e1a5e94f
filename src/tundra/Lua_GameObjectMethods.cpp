#include "tundra/Lua_GameObjectMethods.h"

#include "input/Input_Keyboard.h"
#include "input/Input_Mouse.h"
#include "tundra/Lua_GameObjectBindings.h"
#include "tundra/Lua_SharedMethods.h"
#include "tundra/Tundra_Layer.h"

#include <string_view>

namespace Lua {
namespace GameObjectScript {

int Nothing(Tundra::GameObject&, lua_State*) { return 0; }

}  // namespace GameObjectScript

namespace {

using Tundra::GameObject;
namespace S = GameObjectScript;

template <int (*F)(GameObject&, lua_State*)>
constexpr Method On(const char* name) {
    return Bind<GameObject, F>(name);
}

template <auto Getter>
constexpr Method Get(const char* name) {
    return BindGetter<GameObject, Getter>(name);
}

template <auto Setter>
constexpr Method Set(const char* name) {
    return BindSetter<GameObject, Setter>(name);
}

template <auto Operation>
constexpr Method Do(const char* name) {
    return BindOperation<GameObject, Operation>(name);
}

}  // namespace

const MethodTable& GameObjectMethods() {
    static const MethodTable table{
        "GameObject",
        {
            Bind<Core::Object, &ObjectFunction>("ObjectFunction"),
            Bind<GameObject, &AddManagedObject<GameObject>>("AddManagedObject"),
            Set<&GameObject::Mount>("Mount"),
            Get<&GameObject::GetMount>("GetMount"),
            Set<&GameObject::UnMount>("UnMount"),
            Get<&GameObject::GetMountsCount>("GetMountsCount"),
            On<&S::IsMounted>("IsMounted"),
            On<&S::GetMountSupport>("GetMountSupport"),
            Get<&GameObject::GetLayer>("GetLayer"),
            Set<&GameObject::SetName>("SetName"),
            Get<&GameObject::GetName>("GetName"),
            Get<&GameObject::GetID>("GetID"),
            Set<&GameObject::SetLifeTime>("SetLifeTime"),
            Get<&GameObject::GetLifeTime>("GetLifeTime"),
            Get<&GameObject::GetAge>("GetAge"),
            Do<&GameObject::ResetAge>("ResetAge"),
            Set<&GameObject::SetVisible>("SetVisible"),
            Get<&GameObject::GetVisible>("GetVisible"),
            Do<&GameObject::Destroy>("Destroy"),
            Get<&GameObject::IsDestroyed>("IsDestroyed"),
            Set<&GameObject::SetPosition>("SetPosition"),
            Set<&GameObject::SetPositionX>("SetPositionX"),
            Set<&GameObject::SetPositionY>("SetPositionY"),
            Get<&GameObject::GetPosition>("GetPosition"),
            Get<&GameObject::GetPositionX>("GetPositionX"),
            Get<&GameObject::GetPositionY>("GetPositionY"),
            Set<&GameObject::SetOldPosition>("SetOldPosition"),
            Set<&GameObject::SetZOrder>("SetZOrder"),
            Get<&GameObject::GetZOrder>("GetZOrder"),
            Set<&GameObject::SetRotationAngle>("SetRotationAngle"),
            Set<&GameObject::SetOldRotationAngle>("SetOldRotationAngle"),
            Get<&GameObject::GetRotationAngle>("GetRotationAngle"),
            Set<&GameObject::SetDirection>("SetDirection"),
            Set<&GameObject::SetDirectionX>("SetDirectionX"),
            Set<&GameObject::SetDirectionY>("SetDirectionY"),
            Get<&GameObject::GetDirection>("GetDirection"),
            On<&S::GetDirectionX>("GetDirectionX"),
            On<&S::GetDirectionY>("GetDirectionY"),
            On<&S::SetScale>("SetScale"),
            Set<&GameObject::SetScaleX>("SetScaleX"),
            Set<&GameObject::SetScaleY>("SetScaleY"),
            On<&S::GetScale>("GetScale"),
            Get<&GameObject::GetScaleX>("GetScaleX"),
            Get<&GameObject::GetScaleY>("GetScaleY"),
            Set<&GameObject::SetCenter>("SetCenter"),
            Set<&GameObject::SetCenterX>("SetCenterX"),
            Set<&GameObject::SetCenterY>("SetCenterY"),
            Get<&GameObject::GetCenter>("GetCenter"),
            On<&S::GetCenterX>("GetCenterX"),
            On<&S::GetCenterY>("GetCenterY"),
            Set<&GameObject::SetModulationColor>("SetModulationColor"),
            On<&S::SetModulationR>("SetModulationR"),
            On<&S::SetModulationG>("SetModulationG"),
            On<&S::SetModulationB>("SetModulationB"),
            Get<&GameObject::GetModulationColor>("GetModulationColor"),
            On<&S::GetModulationR>("GetModulationR"),
            On<&S::GetModulationG>("GetModulationG"),
            On<&S::GetModulationB>("GetModulationB"),
            Set<&GameObject::SetOpacity>("SetOpacity"),
            Get<&GameObject::GetOpacity>("GetOpacity"),
            // Collision objects reach scripts only as handles of objects the
            // engine already holds: none can be handed to it.
            On<&S::Nothing>("AddCollision"),
            Do<&GameObject::RemoveCollision>("RemoveCollision"),
            Get<&GameObject::ObjectInCollision>("ObjectInCollision"),
            Get<&GameObject::GetCollisionId>("GetCollisionId"),
            On<&S::GetCollisionObject>("GetCollisionObject"),
            On<&S::Nothing>("GetTileMapCollisionObject"),
            On<&S::AddPhysicalProperties>("AddPhysicalProperties"),
            On<&S::RemovePhysicalProperties>("RemovePhysicalProperties"),
            On<&S::SetMassProperties>("SetMassProperties"),
            On<&S::GetMassProperties>("GetMassProperties"),
            On<&S::GetCenterOfMass>("GetCenterOfMass"),
            Set<&GameObject::SetVelocity>("SetVelocity"),
            On<&S::GetVelocity>("GetVelocity"),
            Set<&GameObject::SetAngularVelocity>("SetAngularVelocity"),
            On<&S::GetAngularVelocity>("GetAngularVelocity"),
            On<&S::SetSpeed>("SetSpeed"),
            On<&S::GetSpeed>("GetSpeed"),
            On<&S::SetVelocityDirection>("SetVelocityDirection"),
            On<&S::GetVelocityDirection>("GetVelocityDirection"),
            On<&S::AddForce>("AddForce"),
            On<&S::RemoveForce>("RemoveForce"),
            Do<&GameObject::RemoveAllForces>("RemoveAllForces"),
            Get<&GameObject::GetPhysicsId>("GetPhysicsId"),
            Get<&GameObject::GetNetworkKeyboard>("GetNetworkKeyboard"),
            Get<&GameObject::GetNetworkMouse>("GetNetworkMouse"),
            On<&S::GetNetworkOwner>("GetNetworkOwner"),
            On<&S::ChangeNetworkOwner>("ChangeNetworkOwner"),
            On<&S::GetNumberOfCollidedSprites>("GetNumberOfCollidedSprites"),
            On<&S::GetNumberOfCollidedCircles>("GetNumberOfCollidedCircles"),
            On<&S::GetNumberOfCollidedLineSegments>("GetNumberOfCollidedLineSegments"),
            On<&S::GetNumberOfCollidedTileMaps>("GetNumberOfCollidedTileMaps"),
            On<&S::GetCollidedSprite>("GetCollidedSprite"),
            On<&S::Nothing>("GetCollidedTileMap"),
            On<&S::IsCollidedWithSprite>("IsCollidedWithSprite"),
            On<&S::IsCollidedWithSpriteLineSegment>("IsCollidedWithSpriteLineSegment"),
            On<&S::IsCollidedWithSpriteCircle>("IsCollidedWithSpriteCircle"),
            On<&S::IsCollidedWithLineSegment>("IsCollidedWithLineSegment"),
            On<&S::IsCollidedWithCircle>("IsCollidedWithCircle"),
            On<&S::IsCollidedWithTileMap>("IsCollidedWithTileMap"),
            On<&S::IsMyLineSegmentCollided>("IsMyLineSegmentCollided"),
            On<&S::IsMyCircleCollided>("IsMyCircleCollided"),
            On<&S::GetTileMapEntries>("GetTileMapNewEntries_UsingBoundingRectangle"),
            On<&S::GetTileMapEntries>("GetTileMapStaticEntries_UsingBoundingRectangle"),
            On<&S::GetTileMapEntries>("GetTileMapNewEntries_UsingHotSpot"),
            On<&S::GetTileMapEntries>("GetTileMapStaticEntries_UsingHotSpot"),
            On<&S::GetCollidedCircleData>("GetCollidedCircleData"),
            On<&S::GetCollidedLineSegmentData>("GetCollidedLineSegmentData"),
            On<&S::Nothing>("GetCollidedTileMapData"),
            On<&S::GetCollidedSpriteData>("GetCollidedSpriteData"),
            Set<&GameObject::SetScript>("SetScript"),
            On<&S::RunScript>("RunScript"),
        },
    };
    return table;
}

const MethodTable& FrameworkObjectMethods() {
    static const MethodTable table = [] {
        MethodTable methods = GameObjectMethods();
        methods.methods.push_back(Bind<GameObject, &SaveNetworkData>("SaveNetworkData"));
        methods.methods.push_back(Bind<GameObject, &LoadNetworkData>("LoadNetworkData"));
        methods.methods.push_back(Bind<Core::Object, &CloneObject>("Clone"));
        return methods;
    }();
    return table;
}

const std::vector<const char*>& DerivedObjectNames() {
    static const std::vector<const char*> names = [] {
        std::vector<const char*> run;
        bool inRun = false;
        for (const Method& method : GameObjectMethods().methods) {
            const std::string_view name = method.name;
            inRun = inRun || name == "Mount";
            if (inRun && name != "ChangeNetworkOwner") {
                run.push_back(method.name);
            }
            if (name == "GetTileMapStaticEntries_UsingHotSpot") {
                break;
            }
        }
        return run;
    }();
    return names;
}

namespace {
const TableRegistration s_gameObjectMethodsRegistration{&GameObjectMethods};
}  // namespace

}  // namespace Lua
