#include "tundra/Lua_GameObjectMethods.h"
#include "tundra/Lua_RangeAccessors.h"
#include "tundra/Lua_ViewportArgument.h"
#include "tundra/Tundra_ParticleSystem.h"

// The "ParticleSystem" table: the game object's methods, the drawing
// settings of the system's node, then emission and the particle limits.
namespace Lua {
namespace {

using Tundra::ParticleSystem;
using Tundra::ParticleSystemBase;

const MethodTable& ParticleSystemMethods() {
    static const MethodTable table = ComposeTable(
        "ParticleSystem",
        JoinNames({
            {"ObjectFunction"},
            DerivedObjectNames(),
            {"SetScript", "RunScript", "SaveNetworkData", "LoadNetworkData", "AddManagedObject", "SetSrcBlendFactor",
             "GetSrcBlendFactor", "SetDstBlendFactor", "GetDstBlendFactor", "IsInViewport", "SetHUDObject",
             "IsHUDObject", "SetUseLocalCoordinates", "GetUseLocalCoordinates", "SetEmitter", "GetEmitter",
             "SetGravity", "GetGravity", "SetEmissionRate", "GetEmissionRate", "SetRecycleParticles",
             "GetRecycleParticles", "SetDestroyIfNotRecycling", "GetDestroyIfNotRecycling", "SetParticleStartingColor",
             "GetParticleStartingColor", "SetParticleEndingColor", "GetParticleEndingColor", "SetParticleLifeTime",
             "GetParticleLifeTime", "SetParticleRotationSpeed", "GetParticleRotationSpeed", "SetParticleSpeed",
             "GetParticleSpeed", "SetParticleStartingScale", "GetParticleStartingScale", "SetParticleEndingScale",
             "GetParticleEndingScale", "SetParticleDirection", "GetParticleDirection", "Reset", "Clone", "WarmUp"},
        }),
        {
            BindSetter<ParticleSystemBase, &ParticleSystemBase::SetSrcBlendFactor>("SetSrcBlendFactor"),
            BindGetter<ParticleSystemBase, &ParticleSystemBase::GetSrcBlendFactor>("GetSrcBlendFactor"),
            BindSetter<ParticleSystemBase, &ParticleSystemBase::SetDstBlendFactor>("SetDstBlendFactor"),
            BindGetter<ParticleSystemBase, &ParticleSystemBase::GetDstBlendFactor>("GetDstBlendFactor"),
            Bind<ParticleSystemBase, &IsInViewport<ParticleSystemBase>>("IsInViewport"),
            BindSetter<ParticleSystemBase, &ParticleSystemBase::SetHUDObject>("SetHUDObject"),
            BindGetter<ParticleSystemBase, &ParticleSystemBase::IsHUDObject>("IsHUDObject"),
            BindSetter<ParticleSystemBase, &ParticleSystemBase::SetUseLocalCoordinates>("SetUseLocalCoordinates"),
            BindGetter<ParticleSystemBase, &ParticleSystemBase::GetUseLocalCoordinates>("GetUseLocalCoordinates"),
            BindSetter<ParticleSystem, &ParticleSystem::SetEmitter>("SetEmitter"),
            BindGetter<ParticleSystem, &ParticleSystem::GetEmitter>("GetEmitter"),
            BindSetter<ParticleSystem, &ParticleSystem::SetGravity>("SetGravity"),
            BindGetter<ParticleSystem, &ParticleSystem::GetGravity>("GetGravity"),
            BindRangeSetter<ParticleSystem, &ParticleSystem::SetEmissionRate>("SetEmissionRate"),
            BindRangeGetter<ParticleSystem, &ParticleSystem::GetEmissionRate>("GetEmissionRate"),
            BindSetter<ParticleSystem, &ParticleSystem::SetRecycleParticles>("SetRecycleParticles"),
            BindGetter<ParticleSystem, &ParticleSystem::GetRecycleParticles>("GetRecycleParticles"),
            BindSetter<ParticleSystem, &ParticleSystem::SetDestroyIfNotRecycling>("SetDestroyIfNotRecycling"),
            BindGetter<ParticleSystem, &ParticleSystem::GetDestroyIfNotRecycling>("GetDestroyIfNotRecycling"),
            BindRangeSetter<ParticleSystem, &ParticleSystem::SetParticleStartingColor>("SetParticleStartingColor"),
            BindRangeGetter<ParticleSystem, &ParticleSystem::GetParticleStartingColor>("GetParticleStartingColor"),
            BindRangeSetter<ParticleSystem, &ParticleSystem::SetParticleEndingColor>("SetParticleEndingColor"),
            BindRangeGetter<ParticleSystem, &ParticleSystem::GetParticleEndingColor>("GetParticleEndingColor"),
            BindRangeSetter<ParticleSystem, &ParticleSystem::SetParticleLifeTime>("SetParticleLifeTime"),
            BindRangeGetter<ParticleSystem, &ParticleSystem::GetParticleLifeTime>("GetParticleLifeTime"),
            BindRangeSetter<ParticleSystem, &ParticleSystem::SetParticleRotationSpeed>("SetParticleRotationSpeed"),
            BindRangeGetter<ParticleSystem, &ParticleSystem::GetParticleRotationSpeed>("GetParticleRotationSpeed"),
            BindRangeSetter<ParticleSystem, &ParticleSystem::SetParticleSpeed>("SetParticleSpeed"),
            BindRangeGetter<ParticleSystem, &ParticleSystem::GetParticleSpeed>("GetParticleSpeed"),
            BindRangeSetter<ParticleSystem, &ParticleSystem::SetParticleStartingScale>("SetParticleStartingScale"),
            BindRangeGetter<ParticleSystem, &ParticleSystem::GetParticleStartingScale>("GetParticleStartingScale"),
            BindRangeSetter<ParticleSystem, &ParticleSystem::SetParticleEndingScale>("SetParticleEndingScale"),
            BindRangeGetter<ParticleSystem, &ParticleSystem::GetParticleEndingScale>("GetParticleEndingScale"),
            BindSetter<ParticleSystem, &ParticleSystem::SetParticleDirection>("SetParticleDirection"),
            BindGetter<ParticleSystem, &ParticleSystem::GetParticleDirection>("GetParticleDirection"),
            BindOperation<ParticleSystem, &ParticleSystem::Reset>("Reset"),
            BindSetter<ParticleSystem, &ParticleSystem::WarmUp>("WarmUp"),
        },
        FrameworkObjectMethods());
    return table;
}

const TableRegistration s_particleSystemMethodsRegistration{&ParticleSystemMethods};

}  // namespace
}  // namespace Lua
