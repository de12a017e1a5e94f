#pragma once

#include <cstring>
#include <map>

namespace Core {

class Object;

using CreateFunction = Object* (*)();
// Throws a null pointer of the registered class, so that a catch by base
// pointer tells whether the class derives from that base without making one.
using PointerThrower = void (*)();

template <class Class>
[[noreturn]] void ThrowNullPointer() {
    throw static_cast<Class*>(nullptr);
}

// One static record per class: its registered name and create function.
// Constructing it registers the class (the first registration of a name wins).
class ClassRegistration {
public:
    ClassRegistration(const char* name, CreateFunction create, PointerThrower thrower = nullptr);

    const char* GetName() const { return m_name; }
    CreateFunction GetCreateFunction() const { return m_create; }
    // Whether the class is Base or derives from it; false when the class was
    // registered without its thrower.
    template <class Base>
    bool Derives() const {
        if (m_thrower == nullptr) {
            return false;
        }
        try {
            m_thrower();
        } catch (const Base*) {
            return true;
        } catch (...) {
        }
        return false;
    }

private:
    struct Unregistered {};
    ClassRegistration(const char* name, CreateFunction create, PointerThrower thrower, Unregistered)
        : m_name(name), m_create(create), m_thrower(thrower) {}
    friend class ClassRegistry;

    const char* m_name;
    CreateFunction m_create;
    PointerThrower m_thrower;
};

// Class name -> create function, ordered by byte value as strcmp orders
// names. Filled by static initialisation, read afterwards.
class ClassRegistry {
public:
    struct ByteOrder {
        bool operator()(const char* a, const char* b) const { return std::strcmp(a, b) < 0; }
    };
    using Map = std::map<const char*, ClassRegistration, ByteOrder>;

    static ClassRegistry& GetInstance();

    // Keeps an existing entry of the same name.
    void Register(const char* name, CreateFunction create, PointerThrower thrower = nullptr);
    // The record registered under name; null for an unknown or null name.
    const ClassRegistration* Find(const char* name) const;
    const Map& GetEntries() const { return m_entries; }

private:
    Map m_entries;
};

}  // namespace Core

// A new object of the class registered under name, with count 0; null when no
// class has that name.
Core::Object* CreateObjectByName(const char* name);
