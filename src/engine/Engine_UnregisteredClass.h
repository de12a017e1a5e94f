#pragma once

#include "core/Core_Object.h"

// The per-class overrides of TUN_DECLARE_CLASS for a class that streams can
// name but never create by name (it is not in the class registry), such as
// classes without a default constructor. Put it first in the class body.
#define TUN_DECLARE_UNREGISTERED_CLASS(Class)  \
public:                                        \
    ::Core::Object* Clone() const override;    \
    const char* GetType() const override;      \
    std::uint32_t GetSize() const override

#define TUN_DEFINE_UNREGISTERED_CLASS(Class, Name)                                                        \
    ::Core::Object* Class::Clone() const { return ::Core::NewTracked<Class>(__FILE__, __LINE__, *this); } \
    const char* Class::GetType() const { return Name; }                                                   \
    std::uint32_t Class::GetSize() const { return static_cast<std::uint32_t>(sizeof(Class)); }
