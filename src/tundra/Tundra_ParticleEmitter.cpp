#include "tundra/Tundra_ParticleEmitter.h"

#include "core/Core_File.h"
#include "tundra/Lua_ScriptEngine.h"

namespace Tundra {

ParticleEmitter::ParticleEmitter(const ParticleEmitter& other)
    : Core::Object(other),
      m_scriptStateOwned(other.m_scriptStateOwned),
      m_restoreOnLoad(other.m_restoreOnLoad),
      m_scriptName(other.m_scriptName),
      m_scriptOrigin(other.m_scriptOrigin),
      m_scriptActive(other.m_scriptActive) {
    if (!other.m_scriptActive || other.m_script == nullptr) {
        return;
    }
    m_scriptSource = other.m_scriptSource;
    m_script = LuaScript::Create();
    if (m_script != nullptr) {
        m_script->SetSelf(this);
        m_script->Run(other.m_script);
    }
    for (std::size_t i = 0; i < other.m_managed.size(); ++i) {
        m_managed.emplace_back(other.m_managed[i]->Clone());
        m_managedNames.push_back(other.m_managedNames[i]);
        if (m_script != nullptr) {
            m_script->SetGlobal(m_managedNames.back().c_str(), m_managed.back().Get());
        }
    }
    if (m_scriptActive && m_script != nullptr && !m_script->IsInactive()) {
        m_script->Call("OnClone", &other);
    }
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

void ParticleEmitter::GetPositionAndDirection(float time, Vector2D& position, Vector2D& direction) {
    if (m_scriptActive && m_script != nullptr) {
        m_script->CallForPointAndVector("GetPositionAndDirection", time, position, direction);
    }
}

void ParticleEmitter::Update(float dt) { RunHook("Update", dt); }

void ParticleEmitter::AddManagedObject(Core::Object* object, const Core::String& name) {
    // Holding itself, it would never be freed.
    if (object == nullptr || object == this) {
        return;
    }
    m_managed.emplace_back(object);
    m_managedNames.push_back(name);
    if (m_script != nullptr) {
        m_script->SetGlobal(name.c_str(), object);
    }
}

void ParticleEmitter::RunScript() {
    if (!LuaScript::Start(m_script, m_scriptSource, this, m_scriptName, m_scriptOrigin)) {
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
        // The managed objects only where Load reads them back: it runs the
        // script again only with the restore flag and a name it can start
        // (never an empty one). Unread, they would shift all that follows.
        if (m_restoreOnLoad && LuaScript::IsPlainScriptName(m_scriptName)) {
            // By position, each held: a hook may add managed objects meanwhile.
            for (std::size_t i = 0; i < m_managed.size(); ++i) {
                const Core::RefPtr<Core::Object> object = m_managed[i];
                object->Save(file);
            }
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
    m_scriptOrigin = ScriptOrigin::Foreign;
    file.ReadBool(m_scriptStateOwned);
    file.ReadBool(m_restoreOnLoad);
    if (!m_restoreOnLoad || !m_scriptActive || m_scriptName.empty() || file.HasFailed()) {
        return;
    }
    RunScript();
    if (m_script != nullptr && !m_script->IsInactive()) {
        // By position, each held: a hook may add managed objects meanwhile.
        for (std::size_t i = 0; i < m_managed.size(); ++i) {
            const Core::RefPtr<Core::Object> object = m_managed[i];
            object->Load(file);
        }
        RunHook("Load");
    }
}

}  // namespace Tundra

TUN_DEFINE_CLASS(Tundra::ParticleEmitter)
