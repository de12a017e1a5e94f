#include "tundra/Tundra_Level.h"

#include "core/Core_File.h"
#include "sound/Sound_SoundEngine.h"
#include "tundra/Lua_ScriptEngine.h"
#include "tundra/Tundra_Game.h"
#include "tundra/Tundra_GameObject.h"
#include "tundra/Tundra_Sprite.h"

#include <algorithm>

namespace Tundra {
namespace {

Engine::SceneGraph* SceneGraph() {
    Game* game = Game::GetInstance();
    return game != nullptr ? game->GetSceneGraph() : nullptr;
}

bool IsActive(const LuaScript* script) { return script != nullptr && !script->IsInactive(); }

template <class T>
void WriteList(Core::File& file, const std::vector<Core::RefPtr<T>>& list) {
    file.WriteU32(static_cast<std::uint32_t>(list.size()));
    for (const Core::RefPtr<T>& element : list) {
        file << element;
    }
}

// A stored count of references, each handed to add. A stored list has no
// gaps and nothing twice (a layer listed twice would be updated and drawn
// twice): either fails the stream.
template <class T, class Add>
void ReadList(Core::File& file, const std::vector<Core::RefPtr<T>>& list, const Add& add) {
    std::uint32_t count = 0;
    file.ReadU32(count);
    for (std::uint32_t i = 0; i < count && !file.HasFailed(); ++i) {
        Core::RefPtr<T> element;
        file >> element;
        if (!element || std::find(list.begin(), list.end(), element) != list.end()) {
            file.SetFailed();
            return;
        }
        add(element.Get());
    }
}

// Every sprite of the layers, layer by layer, each layer's in its order.
void ForEachSprite(const std::vector<Core::RefPtr<Layer>>& layers, const std::function<void(Sprite&)>& action) {
    std::vector<GameObject*> objects;
    for (const Core::RefPtr<Layer>& layer : layers) {
        layer->GetGameObjects(objects);
        for (GameObject* object : objects) {
            if (auto* sprite = dynamic_cast<Sprite*>(object)) {
                action(*sprite);
            }
        }
    }
}

}  // namespace

Level::~Level() { Level::Shutdown(); }

void Level::PushToLua(lua_State* state) const { PushToLuaAs(state, "Level"); }

void Level::OnStart() {
    if (IsActive(m_script)) {
        m_script->Call("OnStart");
    }
}

void Level::OnEnd() {
    if (IsActive(m_script)) {
        m_script->Call("OnEnd");
    }
}

void Level::Update(float dt) {
    if (IsActive(m_script)) {
        m_script->Call("Update", dt);
    }
}

void Level::AddLayer(Layer* layer) {
    if (layer == nullptr || std::find(m_layers.begin(), m_layers.end(), layer) != m_layers.end()) {
        return;
    }
    layer->SetIndex(GetLayersCount());
    m_layers.emplace_back(layer);
    if (Engine::SceneGraph* sceneGraph = SceneGraph()) {
        sceneGraph->AddChild(layer->GetSceneNode());
    }
}

Layer* Level::GetLayer(std::uint32_t index) const { return index < m_layers.size() ? m_layers[index].Get() : nullptr; }

Layer* Level::GetLayerByName(const Core::String& name) const {
    for (const Core::RefPtr<Layer>& layer : m_layers) {
        if (layer->GetName() == name) {
            return layer.Get();
        }
    }
    return nullptr;
}

void Level::AddViewport(Viewport* viewport) {
    if (viewport != nullptr && std::find(m_viewports.begin(), m_viewports.end(), viewport) == m_viewports.end()) {
        m_viewports.emplace_back(viewport);
    }
}

void Level::RemoveViewport(Viewport* viewport) {
    const auto found = std::find(m_viewports.begin(), m_viewports.end(), viewport);
    if (found != m_viewports.end()) {
        m_viewports.erase(found);
    }
}

Viewport* Level::GetViewport(std::uint32_t index) const {
    return index < m_viewports.size() ? m_viewports[index].Get() : nullptr;
}

Viewport* Level::GetViewportByName(const Core::String& name) const {
    for (const Core::RefPtr<Viewport>& viewport : m_viewports) {
        if (viewport->GetName() == name) {
            return viewport.Get();
        }
    }
    return nullptr;
}

void Level::AddManagedObject(Core::Object* object, const Core::String& name) {
    // Holding itself, it would never be freed.
    if (object == nullptr || object == this) {
        return;
    }
    m_managedObjects.emplace_back(object);
    m_managedObjectNames.push_back(name);
    if (m_script != nullptr) {
        m_script->SetGlobal(name.c_str(), object);
    }
}

void Level::GetGameObjects(const Core::String* name, std::vector<GameObject*>& out) const {
    out.clear();
    std::vector<GameObject*> objects;
    for (const Core::RefPtr<Layer>& layer : m_layers) {
        if (name != nullptr) {
            layer->GetGameObjectsByName(*name, objects);
        } else {
            layer->GetGameObjects(objects);
        }
        out.insert(out.end(), objects.begin(), objects.end());
    }
}

void Level::RunScript() {
    LuaScript* source = nullptr;
    if (!LuaScript::Start(m_script, source, this, m_scriptName, m_scriptOrigin)) {
        return;
    }
    m_script->Call("Constructor");
}

void Level::ForEachLayer(const std::function<void(Layer&)>& action) {
    // By position, re-reading the length, each layer held: hooks may add
    // layers or shut the level down meanwhile.
    for (std::size_t i = 0; i < m_layers.size(); ++i) {
        const Core::RefPtr<Layer> layer = m_layers[i];
        action(*layer);
    }
}

void Level::FrameUpdate(float dt) {
    Update(dt);
    ForEachLayer([dt](Layer& layer) { layer.Update(dt); });
    PlaceSoundListener();
    if (const Core::RefPtr<JukeBox> jukebox = m_jukebox) {
        jukebox->Update(dt);
    }
}

void Level::PlaceSoundListener() {
    const Camera* listener = Camera::GetActiveListener();
    const Game* game = Game::GetInstance();
    SoundEngine* sound = game != nullptr ? game->GetSoundEngine() : nullptr;
    if (listener == nullptr || sound == nullptr) {
        return;
    }
    // A camera outside any layer listens from depth 0.
    const Layer* layer = listener->GetLayer();
    sound->SetListenerPosition(
        {listener->GetPositionX(), listener->GetPositionY(), layer != nullptr ? layer->GetZOrder() : 0.0f});
}

void Level::FirstLateUpdate(float dt) {
    ForEachLayer([dt](Layer& layer) { layer.FirstLateUpdate(dt); });
}

void Level::SecondLateUpdate(float dt) {
    ForEachLayer([dt](Layer& layer) { layer.SecondLateUpdate(dt); });
}

void Level::UpdateGameObjectTransformations() {
    ForEachLayer([](Layer& layer) { layer.UpdateGameObjectTransformations(); });
}

void Level::RenderViewports(Engine::SceneGraph& sceneGraph) {
    sceneGraph.SetViewportCount(GetViewportsCount());
    for (std::uint32_t i = 0; i < m_viewports.size(); ++i) {
        const Core::RefPtr<Viewport> viewport = m_viewports[i];
        sceneGraph.SetViewportIndex(i);
        viewport->Render(sceneGraph);
    }
}

void Level::End() {
    ForEachLayer([](Layer& layer) { layer.EndGameObjects(); });
}

void Level::Shutdown() {
    if (m_shutDown != 0) {
        return;
    }
    // The running level owns the scene graph; any other (one read from a
    // save, say) takes back only what it hung there: its layers' groups.
    Engine::SceneGraph* sceneGraph = SceneGraph();
    const bool running = Game::GetInstance() != nullptr && Game::GetInstance()->GetCurrentLevel() == this;
    ForEachLayer([sceneGraph, running](Layer& layer) {
        layer.Shutdown();
        if (sceneGraph != nullptr && !running) {
            sceneGraph->RemoveChild(layer.GetSceneNode().Get());
        }
    });
    m_layers.clear();
    m_viewports.clear();
    if (m_jukebox) {
        m_jukebox->StopMusic();
        m_jukebox = nullptr;
    }
    if (sceneGraph != nullptr && running) {
        sceneGraph->RemoveAllChildren();
    }
    LuaScript::Destroy(m_script);
    m_script = nullptr;
    m_managedObjects.clear();
    m_managedObjectNames.clear();
    m_shutDown = 1;
}

void Level::Save(Core::File& file) const {
    WriteList(file, m_layers);
    WriteList(file, m_viewports);
    file.WriteF32(m_clearColor.r);
    file.WriteF32(m_clearColor.g);
    file.WriteF32(m_clearColor.b);
    file.WriteF32(m_clearColor.a);
    file << m_typeName;
    file << m_jukebox;
    file.WriteU8(m_shutDown);
    file.WriteU8(m_clearBackBuffer);
    file << (m_script != nullptr ? m_scriptName : Core::String());
    // No counts: the reader takes them from the collision results, which a
    // save restores before the level.
    ForEachSprite(m_layers, [&file](Sprite& sprite) { sprite.WriteCollidedSpriteIds(file); });
    if (IsActive(m_script)) {
        // The managed objects only where Load reads them back: it starts the
        // script again only under the name written above when it can start
        // it (never an empty one, which a script may have set since).
        // Unread, they would shift all that follows.
        if (LuaScript::IsPlainScriptName(m_scriptName)) {
            // By position, each held: a hook may add managed objects meanwhile.
            for (std::size_t i = 0; i < m_managedObjects.size(); ++i) {
                const Core::RefPtr<Core::Object> object = m_managedObjects[i];
                object->Save(file);
            }
        }
        m_script->Call("Save");
    }
}

void Level::Load(Core::File& file) {
    ReadList(file, m_layers, [this](Layer* layer) { AddLayer(layer); });
    ReadList(file, m_viewports, [this](Viewport* viewport) { AddViewport(viewport); });
    file.ReadF32(m_clearColor.r);
    file.ReadF32(m_clearColor.g);
    file.ReadF32(m_clearColor.b);
    file.ReadF32(m_clearColor.a);
    Core::String typeName;
    file >> typeName;
    m_typeName = typeName;
    Core::RefPtr<JukeBox> jukebox;
    file >> jukebox;
    m_jukebox = jukebox;
    // A read level still has everything to let go of: the stored shut-down
    // state is not taken.
    std::uint8_t storedShutDown = 0;
    file.ReadU8(storedShutDown);
    file.ReadU8(m_clearBackBuffer);
    Core::String scriptName;
    file >> scriptName;
    ForEachSprite(m_layers, [this, &file](Sprite& sprite) { sprite.ReadCollidedSpriteIds(file, *this); });
    if (!scriptName.empty() && !file.HasFailed()) {
        m_scriptName = scriptName;
        m_scriptOrigin = ScriptOrigin::Foreign;
        RunScript();
    }
    if (IsActive(m_script) && !file.HasFailed()) {
        // The managed objects are those the "Constructor" hook added.
        for (std::size_t i = 0; i < m_managedObjects.size() && !file.HasFailed(); ++i) {
            const Core::RefPtr<Core::Object> object = m_managedObjects[i];
            object->Load(file);
        }
        m_script->Call("Load");
    }
}

}  // namespace Tundra

TUN_DEFINE_UNCLONABLE_CLASS(Tundra::Level)
