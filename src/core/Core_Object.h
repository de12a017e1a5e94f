#pragma once

#include "core/Core_Base.h"
#include "core/Core_ClassRegistry.h"
#include "core/Core_TrackedMemory.h"

#include <cstddef>
#include <cstdint>

struct lua_State;
class LuaScript;

namespace Core {

class File;

// The root of every engine, framework and game class. Its eight shared
// virtual operations come first, in this order, in every class: the script
// object, the push to a script interpreter, destruction, clone, save, load,
// the class name and the object size.
//
// Objects are created with a count of 0; each holder adds one reference and
// the release that brings the count to 0 destroys the object. Objects are
// allocated with tracked memory (TUN_NEW or a class's Create) and destroyed
// through the virtual destructor, whose class-level delete hands the real
// size of the object back to the pool.
class Object : public Base {
public:
    Object() = default;
    // A copy is a new object: it has never been pushed to a script.
    Object(const Object& other) : Base(other) {}
    Object& operator=(const Object&) { return *this; }

    virtual LuaScript* GetScript() const;
    // Pushes a userdata holding this object's address, with the metatable the
    // interpreter's registry holds under the class's script name.
    virtual void PushToLua(lua_State* state) const;
    virtual ~Object();
    // A new object of the same class with the same state and count 0.
    virtual Object* Clone() const;
    virtual void Save(File& file) const;
    virtual void Load(File& file);
    // The registered class name.
    virtual const char* GetType() const;
    virtual std::uint32_t GetSize() const;

    void AddReference() { ++m_referenceCount; }
    // Destroys the object when the last reference goes, before returning
    // (the objects it owned too, however long the chain). Releasing an object
    // whose count is already 0 is a programming error: the count never wraps.
    // Most releases leave others holding it: those stay inline.
    void Release() {
        if (m_referenceCount > 1) {
            --m_referenceCount;
            return;
        }
        ReleaseLast();
    }

    // The registry's create function of the root class.
    static Object* Create();

    // Plain `new` of an engine class still uses tracked memory, so that the
    // sized delete below always matches.
    static void* operator new(std::size_t size) { return TrackedNewUnknownSource(size); }
    static void* operator new(std::size_t, void* place) noexcept { return place; }
    static void operator delete(void* block, std::size_t size) { TrackedDelete(block, size); }
    static void operator delete(void*, void*) noexcept {}
    static void* operator new[](std::size_t) = delete;
    static void operator delete[](void*) = delete;

    // How pushes reach the script host, which keeps one userdata per object
    // and clears it when the object goes; without a link (no host open) a
    // push makes a plain userdata. The link's functions must not throw.
    struct ScriptLink {
        void (*push)(lua_State* state, const Object& object, const char* scriptName);
        void (*forget)(const Object& object);
    };
    static void SetScriptLink(const ScriptLink* link);

protected:
    // Pushes this object as userdata with the metatable registered under scriptName.
    void PushToLuaAs(lua_State* state, const char* scriptName) const;

private:
    // The last reference, or a release of an object nobody holds.
    void ReleaseLast();

    // Set by the first push: only such objects are worth telling the host about.
    mutable bool m_pushedToScript = false;
};

}  // namespace Core

// Declares the per-class overrides inside a class derived from Core::Object.
// Put it first in the class body; it leaves the access public.
#define TUN_DECLARE_CLASS(Class)                          \
private:                                                  \
    static const ::Core::ClassRegistration s_registration; \
                                                          \
public:                                                   \
    static ::Core::Object* Create();                      \
    ::Core::Object* Clone() const override;               \
    const char* GetType() const override;                 \
    std::uint32_t GetSize() const override

// Defines them at namespace scope and registers the class under Name. The
// class must be default-constructible (Create) and copy-constructible (Clone).
#define TUN_DEFINE_CLASS_NAMED(Class, Name)                                                           \
    const ::Core::ClassRegistration Class::s_registration{Name, &Class::Create,                       \
                                                          &::Core::ThrowNullPointer<Class>};          \
    ::Core::Object* Class::Create() { return ::Core::NewTracked<Class>(__FILE__, __LINE__); }         \
    ::Core::Object* Class::Clone() const { return ::Core::NewTracked<Class>(__FILE__, __LINE__, *this); } \
    const char* Class::GetType() const { return Name; }                                               \
    std::uint32_t Class::GetSize() const { return static_cast<std::uint32_t>(sizeof(Class)); }

// Registers the class under its qualified name as written: "Engine::Node".
#define TUN_DEFINE_CLASS(Class) TUN_DEFINE_CLASS_NAMED(Class, #Class)
