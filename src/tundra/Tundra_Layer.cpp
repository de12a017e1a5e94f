#include "tundra/Tundra_Layer.h"

#include "collision/Collision_CollisionEngine.h"
#include "collision/Collision_CollisionId.h"
#include "core/Core_File.h"
#include "math/Math_Color.h"
#include "math/Math_Matrix4.h"
#include "network/Network_TunNet.h"
#include "tundra/Tundra_Circle.h"
#include "tundra/Tundra_Game.h"
#include "tundra/Tundra_GameObject.h"
#include "tundra/Tundra_Line.h"
#include "tundra/Tundra_RunningEngines.h"

#include <algorithm>
#include <set>

namespace Tundra {
namespace {

}  // namespace

Layer::Layer() : m_group(TUN_NEW(Engine::TransformationGroup)) { UpdateTransformation(); }

Layer::Layer(float zOrder) : m_group(TUN_NEW(Engine::TransformationGroup)), m_zOrder(zOrder) {
    if (Collision2D::CollisionEngine* collision = RunningCollisionEngine()) {
        m_collisionLayer = collision->AddLayer();
        m_collisionEpoch = Game::GetCollisionEpoch();
    }
    UpdateTransformation();
}

Layer::~Layer() {
    Layer::Shutdown();
    // A layer read back already shut down still holds objects naming it.
    for (const auto& [id, object] : m_objects) {
        ReleaseIfHeld(object);
    }
    for (const ObjectRef& object : m_pendingAdditions) {
        ReleaseIfHeld(object);
    }
    for (const ObjectRef& object : m_pendingRemovals) {
        ReleaseIfHeld(object);
    }
}

void Layer::ReleaseIfHeld(const ObjectRef& object) {
    if (object->m_layer == this) {
        object->m_layer = nullptr;
    }
}

void Layer::PushToLua(lua_State* state) const { PushToLuaAs(state, "Layer"); }

void Layer::UpdateTransformation() {
    m_group->SetTransformation(Matrix4::Translation(0.0f, 0.0f, m_zOrder) * Matrix4::RotationZ(m_rotation) *
                               Matrix4::Scaling(m_scaleX, m_scaleY, 1.0f));
}

void Layer::SetZOrder(float z) {
    m_zOrder = z;
    UpdateTransformation();
}

void Layer::SetScale(float x, float y) {
    m_scaleX = x;
    m_scaleY = y;
    UpdateTransformation();
}

void Layer::SetRotation(float degrees) {
    m_rotation = degrees;
    UpdateTransformation();
}

void Layer::SetCollisionProperties(const Vector2D& origin, int width, int height, int cellSize) {
    if (Collision2D::CollisionEngine* collision = RunningCollisionEngine()) {
        collision->SetLayerGrid(m_collisionLayer, origin, width, height, cellSize);
    }
    m_gridOrigin = origin;
    m_gridWidth = width;
    m_gridHeight = height;
    m_gridCellSize = cellSize;
}

std::uint32_t Layer::AddStaticLineSegment(const Vector2D& a, const Vector2D& b, std::uint8_t group,
                                          std::uint32_t userId) {
    Collision2D::CollisionEngine* collision = RunningCollisionEngine();
    if (collision == nullptr) {
        return 0;
    }
    auto* shape = new Collision2D::StaticCollisionLineSegment(Math::LineSegment2D(a, b));
    shape->SetZCollision(group);
    shape->SetUserId(userId);
    return collision->AddObject(shape, m_collisionLayer, Vector2D(0.0f, 0.0f));
}

std::uint32_t Layer::AddStaticCircle(const Vector2D& center, float radius, std::uint8_t group, std::uint32_t userId) {
    Collision2D::CollisionEngine* collision = RunningCollisionEngine();
    if (collision == nullptr) {
        return 0;
    }
    auto* shape = new Collision2D::StaticCollisionCircle(Math::Circle2D(center, radius));
    shape->SetZCollision(group);
    shape->SetUserId(userId);
    return collision->AddObject(shape, m_collisionLayer, Vector2D(0.0f, 0.0f));
}

void Layer::AddGameObject(GameObject* object, bool networked, TunPlayer* owner) {
    if (object == nullptr || object->m_layer != nullptr || object->m_destroyed || object->m_cleanedUp) {
        return;
    }
    // Held across the network call, which may be the first to see it.
    const ObjectRef held = object;
    if (const std::uint32_t id = object->LiveCollisionId()) {
        Collision2D::CollisionEngine* collision = RunningCollisionEngine();
        collision->SetObjectPosition(id, object->m_position);
        collision->SetObjectOrientation(id, object->m_rotation);
        if (Collision2D::DynamicObject* dynamic = collision->GetCollisionResults(id)) {
            dynamic->ResetMotion();
        }
    }
    if (networked) {
        Game* game = Game::GetInstance();
        TunNet* network = game != nullptr ? game->GetNetworkEngine() : nullptr;
        if (network == nullptr || !network->AddNetworkObject(object, m_index, owner)) {
            return;
        }
    }
    InsertGameObject(object);
}

GameObject* Layer::AddNetworkGameObject(const Core::String& name, TunPlayer* owner) {
    const Game* game = Game::GetInstance();
    TunNet* network = game != nullptr ? game->GetNetworkEngine() : nullptr;
    if (network == nullptr || !network->IsNetworkGame() || !network->IsHost()) {
        return nullptr;
    }
    const GameObject* pattern = network->FindNetworkObject(name);
    if (pattern == nullptr) {
        return nullptr;
    }
    const ObjectRef clone = static_cast<GameObject*>(pattern->Clone());
    clone->m_networkClassName = pattern->m_networkClassName;
    AddGameObject(clone.Get(), true, owner);
    // Refused, the clone goes with the last reference.
    return clone->m_layer == this ? clone.Get() : nullptr;
}

void Layer::InsertGameObject(GameObject* object) {
    object->m_layer = this;
    m_pendingAdditions.emplace_back(object);
    m_objectsByName[object->m_name].emplace_back(object);
}

void Layer::RemoveGameObject(GameObject* object) {
    if (object == nullptr || object->m_layer != this || object->m_destroyed) {
        return;
    }
    // A second removal before the update would end the object twice.
    if (std::find(m_pendingRemovals.begin(), m_pendingRemovals.end(), object) != m_pendingRemovals.end()) {
        return;
    }
    if (object->IsNetworkObject()) {
        Game* game = Game::GetInstance();
        TunNet* network = game != nullptr ? game->GetNetworkEngine() : nullptr;
        if (network == nullptr || !network->IsHost() || !network->RemoveNetworkObject(object)) {
            return;
        }
    }
    EraseGameObject(object);
}

void Layer::EraseGameObject(GameObject* object) {
    m_pendingRemovals.emplace_back(object);
    const auto list = m_objectsByName.find(object->m_name);
    if (list != m_objectsByName.end()) {
        std::erase(list->second, object);
    }
}

void Layer::RenameGameObject(GameObject* object, const Core::String& oldName, const Core::String& newName) {
    const ObjectRef held = object;
    const auto list = m_objectsByName.find(oldName);
    if (list == m_objectsByName.end()) {
        return;
    }
    const auto found = std::find(list->second.begin(), list->second.end(), object);
    if (found == list->second.end()) {
        return;
    }
    list->second.erase(found);
    m_objectsByName[newName].push_back(held);
}

void Layer::GetGameObjects(std::vector<GameObject*>& out) const {
    out.clear();
    for (const auto& [id, object] : m_objects) {
        out.push_back(object.Get());
    }
}

void Layer::GetHeldGameObjects(std::vector<GameObject*>& out) const {
    GetGameObjects(out);
    for (const std::vector<ObjectRef>* queue : {&m_pendingAdditions, &m_pendingRemovals}) {
        for (const ObjectRef& object : *queue) {
            out.push_back(object.Get());
        }
    }
}

void Layer::GetGameObjectsByName(const Core::String& name, std::vector<GameObject*>& out) const {
    out.clear();
    const auto list = m_objectsByName.find(name);
    if (list != m_objectsByName.end()) {
        for (const ObjectRef& object : list->second) {
            out.push_back(object.Get());
        }
    }
}

void Layer::ApplyAdditions() {
    // By position, re-reading the length: an OnStart may add more.
    for (std::size_t i = 0; i < m_pendingAdditions.size(); ++i) {
        const ObjectRef object = m_pendingAdditions[i];
        // Cleaned up meanwhile (a shut-down), or filed by an update a hook ran.
        const auto filed = m_objects.find(object->m_id);
        if (object->m_cleanedUp || (filed != m_objects.end() && filed->second == object)) {
            continue;
        }
        // Ids restart at every level change: an object made before the last
        // one may arrive with an id taken here, and takes a fresh one.
        while (m_objects.contains(object->m_id)) {
            object->m_id = GameObject::GetIdCounter();
            GameObject::SetIdCounter(object->m_id + 1);
        }
        m_group->AddChild(object->m_node);
        m_objects[object->m_id] = object;
        ++m_objectChanges;
        object->OnStart();
    }
    m_pendingAdditions.clear();
}

void Layer::ApplyRemovals() {
    // Taken out of the queue before their hooks run, so that an update a hook
    // runs does not end them again; removals the hooks ask for follow in this
    // pass. Each is ended once: a shut-down may have ended it already.
    while (!m_pendingRemovals.empty()) {
        std::vector<ObjectRef> leaving;
        leaving.swap(m_pendingRemovals);
        for (const ObjectRef& object : leaving) {
            m_group->RemoveChild(object->m_node.Get());
            const auto entry = m_objects.find(object->m_id);
            if (entry != m_objects.end() && entry->second == object) {
                m_objects.erase(entry);
                ++m_objectChanges;
            }
            if (!object->m_cleanedUp) {
                object->OnEnd();
                object->Cleanup();
            }
        }
    }
}

template <class Action>
void Layer::ForEachObject(WalkReads reads, const Action& action) {
    // In id order, each object held: hooks may file, drop or clean up objects
    // meanwhile (a shut-down cleans every one up, and the walk passes over
    // them). While no call files or drops one, the walk goes down a flat copy
    // of the map; after one that did, the map leads on from the last id.
    if (m_walkOrderChanges != m_objectChanges) {
        m_walkOrder.clear();
        for (const auto& [id, object] : m_objects) {
            m_walkOrder.emplace_back(id, object.Get());
        }
        m_walkOrderChanges = m_objectChanges;
    }
    // Objects lie scattered in memory and are mostly out of the caches by
    // the next walk: each is asked for ahead, its node once it has come in.
    constexpr std::size_t kStateAhead = 8;
    constexpr std::size_t kNodeAhead = 4;
    const std::uint64_t changes = m_objectChanges;
    for (std::size_t i = 0; i < m_walkOrder.size(); ++i) {
        if (i + kStateAhead < m_walkOrder.size()) {
            m_walkOrder[i + kStateAhead].second->PrefetchState(reads);
        }
        if (i + kNodeAhead < m_walkOrder.size()) {
            m_walkOrder[i + kNodeAhead].second->PrefetchNode(reads);
        }
        const auto [id, object] = m_walkOrder[i];
        const ObjectRef held = object;
        if (!held->m_cleanedUp) {
            action(*held);
        }
        if (changes != m_objectChanges) {
            WalkObjectsFrom(m_objects.upper_bound(id), action);
            return;
        }
    }
}

template <class Action>
void Layer::WalkObjectsFrom(std::map<std::uint32_t, ObjectRef>::iterator entry, const Action& action) {
    // The next entry is found again only after a call that filed or dropped
    // one; otherwise the iterator still stands.
    while (entry != m_objects.end()) {
        const std::uint32_t id = entry->first;
        const ObjectRef held = entry->second;
        const std::uint64_t changes = m_objectChanges;
        if (!held->m_cleanedUp) {
            action(*held);
        }
        entry = changes == m_objectChanges ? std::next(entry) : m_objects.upper_bound(id);
    }
}

void Layer::Update(float dt) {
    ApplyAdditions();
    ApplyRemovals();
    OnUpdate(dt);
    ForEachObject(WalkReads::Everything, [dt](GameObject& object) { object.EngineUpdate(dt); });
}

void Layer::FirstLateUpdate(float dt) {
    ForEachObject(WalkReads::LeadingFields, [dt](GameObject& object) {
        if (!object.IsNetworkReplica()) {
            object.ReservedC(dt);
        }
    });
}

void Layer::SecondLateUpdate(float dt) {
    ForEachObject(WalkReads::LeadingFields, [dt](GameObject& object) {
        if (!object.IsNetworkReplica()) {
            object.ReservedD(dt);
        }
    });
}

void Layer::UpdateGameObjectTransformations() {
    ForEachObject(WalkReads::SceneNode, [](GameObject& object) { object.UpdateTransformation(); });
}

void Layer::EndGameObjects() {
    ForEachObject(WalkReads::LeadingFields, [](GameObject& object) { object.OnEnd(); });
}

void Layer::Shutdown() {
    if (m_shutDown != 0) {
        return;
    }
    m_shutDown = 1;
    ForEachObject(WalkReads::LeadingFields, [](GameObject& object) { object.Cleanup(); });
    // Queued objects would otherwise keep a pointer to this layer.
    for (std::size_t i = 0; i < m_pendingAdditions.size(); ++i) {
        const ObjectRef held = m_pendingAdditions[i];
        held->Cleanup();
    }
    for (std::size_t i = 0; i < m_pendingRemovals.size(); ++i) {
        const ObjectRef held = m_pendingRemovals[i];
        held->Cleanup();
    }
    Collision2D::CollisionEngine* collision = RunningCollisionEngine();
    if (collision != nullptr && m_collisionEpoch == Game::GetCollisionEpoch()) {
        collision->ClearStaticGeometry(m_collisionLayer);
    }
}

void Layer::Save(Core::File& file) const {
    file << m_name;
    file.WriteF32(m_zOrder);
    file.WriteF32(m_scaleX);
    file.WriteF32(m_scaleY);
    file.WriteF32(m_rotation);
    file.WriteU32(m_index);
    file.WriteU8(m_shutDown);
    file.WriteU8(m_collisionLayer);
    file.WriteU32(static_cast<std::uint32_t>(m_objectsByName.size()));
    for (const auto& [name, list] : m_objectsByName) {
        file << name;
        file.WriteU32(static_cast<std::uint32_t>(list.size()));
        for (const ObjectRef& object : list) {
            file << object;
        }
    }
    file.WriteU32(static_cast<std::uint32_t>(m_objects.size()));
    for (const auto& [id, object] : m_objects) {
        file.WriteU32(id);
        file << object;
    }
    file.WriteU32(static_cast<std::uint32_t>(m_pendingAdditions.size()));
    for (const ObjectRef& object : m_pendingAdditions) {
        file << object;
    }
    file.WriteU32(static_cast<std::uint32_t>(m_pendingRemovals.size()));
    for (const ObjectRef& object : m_pendingRemovals) {
        file << object;
    }
    file.WriteU8(m_collisionDataShown);
    file.WriteU8(m_partitionShown);
    file << m_collisionDataColor;
    file << m_partitionColor;
    file << m_gridOrigin;
    file.WriteI32(m_gridWidth);
    file.WriteI32(m_gridHeight);
    file.WriteI32(m_gridCellSize);
}

void Layer::Load(Core::File& file) {
    Core::String name;
    file >> name;
    m_name = name;
    file.ReadF32(m_zOrder);
    file.ReadF32(m_scaleX);
    file.ReadF32(m_scaleY);
    file.ReadF32(m_rotation);
    file.ReadU32(m_index);
    // A read layer still has its objects to clean up: the stored shut-down
    // state is not taken.
    std::uint8_t storedShutDown = 0;
    file.ReadU8(storedShutDown);
    file.ReadU8(m_collisionLayer);
    UpdateTransformation();
    LoadNames(file);
    LoadObjects(file);
    file.ReadU8(m_collisionDataShown);
    file.ReadU8(m_partitionShown);
    file >> m_collisionDataColor;
    file >> m_partitionColor;
    file >> m_gridOrigin;
    file.ReadI32(m_gridWidth);
    file.ReadI32(m_gridHeight);
    file.ReadI32(m_gridCellSize);
}

void Layer::LoadNames(Core::File& file) {
    std::uint32_t names = 0;
    file.ReadU32(names);
    for (std::uint32_t i = 0; i < names && !file.HasFailed(); ++i) {
        Core::String name;
        file >> name;
        std::vector<ObjectRef>& list = m_objectsByName[name];
        std::uint32_t count = 0;
        file.ReadU32(count);
        for (std::uint32_t k = 0; k < count && !file.HasFailed(); ++k) {
            ObjectRef object;
            file >> object;
            if (object) {
                list.push_back(object);
            }
        }
    }
}

void Layer::LoadObjects(Core::File& file) {
    // Every object this layer holds names it as its layer; one that another
    // layer holds already, or one listed twice where each object is listed
    // once, fails the stream. Objects (and queued additions) are filed under
    // their own ids.
    std::set<const GameObject*> filed;
    std::set<const GameObject*> leaving;
    const auto adopt = [this, &file](const ObjectRef& object, std::set<const GameObject*>& seen) {
        if (!object || (object->m_layer != nullptr && object->m_layer != this) || !seen.insert(object.Get()).second) {
            file.SetFailed();
            return false;
        }
        object->m_layer = this;
        return true;
    };
    std::uint32_t count = 0;
    file.ReadU32(count);
    for (std::uint32_t i = 0; i < count && !file.HasFailed(); ++i) {
        std::uint32_t key = 0;
        file.ReadU32(key);
        ObjectRef object;
        file >> object;
        if (object && (key != object->m_id || m_objects.contains(key))) {
            file.SetFailed();
        } else if (adopt(object, filed)) {
            m_objects[key] = object;
            ++m_objectChanges;
            m_group->AddChild(object->m_node);
        }
    }
    for (auto [pending, seen] : {std::pair{&m_pendingAdditions, &filed}, {&m_pendingRemovals, &leaving}}) {
        std::uint32_t pendingCount = 0;
        file.ReadU32(pendingCount);
        for (std::uint32_t i = 0; i < pendingCount && !file.HasFailed(); ++i) {
            ObjectRef object;
            file >> object;
            if (adopt(object, *seen)) {
                pending->push_back(object);
            }
        }
    }
}

}  // namespace Tundra

TUN_DEFINE_UNCLONABLE_CLASS(Tundra::Layer)
