#pragma once

#include <cstring>
#include <map>

namespace Core {

class Object;

using CreateFunction = Object* (*)();

// One static record per class: its registered name and create function.
// Constructing it registers the class (the first registration of a name wins).
class ClassRegistration {
public:
    ClassRegistration(const char* name, CreateFunction create);

    const char* GetName() const { return m_name; }
    CreateFunction GetCreateFunction() const { return m_create; }

private:
    struct Unregistered {};
    ClassRegistration(const char* name, CreateFunction create, Unregistered) : m_name(name), m_create(create) {}
    friend class ClassRegistry;

    const char* m_name;
    CreateFunction m_create;
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
    void Register(const char* name, CreateFunction create);
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
