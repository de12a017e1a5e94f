#include "core/Core_File.h"
#include "math/Math_Color.h"
#include "tundra/Lua_ScriptEngine.h"
#include "tundra/Tundra_GameObject.h"

// The game object's part of the network messages: the full state a
// replicated object is announced with and the short state of every tick.
namespace Tundra {
namespace {

// The transform and look both messages start with.
struct NetworkLook {
    Core::String name;
    Vector2D position;
    Vector2D center;
    float rotation = 0.0f;
    float scaleX = 1.0f;
    float scaleY = 1.0f;
    bool visible = true;
};

void WriteLook(Core::File& file, const NetworkLook& look) {
    file << look.name;
    file.WriteF32(look.position.x);
    file.WriteF32(look.position.y);
    file.WriteF32(look.center.x);
    file.WriteF32(look.center.y);
    file.WriteF32(look.rotation);
    file.WriteF32(look.scaleX);
    file.WriteF32(look.scaleY);
    file.WriteU8(look.visible ? 1 : 0);
}

void ReadLook(Core::File& file, NetworkLook& look) {
    file >> look.name;
    file.ReadF32(look.position.x);
    file.ReadF32(look.position.y);
    file.ReadF32(look.center.x);
    file.ReadF32(look.center.y);
    file.ReadF32(look.rotation);
    file.ReadF32(look.scaleX);
    file.ReadF32(look.scaleY);
    file.ReadBool(look.visible);
}

}  // namespace

void GameObject::NetworkSave(Core::File& file) const {
    WriteLook(file, {m_name, m_position, m_center, m_rotation, m_scaleX, m_scaleY, GetVisible()});
    file.WriteF32(m_lifeTime);
    file.WriteF32(m_age);
    file.WriteF32(m_zOrder);
    file << m_color;
    file.WriteU32(0);
    file.WriteU32(0);
    file.WriteU8(m_networkId != nullptr ? 1 : 0);
    if (m_networkId != nullptr) {
        file.WriteU32(m_networkId->GetOwnerId());
        file.WriteU32(m_networkId->GetObjectNumber());
    }
    file.WriteU8(m_scriptActive ? 1 : 0);
    file << m_scriptName;
    file.WriteU8(m_scriptCopied ? 1 : 0);
    file.WriteU8(m_scriptStarted ? 1 : 0);
    RunHook("NetworkSave", m_scriptActive && m_scriptStarted);
}

void GameObject::NetworkLoad(Core::File& file) {
    NetworkLook look;
    ReadLook(file, look);
    float lifeTime = 0.0f;
    float age = 0.0f;
    float zOrder = 0.0f;
    Color color;
    std::uint32_t unused = 0;
    file.ReadF32(lifeTime);
    file.ReadF32(age);
    file.ReadF32(zOrder);
    file >> color;
    file.ReadU32(unused);
    file.ReadU32(unused);
    const bool identified = file.ReadFlag();
    std::uint32_t owner = 0;
    std::uint32_t number = 0;
    if (identified) {
        file.ReadU32(owner);
        file.ReadU32(number);
    }
    bool scriptActive = false;
    Core::String scriptName;
    bool scriptCopied = false;
    bool scriptStarted = false;
    file.ReadBool(scriptActive);
    file >> scriptName;
    file.ReadBool(scriptCopied);
    file.ReadBool(scriptStarted);
    if (file.HasFailed()) {
        return;
    }
    // The name through the setter: the layer's name index follows it.
    SetName(look.name);
    m_position = m_networkTargetPosition = look.position;
    m_center = look.center;
    m_rotation = m_networkTargetRotation = look.rotation;
    m_firstNetworkStatePending = true;
    m_scaleX = look.scaleX;
    m_scaleY = look.scaleY;
    m_node->SetVisible(look.visible, true);
    m_lifeTime = lifeTime;
    m_age = age;
    m_zOrder = zOrder;
    m_color = color;
    // A replica never simulates: the host's state moves it.
    RemovePhysicalProperties();
    if (identified) {
        m_networkId = TUN_NEW(NetObjectID, owner, number);
    }
    m_scriptSource = nullptr;
    m_scriptActive = scriptActive;
    m_scriptName = scriptName;
    m_scriptOrigin = ScriptOrigin::Foreign;
    m_scriptCopied = scriptCopied;
    m_scriptStarted = scriptStarted;
    if (m_scriptActive && m_scriptStarted) {
        RunScript(false);
        RunHook("NetworkLoad", true);
    }
}

void GameObject::NetworkSyncSend(Core::File& file) const {
    WriteLook(file, {m_name, m_position, m_center, m_rotation, m_scaleX, m_scaleY, GetVisible()});
    file << m_color;
    file.WriteU8(m_scriptActive ? 1 : 0);
    file.WriteU8(m_scriptStarted ? 1 : 0);
    if (m_scriptActive && m_scriptStarted) {
        file << m_scriptName;
        RunHook("NetworkSyncSend", true);
    }
}

void GameObject::NetworkSyncReceive(Core::File& file) {
    NetworkLook look;
    Color color;
    ReadLook(file, look);
    file >> color;
    bool scriptActive = false;
    file.ReadBool(scriptActive);
    const bool senderStarted = file.ReadFlag();
    Core::String scriptName;
    // A replica whose script is not active reads no name.
    if (scriptActive && senderStarted) {
        file >> scriptName;
    }
    if (file.HasFailed()) {
        return;
    }
    SetName(look.name);
    m_networkTargetPosition = look.position;
    m_center = look.center;
    m_networkTargetRotation = look.rotation;
    if (m_firstNetworkStatePending) {
        // Placed at once; SetPosition and SetRotationAngle then find no
        // change, so mounted objects stay where they are.
        m_position = m_networkTargetPosition;
        m_rotation = m_networkTargetRotation;
        SetPosition(m_position);
        SetRotationAngle(m_rotation);
        m_firstNetworkStatePending = false;
    }
    m_scaleX = look.scaleX;
    m_scaleY = look.scaleY;
    m_node->SetVisible(look.visible, true);
    m_color = color;
    m_scriptActive = scriptActive;
    if (m_scriptActive && senderStarted) {
        m_scriptName = scriptName;
        m_scriptOrigin = ScriptOrigin::Foreign;
        if (!m_scriptStarted) {
            // Started once, as the sender's was: a refused name is not tried
            // again every tick.
            m_scriptStarted = true;
            RunScript(true);
        }
        RunHook("NetworkSyncReceive", true);
    }
}

}  // namespace Tundra
