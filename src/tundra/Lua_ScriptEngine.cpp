#include "tundra/Lua_ScriptEngine.h"

#include "tundra/Tundra_Game.h"

LuaScript* LuaScript::Create() { return nullptr; }

void LuaScript::Destroy(LuaScript* script) { delete script; }

LuaScript* LuaScript::Find(const Core::String&) { return nullptr; }

LuaScript* LuaScript::Start(LuaScript*& instance, const Core::Object* self, const Core::String& scriptName) {
    if (instance == nullptr) {
        instance = Create();
    }
    const Core::String path = Tundra::Game::GetDirectory() + "\\Resources\\Scripts\\" + scriptName;
    LuaScript* source = Find(path);
    if (instance == nullptr) {
        return source;
    }
    instance->SetSelf(self);
    if (source != nullptr) {
        instance->Run(source);
    } else {
        instance->SetScriptPath(path);
    }
    return source;
}

void LuaScript::Run(LuaScript*) {}

void LuaScript::SetScriptPath(const Core::String&) {}

void LuaScript::SetSelf(const Core::Object*) {}

void LuaScript::Call(const char*) {}

void LuaScript::Call(const char*, float) {}
