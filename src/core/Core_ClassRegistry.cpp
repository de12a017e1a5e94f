#include "core/Core_ClassRegistry.h"

namespace Core {

ClassRegistration::ClassRegistration(const char* name, CreateFunction create, PointerThrower thrower)
    : m_name(name), m_create(create), m_thrower(thrower) {
    ClassRegistry::GetInstance().Register(name, create, thrower);
}

ClassRegistry& ClassRegistry::GetInstance() {
    static ClassRegistry registry;
    return registry;
}

void ClassRegistry::Register(const char* name, CreateFunction create, PointerThrower thrower) {
    if (name == nullptr || create == nullptr) {
        return;
    }
    m_entries.try_emplace(name, ClassRegistration(name, create, thrower, ClassRegistration::Unregistered{}));
}

const ClassRegistration* ClassRegistry::Find(const char* name) const {
    if (name == nullptr) {
        return nullptr;
    }
    const auto entry = m_entries.find(name);
    return entry == m_entries.end() ? nullptr : &entry->second;
}

}  // namespace Core

Core::Object* CreateObjectByName(const char* name) {
    const Core::ClassRegistration* registration = Core::ClassRegistry::GetInstance().Find(name);
    return registration == nullptr ? nullptr : registration->GetCreateFunction()();
}
