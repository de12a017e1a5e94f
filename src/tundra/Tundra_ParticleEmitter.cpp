#include "tundra/Tundra_ParticleEmitter.h"

#include "core/Core_File.h"
#include "tundra/Lua_ScriptEngine.h"

namespace Tundra {

ParticleEmitter::ParticleEmitter(const ParticleEmitter& other)
    : Core::Object(other),
      m_scriptStateOwned(other.m_scriptStateOwned),
      m_restoreOnLoad(other.m_restoreOnLoad),
      m_scriptName(other.m_scriptName),
      m_scriptActive(other.m_scriptActive) {
    if (!other.m_scriptActive || other.m_script == nullptr) {
        return;
    }
    m_scriptSource = other.m_scriptSource;
    m_script = LuaScript::Create();
    if (m_script != nullptr) {
        m_script->SetSelf(this);
        m_script->Run(other.m_scriptSource);
    }
    for (std::size_t i = 0; i < other.m_managed.size(); ++i) {
        m_managed.emplace_back(other.m_managed[i]->Clone());
        m_managedNames.push_back(other.m_managedNames[i]);
    }
    RunHook("OnClone");
}

ParticleEmitter::~ParticleEmitter() { LuaScript::Destroy(m_script); }

void ParticleEmitter::PushToLua(lua_State* state) const { PushToLuaAs(state, "ParticleEmitter"); }

void ParticleEmitter::RunHook(const char* hook) const {
    if (m_scriptActive && m_script != nullptr && !m_script->IsInactive()) {
        m_script->Call(hook);
    }
}

void ParticleEmitter::RunHook(const char* hook, float argument) const {
    if (m_scriptActive && m_script != nullptr && !m_script->IsInactive()) {
        m_script->Call(hook, argument);
    }
}

void ParticleEmitter::GetPositionAndDirection(float time, Vector2D&, Vector2D&) {
    // The script's two results have no way back yet: the outputs stay.
    RunHook("GetPositionAndDirection", time);
}

void ParticleEmitter::Update(float dt) { RunHook("Update", dt); }

void ParticleEmitter::AddManagedObject(Core::Object* object, const Core::String& name) {
    if (object == nullptr) {
        return;
    }
    m_managed.emplace_back(object);
    m_managedNames.push_back(name);
}

void ParticleEmitter::RunScript() {
    m_scriptSource = LuaScript::Start(m_script, this, m_scriptName);
    if (m_script == nullptr) {
        return;
    }
    m_scriptStateOwned = true;
    m_scriptActive = true;
    RunHook("Constructor");
}

void ParticleEmitter::Save(Core::File& file) const {
    file.WriteU8(m_scriptActive ? 1 : 0);
    file << m_scriptName;
    file.WriteU8(m_scriptStateOwned ? 1 : 0);
    file.WriteU8(m_restoreOnLoad ? 1 : 0);
    if (m_scriptActive && m_script != nullptr && !m_script->IsInactive()) {
        for (const Core::RefPtr<Core::Object>& object : m_managed) {
            object->Save(file);
        }
        RunHook("Save");
    }
}

void ParticleEmitter::Load(Core::File& file) {
    file.ReadBool(m_scriptActive);
    // A fresh string: a stored length of 0 leaves the target as it was.
    Core::String name;
    file >> name;
    m_scriptName = name;
    file.ReadBool(m_scriptStateOwned);
    file.ReadBool(m_restoreOnLoad);
    if (!m_restoreOnLoad || !m_scriptActive || m_scriptName.empty() || file.HasFailed()) {
        return;
    }
    RunScript();
    if (m_script != nullptr && !m_script->IsInactive()) {
        for (const Core::RefPtr<Core::Object>& object : m_managed) {
            object->Load(file);
        }
        RunHook("Load");
    }
}

}  // namespace Tundra

TUN_DEFINE_CLASS(Tundra::ParticleEmitter)
