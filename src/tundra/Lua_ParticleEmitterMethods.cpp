#include "tundra/Lua_Accessors.h"
#include "tundra/Lua_SharedMethods.h"
#include "tundra/Tundra_ParticleEmitter.h"

#include <array>
#include <utility>

// The tables of the base emitter and the six shapes: one list of methods
// under each class's script name.
namespace Lua {
namespace {

using Tundra::ParticleEmitter;

// (time) -> position (a point), direction (a vector). Without a script the
// base emitter answers the origin and the zero vector.
int GetPositionAndDirection(ParticleEmitter& self, lua_State* state) {
    if (ArgumentCount(state) < 1) {
        return 0;
    }
    Vector2D position;
    Vector2D direction;
    self.GetPositionAndDirection(GetFloat(state, 1), position, direction);
    PushPoint2D(state, position.x, position.y);
    PushVector2D(state, direction);
    return 2;
}

constexpr std::array kScriptNames{"ParticleEmitter", "PointEmitter",     "LineEmitter",           "CircleEmitter",
                                  "DiskEmitter",     "RectangleEmitter", "FilledRectangleEmitter"};

template <std::size_t I>
const MethodTable& EmitterMethods() {
    static const MethodTable table{
        kScriptNames[I],
        {
            Bind<Core::Object, &ObjectFunction>("ObjectFunction"),
            Bind<ParticleEmitter, &GetPositionAndDirection>("GetPositionAndDirection"),
            Bind<Core::Object, &CloneObject>("Clone"),
            BindSetter<ParticleEmitter, &ParticleEmitter::SetScript>("SetScript"),
            BindOperation<ParticleEmitter, &ParticleEmitter::RunScript>("RunScript"),
            Bind<ParticleEmitter, &AddManagedObject<ParticleEmitter>>("AddManagedObject"),
        }};
    return table;
}

template <std::size_t... I>
std::array<TableRegistration, sizeof...(I)> RegisterEmitterTables(std::index_sequence<I...>) {
    return {TableRegistration{&EmitterMethods<I>}...};
}

const auto s_registrations = RegisterEmitterTables(std::make_index_sequence<kScriptNames.size()>());

}  // namespace
}  // namespace Lua
