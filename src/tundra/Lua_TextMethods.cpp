#include "tundra/Lua_Accessors.h"
#include "tundra/Lua_GameObjectMethods.h"
#include "tundra/Tundra_Text.h"

namespace Lua {
namespace {

const MethodTable& TextMethods() {
    static const MethodTable table = ComposeTable(
        "Text",
        JoinNames({
            {"ObjectFunction", "AddManagedObject"},
            DerivedObjectNames(),
            {"SetScript", "RunScript", "SaveNetworkData", "LoadNetworkData", "SetText", "GetText", "SetHUDObject",
             "IsHUDObject", "Clone"},
        }),
        {
            BindSetter<Tundra::Text, &Tundra::Text::SetText>("SetText"),
            BindGetter<Tundra::Text, &Tundra::Text::GetText>("GetText"),
            BindSetter<Tundra::Text, &Tundra::Text::SetHUDObject>("SetHUDObject"),
            BindGetter<Tundra::Text, &Tundra::Text::IsHUDObject>("IsHUDObject"),
        },
        FrameworkObjectMethods());
    return table;
}

const TableRegistration s_textMethodsRegistration{&TextMethods};

}  // namespace
}  // namespace Lua
