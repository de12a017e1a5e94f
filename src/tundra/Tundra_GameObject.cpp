#include "tundra/Tundra_GameObject.h"

#include "collision/Collision_CollisionEngine.h"
#include "core/Core_File.h"
#include "math/Math_Color.h"
#include "physics/Physics_PhysicsEngine.h"
#include "tundra/Lua_ScriptEngine.h"
#include "tundra/Tundra_Game.h"
#include "tundra/Tundra_Layer.h"

#include <algorithm>
#include <cmath>

namespace Tundra {
namespace {

std::uint32_t g_idCounter = 0;

TunNet* RunningNetwork() {
    const Game* game = Game::GetInstance();
    return game != nullptr ? game->GetNetworkEngine() : nullptr;
}

}  // namespace

std::uint32_t GameObject::GetIdCounter() { return g_idCounter; }

void GameObject::SetIdCounter(std::uint32_t value) { g_idCounter = value; }

GameObject::GameObject()
    : m_node(TUN_NEW(Engine::TransformationGroup)), m_id(g_idCounter++), m_collisionEpoch(0), m_physicsEpoch(0) {}

GameObject::GameObject(const GameObject& other)
    : Core::Object(other),
      m_node(TUN_NEW(Engine::TransformationGroup)),
      m_position(other.m_position),
      m_center(other.m_center),
      m_rotation(other.m_rotation),
      m_zOrder(other.m_zOrder),
      m_scaleX(other.m_scaleX),
      m_scaleY(other.m_scaleY),
      m_lifeTime(other.m_lifeTime),
      m_age(other.m_age),
      m_opacity(other.m_opacity),
      m_color(other.m_color),
      m_transformSync(other.m_transformSync),
      m_scriptActive(other.m_scriptActive),
      m_scriptStarted(other.m_scriptStarted),
      m_id(g_idCounter++),
      m_scriptName(other.m_scriptName),
      m_scriptOrigin(other.m_scriptOrigin),
      m_name(other.m_name),
      m_collisionEpoch(0),
      m_physicsEpoch(0) {
    m_node->SetVisible(other.GetVisible(), true);
    if (const std::uint32_t id = other.LiveCollisionId()) {
        AdoptCollisionId(Game::GetInstance()->GetCollisionEngine()->CloneObject(id, m_position, this));
    }
    if (const std::uint32_t id = other.LivePhysicsId()) {
        AdoptPhysicsId(Game::GetInstance()->GetPhysicsEngine()->CloneRigidBody(id, this));
    }
    m_scriptSource = other.m_script;
    if (other.m_scriptActive && other.m_script != nullptr) {
        m_scriptCopied = true;
        m_script = LuaScript::Create();
        for (std::size_t i = 0; i < other.m_managed.size(); ++i) {
            m_managedNames.push_back(other.m_managedNames[i]);
            Core::Object* copy = other.m_managed[i] != nullptr ? other.m_managed[i]->Clone() : nullptr;
            if (copy != nullptr) {
                copy->AddReference();
                if (m_script != nullptr) {
                    m_script->SetGlobal(m_managedNames.back().c_str(), copy);
                }
            }
            m_managed.push_back(copy);
        }
    }
}

GameObject::~GameObject() {
    GameObject::Cleanup();
    // A cleaned-up object may have been mounted on, or had mounted, again.
    UnlinkMounts();
}

void GameObject::UnlinkMounts() {
    for (GameObject* child : m_mounted) {
        child->m_mount = nullptr;
    }
    m_mounted.clear();
    if (m_mount != nullptr && m_mount != this) {
        std::erase(m_mount->m_mounted, this);
    }
    m_mount = nullptr;
}

void GameObject::PushToLua(lua_State* state) const { PushToLuaAs(state, "GameObject"); }

bool GameObject::IsNetworkReplica() const {
    if (m_networkId == nullptr) {
        return false;
    }
    const TunNet* network = RunningNetwork();
    return network != nullptr && network->IsNetworkGame() && !network->IsHost();
}

bool GameObject::ChangeNetworkOwner(const TunPlayer* player) {
    if (m_networkId == nullptr) {
        return false;
    }
    if (player == nullptr) {
        const TunNet* network = RunningNetwork();
        player = network != nullptr ? network->GetLocalPlayer() : nullptr;
        if (player == nullptr) {
            return false;
        }
    }
    m_networkId = TUN_NEW(NetObjectID, player->GetID(), m_networkId->GetObjectNumber());
    return true;
}

bool GameObject::GetNetworkOwner(std::uint32_t& playerId) const {
    if (m_networkId == nullptr) {
        return false;
    }
    playerId = m_networkId->GetOwnerId();
    return true;
}

const TunPlayer* GameObject::MirroredOwner() const {
    const TunNet* network = RunningNetwork();
    if (m_networkId == nullptr || network == nullptr || !network->IsNetworkGame() || !network->IsHost()) {
        return nullptr;
    }
    return network->FindPlayer(m_networkId->GetOwnerId());
}

Input::Keyboard* GameObject::GetNetworkKeyboard() const {
    const Game* game = Game::GetInstance();
    if (game == nullptr) {
        return nullptr;
    }
    const TunPlayer* owner = MirroredOwner();
    Input::Keyboard* mirror = owner != nullptr ? owner->GetKeyboard() : nullptr;
    return mirror != nullptr ? mirror : game->GetKeyboard();
}

Input::Mouse* GameObject::GetNetworkMouse() const {
    const Game* game = Game::GetInstance();
    if (game == nullptr) {
        return nullptr;
    }
    const TunPlayer* owner = MirroredOwner();
    Input::Mouse* mirror = owner != nullptr ? owner->GetMouse() : nullptr;
    return mirror != nullptr ? mirror : game->GetMouse();
}

void GameObject::RunHook(const char* hook, bool condition) const {
    if (m_script != nullptr && !m_script->IsInactive() && condition) {
        m_script->Call(hook);
    }
}

void GameObject::RunHook(const char* hook, bool condition, float argument) const {
    if (m_script != nullptr && !m_script->IsInactive() && condition) {
        m_script->Call(hook, argument);
    }
}

void GameObject::RunHook(const char* hook, bool condition, const Core::Object* argument) const {
    if (m_script != nullptr && !m_script->IsInactive() && condition) {
        m_script->Call(hook, argument);
    }
}

void GameObject::Destroy() {
    if (m_destroyed || m_destroyRequested) {
        return;
    }
    RunHook("Destroy", true);
    m_destroyRequested = true;
    if (m_layer != nullptr) {
        m_layer->RemoveGameObject(this);
    }
}

void GameObject::OnStart() { RunHook("OnStart", m_scriptActive); }

void GameObject::OnEnd() { RunHook("OnEnd", m_scriptActive); }

void GameObject::Update(float dt) { RunHook("Update", m_scriptActive, dt); }

void GameObject::EngineUpdate(float dt) {
    if (IsNetworkReplica()) {
        const Vector2D offset = m_networkTargetPosition - m_position;
        if (offset.Length() > 0.0f) {
            m_position = m_position + offset * 0.5f;
        }
        if (m_networkTargetRotation != m_rotation) {
            m_rotation = m_rotation + (m_networkTargetRotation - m_rotation) * 0.5f;
        }
        SetRotationAngle(m_rotation);
        SetPosition(m_position);
        RenderSync(dt);
        return;
    }
    if (m_lifeTime > 0.0f) {
        m_age += dt;
        if (m_age > m_lifeTime) {
            Destroy();
            return;
        }
    }
    Update(dt);
    RenderSync(dt);
}

bool GameObject::Initialize() {
    m_componentManager = TUN_NEW(TunComponentManager);
    const TunNet* network = RunningNetwork();
    return network != nullptr && network->IsNetworkGame() && network->IsHost();
}

void GameObject::Cleanup() {
    if (m_cleanedUp) {
        return;
    }
    m_layer = nullptr;
    m_destroyed = true;
    UnlinkMounts();
    RemoveCollision();
    if (Game::GetInstance() != nullptr) {
        RemovePhysicalProperties();
    }
    LuaScript::Destroy(m_script);
    m_script = nullptr;
    for (Core::Object* object : m_managed) {
        if (object != nullptr) {
            object->Release();
        }
    }
    m_managed.clear();
    m_managedNames.clear();
    m_cleanedUp = true;
}

void GameObject::SetName(const Core::String& name) {
    if (name != m_name && m_layer != nullptr) {
        m_layer->RenameGameObject(this, m_name, name);
    }
    m_name = name;
}

void GameObject::SetVisible(bool visible) {
    m_node->SetVisible(visible, true);
    ForEachMounted([visible](GameObject& child) { child.m_node->SetVisible(visible, true); });
}

void GameObject::AddManagedObject(Core::Object* object, const Core::String& name) {
    // After Cleanup nothing would let go of it; an object holding itself
    // would never be freed.
    if (object == nullptr || object == this || m_cleanedUp) {
        return;
    }
    object->AddReference();
    m_managed.push_back(object);
    m_managedNames.push_back(name);
    if (m_script != nullptr) {
        m_script->SetGlobal(name.c_str(), object);
    }
}

void GameObject::RunScript(bool skipConstructor) {
    if (!LuaScript::Start(m_script, m_scriptSource, this, m_scriptName, m_scriptOrigin)) {
        return;
    }
    m_scriptActive = true;
    m_scriptStarted = true;
    if (!skipConstructor) {
        RunHook("Constructor", true);
    }
}

void GameObject::Save(Core::File& file) const {
    file.WriteF32(m_position.x);
    file.WriteF32(m_position.y);
    file.WriteF32(m_center.x);
    file.WriteF32(m_center.y);
    file.WriteF32(m_rotation);
    file.WriteU32(static_cast<std::uint32_t>(m_mounted.size()));
    for (const GameObject* child : m_mounted) {
        file << child;
    }
    // Neither the mount nor the layer is written (their places stay, as null):
    // an object saved alone must not carry its containers, and the layer or
    // mount that holds it links it again when read back.
    file.WriteObject(nullptr);
    file.WriteObject(nullptr);
    file << m_name;
    file.WriteF32(m_scaleX);
    file.WriteF32(m_scaleY);
    file.WriteF32(m_opacity);
    file << m_color;
    file.WriteU8(GetVisible() ? 1 : 0);
    file.WriteF32(m_lifeTime);
    file.WriteF32(m_age);
    file.WriteF32(m_zOrder);
    file.WriteU32(m_id);
    file.WriteU32(m_collisionId);
    file.WriteU32(m_physicsId);
    file.WriteU8(m_destroyed ? 1 : 0);
    file.WriteU8(m_destroyRequested ? 1 : 0);
    file.WriteU8(m_transformSync ? 1 : 0);
    file.WriteU8(m_cleanedUp ? 1 : 0);
    file.WriteU8(m_scriptActive ? 1 : 0);
    file << m_scriptName;
    file.WriteU8(m_scriptCopied ? 1 : 0);
    file.WriteU8(m_scriptStarted ? 1 : 0);
    if (m_scriptActive && m_script != nullptr && m_scriptStarted && !m_script->IsInactive()) {
        // The managed objects only where Load reads them back: it starts the
        // script again only under a name it can start (never an empty one,
        // which a script may have set since). Unread, they would shift all
        // that follows.
        if (LuaScript::IsPlainScriptName(m_scriptName)) {
            // By position, each held: a hook may add managed objects meanwhile.
            for (std::size_t i = 0; i < m_managed.size(); ++i) {
                if (const Core::RefPtr<Core::Object> object = m_managed[i]) {
                    object->Save(file);
                }
            }
        }
        RunHook("Save", true);
    }
}

void GameObject::Load(Core::File& file) {
    // Reading replaces the object's state: what it held of the engines and its
    // mount links go first, so that nothing is left naming it.
    RemoveCollision();
    RemovePhysicalProperties();
    UnlinkMounts();
    const bool wasCleanedUp = m_cleanedUp;
    file.ReadF32(m_position.x);
    file.ReadF32(m_position.y);
    file.ReadF32(m_center.x);
    file.ReadF32(m_center.y);
    file.ReadF32(m_rotation);
    std::uint32_t mountedCount = 0;
    file.ReadU32(mountedCount);
    for (std::uint32_t i = 0; i < mountedCount && !file.HasFailed(); ++i) {
        GameObject* child = file.ReadObjectAs<GameObject>();
        // Links are kept two-sided, so that either end going clears the other.
        if (child == nullptr || child == this || IsInMountChain(child) ||
            (child->m_mount != nullptr && child->m_mount != this)) {
            file.SetFailed();
            break;
        }
        child->m_mount = this;
        m_mounted.push_back(child);
    }
    // The mount lists this object itself, and the layer that holds it sets
    // its layer: a stored back pointer alone would outlive what it names.
    file.ReadObjectAs<GameObject>();
    file.ReadObjectAs<Layer>();
    Core::String name;
    file >> name;
    m_name = name;
    file.ReadF32(m_scaleX);
    file.ReadF32(m_scaleY);
    file.ReadF32(m_opacity);
    file >> m_color;
    bool visible = GetVisible();
    file.ReadBool(visible);
    file.ReadF32(m_lifeTime);
    file.ReadF32(m_age);
    file.ReadF32(m_zOrder);
    file.ReadU32(m_id);
    file.ReadU32(m_collisionId);
    file.ReadU32(m_physicsId);
    file.ReadBool(m_destroyed);
    file.ReadBool(m_destroyRequested);
    file.ReadBool(m_transformSync);
    file.ReadBool(m_cleanedUp);
    file.ReadBool(m_scriptActive);
    Core::String scriptName;
    file >> scriptName;
    m_scriptName = scriptName;
    m_scriptOrigin = ScriptOrigin::Foreign;
    file.ReadBool(m_scriptCopied);
    file.ReadBool(m_scriptStarted);
    m_scriptSource = nullptr;
    m_node->SetVisible(visible, true);
    // Only a destroyed object is cleaned up, and a cleaned-up one holds
    // nothing: its destructor would not let go of what it claimed. A stored
    // flag never undoes a clean-up that already ran.
    m_cleanedUp = m_cleanedUp || wasCleanedUp;
    m_destroyed = m_destroyed || m_cleanedUp;
    if (m_cleanedUp) {
        return;
    }
    ClaimEngineEntries();
    if (m_scriptActive && !m_scriptName.empty() && m_scriptStarted && !file.HasFailed()) {
        RunScript(false);
        if (m_script != nullptr && !m_script->IsInactive()) {
            // By position, each held: a hook may add managed objects meanwhile.
            for (std::size_t i = 0; i < m_managed.size(); ++i) {
                if (const Core::RefPtr<Core::Object> object = m_managed[i]) {
                    object->Load(file);
                }
            }
            RunHook("Load", true);
        }
    }
}

}  // namespace Tundra

TUN_DEFINE_CLASS(Tundra::GameObject)
