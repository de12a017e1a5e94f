#include "tundra/Lua_ScriptEngine.h"

LuaScript* LuaScript::Create() { return nullptr; }

void LuaScript::Destroy(LuaScript* script) { delete script; }

LuaScript* LuaScript::Find(const Core::String&) { return nullptr; }

void LuaScript::Run(LuaScript*) {}

void LuaScript::SetScriptPath(const Core::String&) {}

void LuaScript::SetSelf(const Core::Object*) {}

void LuaScript::Call(const char*) {}

void LuaScript::Call(const char*, float) {}
