#include "tundra/Lua_GameObjectMethods.h"

#include "tundra/Lua_GameObjectBindings.h"
#include "tundra/Lua_SharedMethods.h"

#include <cmath>
#include <lua.hpp>

namespace Lua {
namespace GameObjectScript {

std::uint32_t GetUnsigned(lua_State* state, int index) {
    if (lua_type(state, index) != LUA_TNUMBER) {
        return 0;
    }
    const double value = lua_tonumber(state, index);
    if (std::isnan(value) || value <= 0.0) {
        return 0;
    }
    return value >= 4294967295.0 ? 0xFFFFFFFFu : static_cast<std::uint32_t>(value);
}

void PushUnsigned(lua_State* state, std::uint32_t value) { lua_pushnumber(state, value); }

int Nothing(Tundra::GameObject&, lua_State*) { return 0; }

}  // namespace GameObjectScript

namespace {

using Tundra::GameObject;
namespace S = GameObjectScript;

template <int (*F)(GameObject&, lua_State*)>
constexpr Method On(const char* name) {
    return Bind<GameObject, F>(name);
}

}  // namespace

const MethodTable& GameObjectMethods() {
    static const MethodTable table{
        "GameObject",
        {
            Bind<Core::Object, &ObjectFunction>("ObjectFunction"),
            On<&S::AddManagedObject>("AddManagedObject"),
            On<&S::Mount>("Mount"),
            On<&S::GetMount>("GetMount"),
            On<&S::UnMount>("UnMount"),
            On<&S::GetMountsCount>("GetMountsCount"),
            On<&S::IsMounted>("IsMounted"),
            On<&S::GetMountSupport>("GetMountSupport"),
            On<&S::GetLayer>("GetLayer"),
            On<&S::SetName>("SetName"),
            On<&S::GetName>("GetName"),
            On<&S::PushUnsignedResult<&GameObject::GetID>>("GetID"),
            On<&S::SetFloatArgument<&GameObject::SetLifeTime>>("SetLifeTime"),
            On<&S::PushFloatResult<&GameObject::GetLifeTime>>("GetLifeTime"),
            On<&S::PushFloatResult<&GameObject::GetAge>>("GetAge"),
            On<&S::Call<&GameObject::ResetAge>>("ResetAge"),
            On<&S::SetBoolArgument<&GameObject::SetVisible>>("SetVisible"),
            On<&S::PushBoolResult<&GameObject::GetVisible>>("GetVisible"),
            On<&S::Call<&GameObject::Destroy>>("Destroy"),
            On<&S::PushBoolResult<&GameObject::IsDestroyed>>("IsDestroyed"),
            On<&S::SetVectorArgument<&GameObject::SetPosition>>("SetPosition"),
            On<&S::SetFloatArgument<&GameObject::SetPositionX>>("SetPositionX"),
            On<&S::SetFloatArgument<&GameObject::SetPositionY>>("SetPositionY"),
            On<&S::PushVectorResult<&GameObject::GetPosition>>("GetPosition"),
            On<&S::PushFloatResult<&GameObject::GetPositionX>>("GetPositionX"),
            On<&S::PushFloatResult<&GameObject::GetPositionY>>("GetPositionY"),
            On<&S::SetVectorArgument<&GameObject::SetOldPosition>>("SetOldPosition"),
            On<&S::SetFloatArgument<&GameObject::SetZOrder>>("SetZOrder"),
            On<&S::PushFloatResult<&GameObject::GetZOrder>>("GetZOrder"),
            On<&S::SetFloatArgument<&GameObject::SetRotationAngle>>("SetRotationAngle"),
            On<&S::SetFloatArgument<&GameObject::SetOldRotationAngle>>("SetOldRotationAngle"),
            On<&S::PushFloatResult<&GameObject::GetRotationAngle>>("GetRotationAngle"),
            On<&S::SetVectorArgument<&GameObject::SetDirection>>("SetDirection"),
            On<&S::SetFloatArgument<&GameObject::SetDirectionX>>("SetDirectionX"),
            On<&S::SetFloatArgument<&GameObject::SetDirectionY>>("SetDirectionY"),
            On<&S::PushVectorResult<&GameObject::GetDirection>>("GetDirection"),
            On<&S::GetDirectionX>("GetDirectionX"),
            On<&S::GetDirectionY>("GetDirectionY"),
            On<&S::SetScale>("SetScale"),
            On<&S::SetFloatArgument<&GameObject::SetScaleX>>("SetScaleX"),
            On<&S::SetFloatArgument<&GameObject::SetScaleY>>("SetScaleY"),
            On<&S::GetScale>("GetScale"),
            On<&S::PushFloatResult<&GameObject::GetScaleX>>("GetScaleX"),
            On<&S::PushFloatResult<&GameObject::GetScaleY>>("GetScaleY"),
            On<&S::SetVectorArgument<&GameObject::SetCenter>>("SetCenter"),
            On<&S::SetFloatArgument<&GameObject::SetCenterX>>("SetCenterX"),
            On<&S::SetFloatArgument<&GameObject::SetCenterY>>("SetCenterY"),
            On<&S::PushVectorResult<&GameObject::GetCenter>>("GetCenter"),
            On<&S::GetCenterX>("GetCenterX"),
            On<&S::GetCenterY>("GetCenterY"),
            On<&S::SetModulationColor>("SetModulationColor"),
            On<&S::SetModulationR>("SetModulationR"),
            On<&S::SetModulationG>("SetModulationG"),
            On<&S::SetModulationB>("SetModulationB"),
            On<&S::GetModulationColor>("GetModulationColor"),
            On<&S::GetModulationR>("GetModulationR"),
            On<&S::GetModulationG>("GetModulationG"),
            On<&S::GetModulationB>("GetModulationB"),
            On<&S::SetFloatArgument<&GameObject::SetOpacity>>("SetOpacity"),
            On<&S::PushFloatResult<&GameObject::GetOpacity>>("GetOpacity"),
            // Collision objects reach scripts only as handles of objects the
            // engine already holds: none can be handed to it.
            On<&S::Nothing>("AddCollision"),
            On<&S::Call<&GameObject::RemoveCollision>>("RemoveCollision"),
            On<&S::PushBoolResult<&GameObject::ObjectInCollision>>("ObjectInCollision"),
            On<&S::PushUnsignedResult<&GameObject::GetCollisionId>>("GetCollisionId"),
            On<&S::GetCollisionObject>("GetCollisionObject"),
            On<&S::Nothing>("GetTileMapCollisionObject"),
            On<&S::AddPhysicalProperties>("AddPhysicalProperties"),
            On<&S::RemovePhysicalProperties>("RemovePhysicalProperties"),
            On<&S::SetMassProperties>("SetMassProperties"),
            On<&S::GetMassProperties>("GetMassProperties"),
            On<&S::GetCenterOfMass>("GetCenterOfMass"),
            On<&S::SetVectorArgument<&GameObject::SetVelocity>>("SetVelocity"),
            On<&S::GetVelocity>("GetVelocity"),
            On<&S::SetFloatArgument<&GameObject::SetAngularVelocity>>("SetAngularVelocity"),
            On<&S::GetAngularVelocity>("GetAngularVelocity"),
            On<&S::SetSpeed>("SetSpeed"),
            On<&S::GetSpeed>("GetSpeed"),
            On<&S::SetVelocityDirection>("SetVelocityDirection"),
            On<&S::GetVelocityDirection>("GetVelocityDirection"),
            On<&S::AddForce>("AddForce"),
            On<&S::RemoveForce>("RemoveForce"),
            On<&S::Call<&GameObject::RemoveAllForces>>("RemoveAllForces"),
            On<&S::PushUnsignedResult<&GameObject::GetPhysicsId>>("GetPhysicsId"),
            On<&S::GetNetworkKeyboard>("GetNetworkKeyboard"),
            On<&S::GetNetworkMouse>("GetNetworkMouse"),
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
            On<&S::SetScript>("SetScript"),
            On<&S::RunScript>("RunScript"),
        },
    };
    return table;
}

namespace {
const TableRegistration s_registration{&GameObjectMethods};
}  // namespace

}  // namespace Lua
