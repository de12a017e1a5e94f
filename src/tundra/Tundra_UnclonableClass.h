#pragma once

#include "core/Core_Object.h"

// As TUN_DECLARE_CLASS, but Clone stays the root's (a plain Core::Object):
// for classes whose copies would share what only one may own (levels, layers).
#define TUN_DECLARE_UNCLONABLE_CLASS(Class)               \
private:                                                  \
    static const ::Core::ClassRegistration s_registration; \
                                                          \
public:                                                   \
    static ::Core::Object* Create();                      \
    const char* GetType() const override;                 \
    std::uint32_t GetSize() const override

#define TUN_DEFINE_UNCLONABLE_CLASS(Class)                                                     \
    const ::Core::ClassRegistration Class::s_registration{#Class, &Class::Create};             \
    ::Core::Object* Class::Create() { return ::Core::NewTracked<Class>(__FILE__, __LINE__); } \
    const char* Class::GetType() const { return #Class; }                                      \
    std::uint32_t Class::GetSize() const { return static_cast<std::uint32_t>(sizeof(Class)); }
