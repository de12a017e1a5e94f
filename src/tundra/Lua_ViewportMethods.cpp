#include "tundra/Lua_Accessors.h"
#include "tundra/Lua_MethodTable.h"
#include "tundra/Tundra_Viewport.h"

#include <lua.hpp>

// The "Viewport" table. Coordinates and sizes are whole pixels.
namespace Lua {
namespace {

using Tundra::Viewport;

// The field as a number: the upper-case name (what "GetPosition" gives),
// else the lower-case one.
std::int32_t PositionField(lua_State* state, const char* upper, const char* lower) {
    lua_getfield(state, 1, upper);
    if (lua_type(state, -1) != LUA_TNUMBER) {
        lua_pop(state, 1);
        lua_getfield(state, 1, lower);
    }
    const std::int32_t value = GetInt(state, -1);
    lua_pop(state, 1);
    return value;
}

int Set(Viewport& viewport, lua_State* state) {
    if (ArgumentCount(state) >= 4) {
        viewport.Set(GetInt(state, 1), GetInt(state, 2), GetInt(state, 3), GetInt(state, 4));
    }
    return 0;
}

int Get(Viewport& viewport, lua_State* state) {
    PushInt(state, viewport.GetX());
    PushInt(state, viewport.GetY());
    PushInt(state, viewport.GetWidth());
    PushInt(state, viewport.GetHeight());
    return 4;
}

// x and y, or a table with them.
int SetPosition(Viewport& viewport, lua_State* state) {
    if (lua_istable(state, 1)) {
        viewport.SetPosition(PositionField(state, "X", "x"), PositionField(state, "Y", "y"));
    } else if (ArgumentCount(state) >= 2) {
        viewport.SetPosition(GetInt(state, 1), GetInt(state, 2));
    }
    return 0;
}

int SetPositionX(Viewport& viewport, lua_State* state) {
    if (ArgumentCount(state) >= 1) {
        viewport.SetPosition(GetInt(state, 1), viewport.GetY());
    }
    return 0;
}

int SetPositionY(Viewport& viewport, lua_State* state) {
    if (ArgumentCount(state) >= 1) {
        viewport.SetPosition(viewport.GetX(), GetInt(state, 1));
    }
    return 0;
}

// Nothing when no camera is set.
int GetCamera(Viewport& viewport, lua_State* state) {
    const Tundra::Camera* camera = viewport.GetCamera();
    if (camera == nullptr) {
        return 0;
    }
    PushObject(state, camera);
    return 1;
}

const MethodTable& ViewportMethods() {
    static const MethodTable table{
        "Viewport",
        {
            BindGetter<Viewport, &Viewport::GetWidth>("GetWidth"),
            BindGetter<Viewport, &Viewport::GetHeight>("GetHeight"),
            Bind<Viewport, &Set>("Set"),
            Bind<Viewport, &Get>("Get"),
            BindSetter<Viewport, &Viewport::SetWidth>("SetWidth"),
            BindSetter<Viewport, &Viewport::SetHeight>("SetHeight"),
            Bind<Viewport, &SetPosition>("SetPosition"),
            Bind<Viewport, &SetPositionX>("SetPositionX"),
            Bind<Viewport, &SetPositionY>("SetPositionY"),
            BindGetter<Viewport, &Viewport::GetPosition>("GetPosition"),
            BindGetter<Viewport, &Viewport::GetX>("GetPositionX"),
            BindGetter<Viewport, &Viewport::GetY>("GetPositionY"),
            BindSetter<Viewport, &Viewport::SetClearColor>("SetClearColor"),
            BindGetter<Viewport, &Viewport::GetClearColor>("GetClearColor"),
            BindSetter<Viewport, &Viewport::SetCamera>("SetCamera"),
            Bind<Viewport, &GetCamera>("GetCamera"),
            BindSetter<Viewport, &Viewport::SetName>("SetName"),
            BindGetter<Viewport, &Viewport::GetName>("GetName"),
            BindSetter<Viewport, &Viewport::SetBackground>("SetBackground"),
            BindGetter<Viewport, &Viewport::GetBackground>("GetBackground"),
        },
    };
    return table;
}

const TableRegistration s_viewportMethodsRegistration{&ViewportMethods};

}  // namespace
}  // namespace Lua
