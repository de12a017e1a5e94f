#include "core/Core_Object.h"

#include <cassert>
#include <lua.hpp>
#include <vector>

namespace Core {
namespace {
constexpr const char* kRootName = "Object";
const ClassRegistration s_rootRegistration{kRootName, &Object::Create};

// A destructor releases what the object owns, so releasing an owning chain
// nests one destructor per link. Past this depth the destruction waits in a
// per-thread list that the outermost release works through, which keeps the
// stack bounded for chains of any length (streams can build them).
constexpr int kMaxNestedDestroys = 64;
thread_local int t_destroyDepth = 0;
thread_local std::vector<Object*> t_waitingDestroys;

const Object::ScriptLink* g_scriptLink = nullptr;
}  // namespace

Object::~Object() {
    if (m_pushedToScript && g_scriptLink != nullptr) {
        g_scriptLink->forget(*this);
    }
}

void Object::SetScriptLink(const ScriptLink* link) { g_scriptLink = link; }

LuaScript* Object::GetScript() const { return nullptr; }

void Object::PushToLua(lua_State* state) const { PushToLuaAs(state, kRootName); }

void Object::PushToLuaAs(lua_State* state, const char* scriptName) const {
    m_pushedToScript = true;
    if (g_scriptLink != nullptr) {
        g_scriptLink->push(state, *this, scriptName);
        return;
    }
    auto* slot = static_cast<const Object**>(lua_newuserdata(state, sizeof(const Object*)));
    *slot = this;
    lua_getfield(state, LUA_REGISTRYINDEX, scriptName);
    lua_setmetatable(state, -2);
}

Object* Object::Clone() const { return NewTracked<Object>(__FILE__, __LINE__, *this); }

void Object::Save(File&) const {}

void Object::Load(File&) {}

const char* Object::GetType() const { return kRootName; }

std::uint32_t Object::GetSize() const { return static_cast<std::uint32_t>(sizeof(Object)); }

Object* Object::Create() { return NewTracked<Object>(__FILE__, __LINE__); }

void Object::ReleaseLast() {
    assert(m_referenceCount > 0 && "release of an object nobody holds");
    if (m_referenceCount == 0) {
        return;
    }
    m_referenceCount = 0;
    if (t_destroyDepth >= kMaxNestedDestroys) {
        t_waitingDestroys.push_back(this);
        return;
    }
    ++t_destroyDepth;
    delete this;
    if (t_destroyDepth == 1) {
        while (!t_waitingDestroys.empty()) {
            Object* next = t_waitingDestroys.back();
            t_waitingDestroys.pop_back();
            delete next;
        }
    }
    --t_destroyDepth;
}

}  // namespace Core
