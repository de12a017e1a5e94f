#include "tundra/Lua_Accessors.h"
#include "tundra/Lua_MethodTable.h"
#include "tundra/Lua_SharedMethods.h"
#include "tundra/Tundra_GameObject.h"
#include "tundra/Tundra_Level.h"

// The "Level" table.
namespace Lua {
namespace {

using Tundra::Level;

// An index below 0 names nothing.
template <class T, T* (Level::*Get)(std::uint32_t) const>
int PushAt(Level& level, lua_State* state) {
    if (ArgumentCount(state) < 1) {
        return 0;
    }
    const std::int32_t index = GetInt(state, 1);
    PushObject(state, index >= 0 ? (level.*Get)(static_cast<std::uint32_t>(index)) : nullptr);
    return 1;
}

template <class T, void (Level::*Change)(T*)>
int ChangeWith(Level& level, lua_State* state) {
    if (T* object = GetObject<T>(state, 1)) {
        (level.*Change)(object);
    }
    return 0;
}

int GetGameObjects(Level& level, lua_State* state) {
    std::vector<Tundra::GameObject*> objects;
    level.GetGameObjects(nullptr, objects);
    return PushObjects(state, objects);
}

int GetGameObjectsByName(Level& level, lua_State* state) {
    const char* name = GetString(state, 1);
    if (name == nullptr) {
        return 0;
    }
    const Core::String wanted(name);
    std::vector<Tundra::GameObject*> objects;
    level.GetGameObjects(&wanted, objects);
    return PushObjects(state, objects);
}

const MethodTable& LevelMethods() {
    static const MethodTable table{
        "Level",
        {
            Bind<Core::Object, &ObjectFunction>("ObjectFunction"),
            Bind<Level, &AddManagedObject<Level>>("AddManagedObject"),
            BindSetter<Level, &Level::SetTypeName>("SetName"),
            BindGetter<Level, &Level::GetTypeName>("GetName"),
            Bind<Level, &ChangeWith<Tundra::Layer, &Level::AddLayer>>("AddLayer"),
            BindGetter<Level, &Level::GetLayersCount>("GetLayersCount"),
            Bind<Level, &PushAt<Tundra::Layer, &Level::GetLayer>>("GetLayer"),
            Bind<Level, &ChangeWith<Tundra::Viewport, &Level::AddViewport>>("AddViewport"),
            Bind<Level, &ChangeWith<Tundra::Viewport, &Level::RemoveViewport>>("RemoveViewport"),
            BindGetter<Level, &Level::GetViewportsCount>("GetViewportsCount"),
            Bind<Level, &PushAt<Tundra::Viewport, &Level::GetViewport>>("GetViewport"),
            BindSetter<Level, &Level::SetJukeBox>("CreateJukeBox"),
            BindGetter<Level, &Level::GetJukeBox>("GetJukeBox"),
            BindSetter<Level, &Level::SetClearBackBuffer>("SetClearBackBuffer"),
            BindGetter<Level, &Level::GetClearBackBuffer>("GetClearBackBuffer"),
            BindSetter<Level, &Level::SetClearColor>("SetClearColor"),
            BindGetter<Level, &Level::GetClearColor>("GetClearColor"),
            Bind<Level, &GetGameObjects>("GetGameObjects"),
            Bind<Level, &GetGameObjectsByName>("GetGameObjectsByName"),
            BindSetter<Level, &Level::SetScriptName>("SetScript"),
            BindOperation<Level, &Level::RunScript>("RunScript"),
        },
    };
    return table;
}

const TableRegistration s_levelMethodsRegistration{&LevelMethods};

}  // namespace
}  // namespace Lua
