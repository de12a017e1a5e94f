#pragma once

#include "core/Core_Object.h"
#include "core/Core_RefPtr.h"
#include "core/Core_String.h"
#include "math/Math_Color.h"
#include "sound/Sound_JukeBox.h"
#include "tundra/Lua_ScriptOrigin.h"
#include "tundra/Tundra_Layer.h"
#include "tundra/Tundra_UnclonableClass.h"
#include "tundra/Tundra_Viewport.h"

#include <cstdint>
#include <functional>
#include <vector>

namespace Tundra {

class GameObject;

// One screen of a game: ordered layers holding the game objects, the
// viewports they are drawn through, an optional jukebox, a clear colour and optional script hooks. Concrete
// levels override OnStart, OnEnd and Update.
class Level : public Core::Object {
    TUN_DECLARE_UNCLONABLE_CLASS(Level);
    Level() = default;
    // Keeps the root's copy: a level cannot be cloned.
    Level(const Level&) = delete;
    Level& operator=(const Level&) = delete;
    ~Level() override;

    LuaScript* GetScript() const override { return m_script; }
    void PushToLua(lua_State* state) const override;
    void Save(Core::File& file) const override;
    void Load(Core::File& file) override;

    virtual void OnStart();
    virtual void OnEnd();
    virtual void Update(float dt);

    // Gives the layer its index and hangs its group under the scene graph;
    // null and a layer already listed are ignored.
    void AddLayer(Layer* layer);
    std::uint32_t GetLayersCount() const { return static_cast<std::uint32_t>(m_layers.size()); }
    Layer* GetLayer(std::uint32_t index) const;
    Layer* GetLayerByName(const Core::String& name) const;

    // Appends it, drawn after those before; null and a viewport already
    // listed are ignored.
    void AddViewport(Viewport* viewport);
    // Its first occurrence, if any.
    void RemoveViewport(Viewport* viewport);
    std::uint32_t GetViewportsCount() const { return static_cast<std::uint32_t>(m_viewports.size()); }
    Viewport* GetViewport(std::uint32_t index) const;
    Viewport* GetViewportByName(const Core::String& name) const;

    void SetJukeBox(JukeBox* jukebox) { m_jukebox = jukebox; }
    JukeBox* GetJukeBox() const { return m_jukebox.Get(); }
    void SetClearBackBuffer(bool clear) { m_clearBackBuffer = clear ? 1 : 0; }
    bool GetClearBackBuffer() const { return m_clearBackBuffer != 0; }
    void SetClearColor(const Color& color) { m_clearColor = color; }
    const Color& GetClearColor() const { return m_clearColor; }
    void SetTypeName(const Core::String& name) { m_typeName = name; }
    const Core::String& GetTypeName() const { return m_typeName; }
    // The game's own script; a name read from a save is foreign.
    void SetScriptName(const Core::String& name) {
        m_scriptName = name;
        m_scriptOrigin = ScriptOrigin::Game;
    }
    // Held until the level shuts down (null and the level itself are
    // refused); the level's script sees it under the name.
    void AddManagedObject(Core::Object* object, const Core::String& name);

    // Every layer's objects in layer order (each in ID order), all of them
    // or those of the name.
    void GetGameObjects(const Core::String* name, std::vector<GameObject*>& out) const;

    void RunScript();
    // The hook, each layer's objects, the sound listener, the jukebox.
    void FrameUpdate(float dt);
    void FirstLateUpdate(float dt);
    void SecondLateUpdate(float dt);
    void UpdateGameObjectTransformations();
    // Each viewport in order, the scene graph told their count and the
    // index of the one being drawn.
    void RenderViewports(Engine::SceneGraph& sceneGraph);
    // Every object's end hook.
    void End();
    // Runs once: layers shut down and released, music stopped, the scene
    // graph emptied (by the running level; any other takes back only its
    // layers' groups), managed objects released.
    void Shutdown();
    bool IsShutDown() const { return m_shutDown != 0; }

private:
    void ForEachLayer(const std::function<void(Layer&)>& action);
    // Where the active listener camera is: its position and its layer's depth.
    static void PlaceSoundListener();

    LuaScript* m_script = nullptr;
    std::vector<Core::RefPtr<Core::Object>> m_managedObjects;
    std::vector<Core::String> m_managedObjectNames;
    Core::String m_scriptName;
    ScriptOrigin m_scriptOrigin = ScriptOrigin::Game;
    std::vector<Core::RefPtr<Layer>> m_layers;
    std::vector<Core::RefPtr<Viewport>> m_viewports;
    Color m_clearColor{0.0f, 0.0f, 0.0f, 1.0f};
    Core::String m_typeName;
    Core::RefPtr<JukeBox> m_jukebox;
    std::uint8_t m_shutDown = 0;
    std::uint8_t m_clearBackBuffer = 0;
};

}  // namespace Tundra
