#include "network/Network_NetworkFile.h"

#include "core/Core_ClassRegistry.h"
#include "tundra/Tundra_GameObject.h"

namespace Tundra {

void NetworkFile::WriteNetworkObject(const GameObject* object) {
    WriteU8(object != nullptr ? 1 : 0);
    if (object == nullptr) {
        return;
    }
    WriteString(object->GetType());
    object->NetworkSave(*this);
}

GameObject* NetworkFile::ReadObject() {
    std::uint8_t present = 0;
    ReadU8(present);
    if (present > 1) {
        SetFailed();
    }
    if (present != 1 || HasFailed()) {
        return nullptr;
    }
    Core::String className;
    ReadString(className);
    if (HasFailed()) {
        return nullptr;
    }
    // Only game objects travel: making any other class the peer names could
    // start engines, sessions or a second game.
    const Core::ClassRegistration* registration = Core::ClassRegistry::GetInstance().Find(className.c_str());
    if (registration == nullptr || !registration->Derives<GameObject>()) {
        return nullptr;
    }
    auto* object = static_cast<GameObject*>(registration->GetCreateFunction()());
    object->NetworkLoad(*this);
    if (HasFailed()) {
        object->AddReference();
        object->Release();
        return nullptr;
    }
    return object;
}

}  // namespace Tundra
