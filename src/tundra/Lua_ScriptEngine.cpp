#include "tundra/Lua_ScriptEngine.h"

#include "core/Core_ErrorLog.h"
#include "os/OS_File.h"
#include "os/OS_Path.h"
#include "pal/PAL_MessageBox.h"
#include "pal/PAL_Window.h"
#include "tundra/Lua_CallLimits.h"
#include "tundra/Lua_Host.h"
#include "tundra/Lua_ScriptEngineTestHooks.h"
#include "tundra/Lua_Values.h"
#include "tundra/Tundra_Game.h"

#include <algorithm>
#include <lua.hpp>

namespace {

// Script files are small; anything beyond this is no script.
constexpr std::size_t kMaxScriptFileSize = 16u << 20;

std::vector<LuaScript*> g_scripts;
std::uint32_t g_compileCount = 0;

int AppendChunk(lua_State*, const void* bytes, size_t size, void* target) {
    auto* bytecode = static_cast<std::vector<char>*>(target);
    bytecode->insert(bytecode->end(), static_cast<const char*>(bytes), static_cast<const char*>(bytes) + size);
    return 0;
}

// The whole file, or false with the reason.
bool ReadScriptFile(const Core::String& path, std::vector<char>& text, std::string& reason) {
    const os::FilePointer file = os::OpenFile(path, "rb");
    if (!file) {
        reason = "cannot open the file";
        return false;
    }
    char buffer[4096];
    while (const std::size_t read = std::fread(buffer, 1, sizeof buffer, file.get())) {
        if (text.size() + read > kMaxScriptFileSize) {
            reason = "the file is too large";
            return false;
        }
        text.insert(text.end(), buffer, buffer + read);
    }
    if (std::ferror(file.get()) != 0) {
        reason = "the file cannot be read";
        return false;
    }
    if (!text.empty() && text[0] == LUA_SIGNATURE[0]) {
        reason = "compiled chunks are refused";
        return false;
    }
    return true;
}

// Room on a thread that runs no protected call yet.
bool CheckStack(lua_State* thread, int slots) {
    const Lua::CallLimits::EngineSection section;
    return lua_checkstack(thread, slots) != 0;
}

// A script of the game's own is part of it: the game cannot go on without
// it. A foreign name only leaves its object without a script, and is logged
// printable, as it may hold any bytes. The game's line is the compiler's
// message when there is one.
void ReportCompileFailure(ScriptOrigin origin, const std::string& name, const std::string& reason,
                          const char* compilerMessage = nullptr) {
    if (origin == ScriptOrigin::Foreign) {
        Core::LogError("script refused (" + reason + "): \"" + Core::PrintableForLog(name) + "\"");
        return;
    }
    const std::string message = compilerMessage != nullptr ? compilerMessage : name + ": " + reason;
    Core::LogError(message);
    AskUser("Script Error", message, MessageBoxError, MessageBoxOK);
    PAL::RequestQuit();
}

}  // namespace

namespace Lua::testhooks {
std::uint32_t CompileCount() { return g_compileCount; }
std::size_t ScriptCount() { return g_scripts.size(); }
}  // namespace Lua::testhooks

LuaScript* LuaScript::Create() {
    lua_State* main = Lua::Host::GetMainState();
    const Lua::CallLimits::EngineSection section;
    if (!Lua::Host::IsOpen() || !lua_checkstack(main, 4)) {
        return nullptr;
    }
    auto* script = new LuaScript;
    script->m_thread = lua_newthread(main);
    lua_State* thread = script->m_thread;
    // Globals of its own: writes stay in the script, reads fall through.
    lua_newtable(thread);
    lua_newtable(thread);
    lua_pushvalue(thread, LUA_GLOBALSINDEX);
    lua_setfield(thread, -2, "__index");
    lua_setmetatable(thread, -2);
    lua_replace(thread, LUA_GLOBALSINDEX);
    script->m_threadReference = luaL_ref(main, LUA_REGISTRYINDEX);
    g_scripts.push_back(script);
    return script;
}

LuaScript::~LuaScript() {
    std::erase(g_scripts, this);
    if (m_thread != nullptr) {
        const Lua::CallLimits::EngineSection section;
        luaL_unref(Lua::Host::GetMainState(), LUA_REGISTRYINDEX, m_threadReference);
    }
}

void LuaScript::Destroy(LuaScript* script) {
    if (script == nullptr || script->m_destroyed) {
        return;
    }
    // It stays listed (so that a closing host detaches it) until it goes.
    script->m_destroyed = true;
    if (script->m_runningCalls == 0) {
        delete script;
    }
}

LuaScript* LuaScript::Find(const Core::String& path) {
    for (LuaScript* script : g_scripts) {
        if (!script->m_destroyed && !script->m_bytecode.empty() && script->m_path == path) {
            return script;
        }
    }
    return nullptr;
}

bool LuaScript::IsPlainScriptName(std::string_view name) {
    return os::IsPlainFileName(name) && name != "." && name.find(':') == std::string_view::npos;
}

bool LuaScript::Start(LuaScript*& instance, LuaScript*& source, const Core::Object* self,
                      const Core::String& scriptName, ScriptOrigin origin) {
    source = nullptr;
    if (!Lua::Host::IsOpen()) {
        return false;
    }
    if (!IsPlainScriptName(scriptName)) {
        Core::LogError("script name refused (not a plain file name): \"" + Core::PrintableForLog(scriptName) + "\"");
        return false;
    }
    if (instance == nullptr) {
        instance = Create();
    }
    if (instance == nullptr) {
        return false;
    }
    const Core::String path = Tundra::Game::GetDirectory() + "\\Resources\\Scripts\\" + scriptName;
    source = Find(path);
    instance->SetSelf(self);
    if (source != nullptr) {
        instance->Run(source);
    } else if (!instance->SetScriptPath(path, origin) && origin == ScriptOrigin::Foreign) {
        // The object runs without a script: none of its hooks are called.
        Destroy(instance);
        instance = nullptr;
        return false;
    }
    return true;
}

void LuaScript::DetachAll() {
    for (LuaScript* script : g_scripts) {
        script->m_thread = nullptr;
    }
}

bool LuaScript::Compile(const Core::String& path, ScriptOrigin origin) {
    ++g_compileCount;
    m_bytecode.clear();
    const std::string name(os::FileNameOf(path));
    std::vector<char> text;
    std::string reason;
    if (!ReadScriptFile(path, text, reason)) {
        ReportCompileFailure(origin, name, reason);
        return false;
    }
    if (!CheckStack(m_thread, 2)) {
        ReportCompileFailure(origin, name, "no room to compile");
        return false;
    }
    if (luaL_loadbuffer(m_thread, text.data(), text.size(), ("@" + name).c_str()) != 0) {
        ReportCompileFailure(origin, name, "does not compile", lua_tostring(m_thread, -1));
        lua_pop(m_thread, 1);
        return false;
    }
    // The debug information stays: it gives errors their line numbers.
    lua_dump(m_thread, &AppendChunk, &m_bytecode);
    lua_pop(m_thread, 1);
    return !m_bytecode.empty();
}

void LuaScript::LoadAndRun() {
    if (m_thread == nullptr || m_bytecode.empty() || !CheckStack(m_thread, 2)) {
        return;
    }
    if (luaL_loadbuffer(m_thread, m_bytecode.data(), m_bytecode.size(), "=loaded_chunk") != 0) {
        const char* message = lua_tostring(m_thread, -1);
        Core::LogError(message != nullptr ? message : "loaded_chunk: cannot be loaded");
        lua_pop(m_thread, 1);
        return;
    }
    m_active = true;
    CallPushed(0, 0);
}

void LuaScript::Run(const LuaScript* source) {
    if (source == nullptr || source == this || m_thread == nullptr) {
        return;
    }
    m_bytecode = source->m_bytecode;
    m_path = source->m_path;
    LoadAndRun();
}

bool LuaScript::SetScriptPath(const Core::String& path, ScriptOrigin origin) {
    m_path = path;
    if (m_thread == nullptr || !Compile(path, origin)) {
        return false;
    }
    LoadAndRun();
    return true;
}

void LuaScript::SetGlobal(const char* name, const Core::Object* object) {
    if (m_thread == nullptr) {
        return;
    }
    const Lua::CallLimits::EngineSection section;
    if (!lua_checkstack(m_thread, 2)) {
        return;
    }
    // Raw: the script may have given its globals a metatable of its own.
    lua_pushstring(m_thread, name);
    Lua::PushObject(m_thread, object);
    lua_rawset(m_thread, LUA_GLOBALSINDEX);
}

bool LuaScript::PushFunction(const char* function) {
    if (IsInactive()) {
        return false;
    }
    const Lua::CallLimits::EngineSection section;
    if (!lua_checkstack(m_thread, 5)) {
        return false;
    }
    // The script's own function, read raw: no script code runs unprotected.
    lua_pushstring(m_thread, function);
    lua_rawget(m_thread, LUA_GLOBALSINDEX);
    if (lua_isfunction(m_thread, -1)) {
        return true;
    }
    lua_pop(m_thread, 1);
    return false;
}

bool LuaScript::CallPushed(int argCount, int resultCount, const std::function<void(lua_State*, int)>& onResults) {
    // Reading the results may raise a script error in the calling script,
    // which unwinds through here: the instance still goes once its last
    // call returns, whichever way it returns.
    struct Running {
        LuaScript& script;
        explicit Running(LuaScript& s) : script(s) { ++script.m_runningCalls; }
        ~Running() {
            if (--script.m_runningCalls == 0 && script.m_destroyed) {
                delete &script;
            }
        }
        Running(const Running&) = delete;
        Running& operator=(const Running&) = delete;
    } running(*this);
    return Lua::Host::Call(m_thread, argCount, resultCount, onResults);
}

void LuaScript::Call(const char* function) {
    if (PushFunction(function)) {
        CallPushed(0, 0);
    }
}

void LuaScript::Call(const char* function, float argument) {
    if (PushFunction(function)) {
        lua_pushnumber(m_thread, argument);
        CallPushed(1, 0);
    }
}

void LuaScript::Call(const char* function, const Core::Object* argument) {
    if (PushFunction(function)) {
        {
            const Lua::CallLimits::EngineSection section;
            Lua::PushObject(m_thread, argument);
        }
        CallPushed(1, 0);
    }
}

bool LuaScript::CallForPointAndVector(const char* function, float argument, Vector2D& point, Vector2D& vector) {
    if (!PushFunction(function)) {
        return false;
    }
    lua_pushnumber(m_thread, argument);
    bool read = false;
    CallPushed(1, 2, [&](lua_State* thread, int first) {
        if (!lua_istable(thread, first) || !lua_istable(thread, first + 1)) {
            return;
        }
        double values[2][4] = {};
        const Lua::ValueClass& xy = *Lua::FindValueClass("Vector2D");
        Lua::ReadValueFields(thread, first, xy, values[0]);
        Lua::ReadValueFields(thread, first + 1, xy, values[1]);
        point = {static_cast<float>(values[0][0]), static_cast<float>(values[0][1])};
        vector = {static_cast<float>(values[1][0]), static_cast<float>(values[1][1])};
        read = true;
    });
    return read;
}
