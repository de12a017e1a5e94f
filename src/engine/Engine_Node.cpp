#include "engine/Engine_Node.h"

#include "core/Core_File.h"
#include "engine/Engine_Group.h"

namespace Engine {

TUN_DEFINE_CLASS_NAMED(Node, "Engine::Node");

Node::Node(const Node& other)
    : Core::Object(other),
      m_flags(other.m_flags),
      m_updateCallback(other.m_updateCallback),
      m_world(other.m_world),
      m_volume(other.m_volume),
      m_name(other.m_name) {
    for (const Core::RefPtr<Controller>& controller : other.m_controllers) {
        AddController(static_cast<Controller*>(controller->Clone()));
    }
}

Node::~Node() {
    for (const Core::RefPtr<Controller>& controller : m_controllers) {
        controller->Attach(nullptr);
    }
}

void Node::Save(Core::File& file) const {
    file << m_world;
    file.WriteObject(nullptr);
    for (const std::uint8_t flag : {m_flags.reserved, m_flags.mergeIntoParent, m_flags.showBoundingVolume,
                                    m_flags.visible, m_flags.hudObject}) {
        file.WriteU8(flag);
    }
    file << m_name;
}

void Node::Load(Core::File& file) {
    file >> m_world;
    // The stored parent may be an object only the stream holds: it is read
    // past, and the group that reads this node links it instead.
    (void)file.ReadObjectAs<Group>();
    m_parent = nullptr;
    for (std::uint8_t* flag : {&m_flags.reserved, &m_flags.mergeIntoParent, &m_flags.showBoundingVolume,
                               &m_flags.visible, &m_flags.hudObject}) {
        file.ReadU8(*flag);
    }
    file >> m_name;
}

Core::RefPtr<Node> Node::FindByName(const Core::String& name) { return m_name == name ? this : nullptr; }

void Node::Update(float dt) {
    RunCallbacks(dt);
    m_world = ParentWorldMatrix();
    MergeIntoParent();
}

void Node::DrawSelf() {
    if (GetShowBoundingVolume()) {
        m_volume.UpdateMesh();
    }
}

void Node::UpdateControllers(float dt) {
    // By index, with the controller held: a controller may add another.
    for (std::size_t i = 0; i < m_controllers.size(); ++i) {
        const Core::RefPtr<Controller> controller = m_controllers[i];
        controller->Update(dt);
    }
}

void Node::SetVisible(bool visible, bool recursive) {
    if (recursive) {
        SetVisibleRecursive(visible);
    } else {
        m_flags.visible = visible ? 1 : 0;
    }
}

void Node::SetShowBoundingVolume(bool show, bool recursive) {
    if (recursive) {
        SetShowBoundingVolumeRecursive(show);
    } else {
        m_flags.showBoundingVolume = show ? 1 : 0;
    }
}

void Node::SetUpdateCallback(UpdateCallback callback) { m_updateCallback = callback; }

void Node::AddController(const Core::RefPtr<Controller>& controller) {
    if (controller) {
        controller->Attach(this);
        m_controllers.push_back(controller);
    }
}

Matrix4 Node::ParentWorldMatrix() const { return m_parent != nullptr ? m_parent->GetCachedWorldMatrix() : Matrix4(); }

void Node::RunCallbacks(float dt) {
    RunUpdateCallback(dt);
    UpdateControllers(dt);
}

void Node::RunUpdateCallback(float dt) {
    if (m_updateCallback != nullptr) {
        m_updateCallback(this, dt);
    }
}

void Node::MergeIntoParent() {
    if (m_parent != nullptr && m_flags.mergeIntoParent != 0) {
        m_parent->GetBoundingVolume().Merge(m_volume);
    }
}

}  // namespace Engine
