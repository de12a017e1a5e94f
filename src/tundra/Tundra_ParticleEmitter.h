#pragma once

#include "core/Core_Object.h"
#include "core/Core_RefPtr.h"
#include "core/Core_String.h"
#include "math/Math_Vector2D.h"
#include "tundra/Lua_ScriptOrigin.h"

#include <vector>

class LuaScript;

namespace Tundra {

// Degrees to radians in single precision, as emitters and particle systems
// turn their angles.
inline constexpr float kParticleDegreesToRadians = 0.0174532924f;

// Where a new particle is born and which way it leaves, in the coordinates
// of the particle system that holds the emitter. This base answers only
// through an optional script; the shapes derive from it and answer from
// their geometry. Directions are unit vectors (or zero for a shape without
// one); the system scales them by a random speed.
class ParticleEmitter : public Core::Object {
    TUN_DECLARE_CLASS(ParticleEmitter);
    ParticleEmitter() = default;
    // The same fields; with an active script the copy gets its own instance,
    // copies of the managed objects and runs "OnClone".
    ParticleEmitter(const ParticleEmitter& other);
    ParticleEmitter& operator=(const ParticleEmitter&) = delete;
    ~ParticleEmitter() override;

    LuaScript* GetScript() const override { return m_script; }
    void PushToLua(lua_State* state) const override;
    // The script part: the shapes write theirs after it.
    void Save(Core::File& file) const override;
    void Load(Core::File& file) override;

    // Fills both outputs; the script's answer here, which leaves them as they
    // were when there is none. The time is the system's frame time (0 while
    // it prepares its pool); the shapes ignore it.
    virtual void GetPositionAndDirection(float time, Vector2D& position, Vector2D& direction);
    // Once per system update, before any particle is born.
    virtual void Update(float dt);

    // Script, under "\Resources\Scripts\": a name given here is the game's
    // own; one read from a save is foreign.
    void SetScript(const Core::String& name) {
        m_scriptName = name;
        m_scriptOrigin = ScriptOrigin::Game;
    }
    const Core::String& GetScriptName() const { return m_scriptName; }
    void RunScript();
    // The emitter holds the object (null and itself are refused) and the
    // script sees it under the name.
    void AddManagedObject(Core::Object* object, const Core::String& name);

    // Whether reading runs the stored script again; only then does a save
    // carry the managed objects, which that run reads back.
    void SetRestoreOnLoad(bool restore) { m_restoreOnLoad = restore; }

protected:
    // Calls a script hook when an active instance exists.
    void RunHook(const char* hook) const;
    void RunHook(const char* hook, float argument) const;

private:
    std::vector<Core::RefPtr<Core::Object>> m_managed;
    std::vector<Core::String> m_managedNames;
    bool m_scriptStateOwned = false;
    bool m_restoreOnLoad = false;
    LuaScript* m_scriptSource = nullptr;
    LuaScript* m_script = nullptr;
    Core::String m_scriptName;
    ScriptOrigin m_scriptOrigin = ScriptOrigin::Game;
    bool m_scriptActive = false;
};

}  // namespace Tundra
