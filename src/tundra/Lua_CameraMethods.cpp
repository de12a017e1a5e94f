#include "tundra/Lua_Accessors.h"
#include "tundra/Lua_GameObjectMethods.h"
#include "tundra/Tundra_Camera.h"

namespace Lua {
namespace {

const MethodTable& CameraMethods() {
    static const MethodTable table = ComposeTable(
        "Camera",
        JoinNames({
            {"ObjectFunction"},
            DerivedObjectNames(),
            {"SetScript", "RunScript", "SaveNetworkData", "LoadNetworkData", "AddManagedObject", "SetFOV", "GetFOV",
             "UpdateFromKeyboard", "MakeActiveListener", "IsActiveListener", "Clone"},
        }),
        {
            BindSetter<Tundra::Camera, &Tundra::Camera::SetFOV>("SetFOV"),
            BindGetter<Tundra::Camera, &Tundra::Camera::GetFOV>("GetFOV"),
            BindOperation<Tundra::Camera, &Tundra::Camera::UpdateFromKeyboard>("UpdateFromKeyboard"),
            BindOperation<Tundra::Camera, &Tundra::Camera::MakeActiveListener>("MakeActiveListener"),
            BindGetter<Tundra::Camera, &Tundra::Camera::IsActiveListener>("IsActiveListener"),
        },
        FrameworkObjectMethods());
    return table;
}

const TableRegistration s_cameraMethodsRegistration{&CameraMethods};

}  // namespace
}  // namespace Lua
