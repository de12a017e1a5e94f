#include "network/Network_NetworkFile.h"
#include "network/Network_PayloadReader.h"
#include "network/Network_TunNet.h"

#include "tundra/Tundra_Game.h"
#include "tundra/Tundra_GameObject.h"
#include "tundra/Tundra_Layer.h"
#include "tundra/Tundra_Level.h"

#include <algorithm>
#include <span>

// The host owns every replicated object: it announces each (type 7), streams
// their state (type 9), answers a client's snapshot request (16 -> 13, paced
// in Network_TunNetSnapshotPacing.cpp) and decides removals (type 8). A
// client clones its own template of the name the host sends and lets the
// host's data fill it.
namespace Tundra {
namespace {

// An object that left its layer (ended, or its level gone) is never found,
// sent or erased again.
bool IsInLayer(const GameObject& object) { return object.GetLayer() != nullptr && !object.IsDestroyed(); }

bool IsNamedBy(const GameObject& object, std::uint32_t owner, std::uint32_t objectNumber) {
    const NetObjectID* identity = object.GetNetworkId();
    return identity != nullptr && identity->GetOwnerId() == owner && identity->GetObjectNumber() == objectNumber;
}

// The smallest type 7 body: layer index, an empty template name and one byte
// of network save.
constexpr std::uint32_t kMinimumEntrySize = 9;

// Runs one of the object's network operations with the file lent as its
// network stream, so that its script hooks can add to the same bytes.
template <class Operation>
void WithNetworkStream(GameObject& object, NetworkFile& file, Operation operation) {
    object.SetNetworkStream(&file);
    operation(object);
    object.SetNetworkStream(nullptr);
}

}  // namespace

bool TunNet::AddBaseNetObject(GameObject* object, const Core::String& name) {
    // One name per template: renaming a registered one would orphan its name.
    if (object == nullptr || FindNetworkObject(name) != nullptr ||
        std::find(m_templates.begin(), m_templates.end(), object) != m_templates.end()) {
        return false;
    }
    object->m_networkClassName = name;
    m_templates.emplace_back(object);
    return true;
}

GameObject* TunNet::FindNetworkObject(const Core::String& name) const {
    for (const Core::RefPtr<GameObject>& object : m_templates) {
        if (object->m_networkClassName == name) {
            return object.Get();
        }
    }
    return nullptr;
}

void TunNet::ClearNetworkObjects() {
    // Both lists: the old level's objects must not be sent or snapshotted.
    // Emptied before the last references go, so destructors see empty lists.
    std::vector<Core::RefPtr<GameObject>> templates;
    std::vector<Core::RefPtr<GameObject>> replicated;
    templates.swap(m_templates);
    replicated.swap(m_replicatedObjects);
}

bool TunNet::AddNetworkObject(GameObject* object, std::uint32_t layerIndex, TunPlayer* owner) {
    if (object == nullptr || !IsNetworkGame() || !m_isHost) {
        return false;
    }
    if (std::find(m_replicatedObjects.begin(), m_replicatedObjects.end(), object) != m_replicatedObjects.end()) {
        return false;
    }
    const Core::RefPtr<GameObject> held = object;
    const std::uint32_t ownerId = owner != nullptr ? owner->GetID() : m_localPlayer->GetID();
    object->m_networkId = TUN_NEW(NetObjectID, ownerId, NetObjectID::NextObjectNumber());
    NetworkFile file;
    WriteObjectEntry(file, *object, layerIndex);
    SendToGroup(static_cast<std::uint32_t>(TunPacket::ObjectCreate), file.GetData(), file.GetSize(),
                GetAllPlayersGroup(), true);
    m_replicatedObjects.push_back(held);
    return true;
}

bool TunNet::RemoveNetworkObject(GameObject* object) {
    if (object == nullptr || !IsNetworkGame() || object->GetNetworkId() == nullptr) {
        return false;
    }
    const Core::RefPtr<GameObject> held = object;
    NetworkFile file;
    file.WriteU32(object->GetNetworkId()->GetOwnerId());
    file.WriteU32(object->GetNetworkId()->GetObjectNumber());
    SendToGroup(static_cast<std::uint32_t>(TunPacket::ObjectRemove), file.GetData(), file.GetSize(),
                GetAllPlayersGroup(), true);
    // A client only asks: its copy goes when the host's type 8 comes back.
    if (!m_isHost) {
        return false;
    }
    std::erase(m_replicatedObjects, held);
    return true;
}

bool TunNet::AddReplicatedObject(GameObject* object) {
    if (object == nullptr || !IsNetworkGame() ||
        std::find(m_replicatedObjects.begin(), m_replicatedObjects.end(), object) != m_replicatedObjects.end()) {
        return false;
    }
    m_replicatedObjects.emplace_back(object);
    return true;
}

bool TunNet::ForgetReplicatedObject(GameObject* object) {
    if (object == nullptr || !IsNetworkGame()) {
        return false;
    }
    const Core::RefPtr<GameObject> held = object;
    return std::erase(m_replicatedObjects, held) > 0;
}

GameObject* TunNet::FindReplicatedObject(std::uint32_t owner, std::uint32_t objectId) const {
    for (const Core::RefPtr<GameObject>& object : m_replicatedObjects) {
        if (IsInLayer(*object) && IsNamedBy(*object, owner, objectId)) {
            return object.Get();
        }
    }
    return nullptr;
}

void TunNet::RemoveNetObjectsControlledBy(TunPlayer* player) {
    if (player == nullptr) {
        return;
    }
    ForgetObjectsOutsideLayers();
    std::vector<Core::RefPtr<GameObject>> owned;
    for (const Core::RefPtr<GameObject>& object : m_replicatedObjects) {
        if (object->GetNetworkId()->GetOwnerId() == player->GetID()) {
            owned.push_back(object);
        }
    }
    // Each removal may run hooks that end others: the layer is read again.
    for (const Core::RefPtr<GameObject>& object : owned) {
        if (Layer* layer = object->GetLayer(); layer != nullptr && !object->IsDestroyed()) {
            layer->RemoveGameObject(object.Get());
        }
    }
}

void TunNet::DropReplicatedObjects() {
    std::vector<Core::RefPtr<GameObject>> dropped;
    dropped.swap(m_replicatedObjects);
    for (const Core::RefPtr<GameObject>& object : dropped) {
        if (IsInLayer(*object)) {
            object->GetLayer()->EraseGameObject(object.Get());
        }
    }
}

void TunNet::SendObjectSnapshot(TunPlayer* player) {
    if (player == nullptr || !IsNetworkGame() || !m_isHost) {
        return;
    }
    ForgetObjectsOutsideLayers();
    // Held apart: a network save's hook may change the list.
    const std::vector<Core::RefPtr<GameObject>> objects = m_replicatedObjects;
    NetworkFile file;
    file.WriteU32(static_cast<std::uint32_t>(objects.size()));
    for (const Core::RefPtr<GameObject>& object : objects) {
        const Layer* layer = object->GetLayer();
        WriteObjectEntry(file, *object, layer != nullptr ? layer->GetIndex() : 0);
    }
    SendToPlayer(static_cast<std::uint32_t>(TunPacket::Snapshot), file.GetData(), file.GetSize(), player, true);
}

void TunNet::SendObjectStates() {
    if (!IsNetworkGame() || !m_isHost) {
        return;
    }
    ForgetObjectsOutsideLayers();
    NetworkFile file;
    // By position, re-reading the length and holding each: a hook may call
    // back into the front end.
    for (std::size_t i = 0; i < m_replicatedObjects.size(); ++i) {
        const Core::RefPtr<GameObject> object = m_replicatedObjects[i];
        if (!IsInLayer(*object)) {
            continue;
        }
        file.ClearBuffer();
        file.WriteU32(static_cast<std::uint32_t>(m_replicatedObjects.size()));
        file.WriteU32(object->GetNetworkId()->GetOwnerId());
        file.WriteU32(object->GetNetworkId()->GetObjectNumber());
        WithNetworkStream(*object, file, [&file](GameObject& target) { target.NetworkSyncSend(file); });
        SendToGroup(static_cast<std::uint32_t>(TunPacket::ObjectState), file.GetData(), file.GetSize(),
                    GetAllPlayersGroup(), false);
    }
}

void TunNet::WriteObjectEntry(NetworkFile& file, GameObject& object, std::uint32_t layerIndex) {
    file.WriteU32(layerIndex);
    file.WriteString(object.m_networkClassName);
    WithNetworkStream(object, file, [&file](GameObject& target) { target.NetworkSave(file); });
}

TunNet::EntryRead TunNet::ReadObjectEntry(NetworkFile& file, std::uint32_t& layerIndex,
                                          Core::RefPtr<GameObject>& clone) const {
    std::uint32_t index = 0;
    Core::String name;
    file.ReadU32(index);
    file.ReadString(name);
    if (file.HasFailed()) {
        return EntryRead::Failed;
    }
    const GameObject* pattern = FindNetworkObject(name);
    if (pattern == nullptr) {
        return EntryRead::NoTemplate;
    }
    Core::RefPtr<GameObject> copy = static_cast<GameObject*>(pattern->Clone());
    WithNetworkStream(*copy, file, [&file](GameObject& target) { target.NetworkLoad(file); });
    // A copy the host's data does not fill, or that names no replicated
    // object, is let go.
    if (file.HasFailed() || copy->GetNetworkId() == nullptr) {
        return EntryRead::Failed;
    }
    copy->m_networkClassName = pattern->m_networkClassName;
    layerIndex = index;
    clone = copy;
    return EntryRead::Read;
}

void TunNet::InsertReplica(std::uint32_t layerIndex, GameObject* clone) {
    const Game* game = Game::GetInstance();
    const Level* level = game != nullptr ? game->GetCurrentLevel() : nullptr;
    Layer* layer = level != nullptr ? level->GetLayer(layerIndex) : nullptr;
    if (layer == nullptr) {
        return;
    }
    layer->InsertGameObject(clone);
    AddReplicatedObject(clone);
}

void TunNet::ForgetObjectsOutsideLayers() {
    std::erase_if(m_replicatedObjects, [](const Core::RefPtr<GameObject>& object) { return !IsInLayer(*object); });
}

void TunNet::ReceiveObjectCreate(Network::PayloadReader& reader) {
    if (!IsNetworkGame() || m_isHost || !m_localPlayer->IsSynchronised()) {
        return;
    }
    const std::span<const std::uint8_t> body = reader.ReadRest();
    NetworkFile file(body.data(), static_cast<std::uint32_t>(body.size()));
    std::uint32_t layerIndex = 0;
    Core::RefPtr<GameObject> clone;
    if (ReadObjectEntry(file, layerIndex, clone) != EntryRead::Read) {
        return;
    }
    const NetObjectID* identity = clone->GetNetworkId();
    if (FindReplicatedObject(identity->GetOwnerId(), identity->GetObjectNumber()) != nullptr) {
        return;
    }
    InsertReplica(layerIndex, clone.Get());
}

void TunNet::ReceiveObjectRemove(Network::PayloadReader& reader, const TunPlayer* requester) {
    const std::uint32_t owner = reader.ReadU32();
    const std::uint32_t objectNumber = reader.ReadU32();
    if (reader.HasFailed() || !IsNetworkGame()) {
        return;
    }
    // A player removes only what it owns; the host decides all the rest.
    if (requester != nullptr && requester->GetID() != owner) {
        return;
    }
    const Core::RefPtr<GameObject> object = FindReplicatedObject(owner, objectNumber);
    if (object == nullptr) {
        return;
    }
    object->GetLayer()->EraseGameObject(object.Get());
    std::erase(m_replicatedObjects, object);
    if (requester != nullptr) {
        NetworkFile file;
        file.WriteU32(owner);
        file.WriteU32(objectNumber);
        SendToGroup(static_cast<std::uint32_t>(TunPacket::ObjectRemove), file.GetData(), file.GetSize(),
                    GetAllPlayersGroup(), true);
    }
}

void TunNet::ReceiveObjectState(Network::PayloadReader& reader) {
    if (!IsNetworkGame() || m_isHost || !m_localPlayer->IsSynchronised()) {
        return;
    }
    reader.ReadU32();
    const std::uint32_t owner = reader.ReadU32();
    const std::uint32_t objectNumber = reader.ReadU32();
    const std::span<const std::uint8_t> state = reader.ReadRest();
    if (reader.HasFailed()) {
        return;
    }
    const Core::RefPtr<GameObject> object = FindReplicatedObject(owner, objectNumber);
    if (object == nullptr) {
        return;
    }
    NetworkFile file(state.data(), static_cast<std::uint32_t>(state.size()));
    WithNetworkStream(*object, file, [&file](GameObject& target) { target.NetworkSyncReceive(file); });
}

void TunNet::ReceiveSnapshot(Network::PayloadReader& reader) {
    if (!IsNetworkGame() || m_isHost) {
        return;
    }
    const std::uint32_t count = reader.ReadU32();
    const std::span<const std::uint8_t> entries = reader.ReadRest();
    if (reader.HasFailed() || count > entries.size() / kMinimumEntrySize) {
        return;
    }
    // Every entry read before anything changes; an entry without a template
    // cannot be stepped over, so the packet ends there.
    NetworkFile file(entries.data(), static_cast<std::uint32_t>(entries.size()));
    std::vector<std::pair<std::uint32_t, Core::RefPtr<GameObject>>> arrivals;
    for (std::uint32_t i = 0; i < count; ++i) {
        std::uint32_t layerIndex = 0;
        Core::RefPtr<GameObject> clone;
        const EntryRead read = ReadObjectEntry(file, layerIndex, clone);
        if (read == EntryRead::Failed) {
            return;
        }
        if (read == EntryRead::NoTemplate) {
            break;
        }
        arrivals.emplace_back(layerIndex, clone);
    }
    // The earlier objects stay in their layers: a snapshot follows a level
    // switch, which replaced the layers.
    m_replicatedObjects.clear();
    for (const auto& [layerIndex, clone] : arrivals) {
        const NetObjectID* identity = clone->GetNetworkId();
        if (FindReplicatedObject(identity->GetOwnerId(), identity->GetObjectNumber()) == nullptr) {
            InsertReplica(layerIndex, clone.Get());
        }
    }
    m_localPlayer->SetSynchronised(true);
}

}  // namespace Tundra
