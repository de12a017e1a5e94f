#pragma once

#include <initializer_list>
#include <type_traits>
#include <vector>

struct lua_State;
namespace Core {
class Object;
}

// The script methods of a class: its script name (the registry name of the
// metatable its objects are pushed with) and its methods in table order.
// A script calls obj:Method(...); the dispatcher checks the receiver, takes
// it off the stack (arguments start at index 1) and calls the binding.
namespace Lua {

// Reads its arguments from index 1, calls the operation, pushes its results
// and returns how many it pushed. The receiver is an engine object
// (Core::Object*) for object tables, the held value for value tables.
using Binding = int (*)(void* receiver, lua_State* state);
// Whether an engine object is of the class a binding works on.
using ReceiverCheck = bool (*)(const Core::Object& object);

struct Method {
    const char* name;
    Binding binding;
    // Null in value tables, whose userdata's metatable tells the class.
    ReceiverCheck accepts;
};

struct MethodTable {
    const char* scriptName;
    std::vector<Method> methods;
    // Value tables hold a copy of a plain value (a shape) in their userdata;
    // object tables hold an engine object's address.
    bool holdsValues = false;
};

template <class T>
bool IsA(const Core::Object& object) {
    // Every object is a Core::Object (and the cast of a reference's address
    // to its own class is never null, which compilers warn about).
    if constexpr (std::is_same_v<T, Core::Object>) {
        return true;
    } else {
        return dynamic_cast<const T*>(&object) != nullptr;
    }
}

template <class T, int (*F)(T&, lua_State*)>
int CallOnObject(void* receiver, lua_State* state) {
    // The dispatcher has checked the class with IsA<T>.
    return F(*static_cast<T*>(static_cast<Core::Object*>(receiver)), state);
}

template <class V, int (*F)(V&, lua_State*)>
int CallOnValue(void* receiver, lua_State* state) {
    return F(*static_cast<V*>(receiver), state);
}

// One binding per (class, function): tables sharing a method share its
// Binding address.
template <class T, int (*F)(T&, lua_State*)>
constexpr Method Bind(const char* name) {
    return {name, &CallOnObject<T, F>, &IsA<T>};
}

template <class V, int (*F)(V&, lua_State*)>
constexpr Method BindValue(const char* name) {
    return {name, &CallOnValue<V, F>, nullptr};
}

// A table with the names in the order given, each bound to the method of
// that name in own, else to base's. A name found in neither is a
// programming error (asserted; left out in release builds).
MethodTable ComposeTable(const char* scriptName, const std::vector<const char*>& names,
                         std::initializer_list<Method> own, const MethodTable& base);

// The runs of names one after the other.
std::vector<const char*> JoinNames(std::initializer_list<std::vector<const char*>> runs);

// The method of that name in the table, or null.
const Method* FindMethod(const MethodTable& table, const char* name);

// Tables register themselves at start-up; the script host installs every
// registered table when it opens. A source returns a table that lives for
// the whole run (a function-local static), so tables may compose each other
// whatever the order of static initialisation.
using TableSource = const MethodTable& (*)();

class TableRegistration {
public:
    explicit TableRegistration(TableSource source);
};

// Every registered table, in registration order.
std::vector<const MethodTable*> RegisteredTables();
// The registered table of that script name, or null.
const MethodTable* FindTable(const char* scriptName);

}  // namespace Lua
