#include "engine/Engine_Group.h"

#include "core/Core_File.h"

#include <algorithm>
#include <vector>

namespace Engine {

TUN_DEFINE_CLASS_NAMED(Group, "Engine::Group");

Group::Group(const Group& other) : Node(other) {
    m_children.reserve(other.m_children.size());
    for (const Core::RefPtr<Node>& child : other.m_children) {
        Core::RefPtr<Node> clone(static_cast<Node*>(child->Clone()));
        clone->m_parent = this;
        m_children.push_back(std::move(clone));
    }
}

Group::~Group() { Unlink(m_children); }

void Group::Save(Core::File& file) const {
    Node::Save(file);
    file.WriteU32(static_cast<std::uint32_t>(m_children.size()));
    for (const Core::RefPtr<Node>& child : m_children) {
        file << child;
    }
}

void Group::Load(Core::File& file) {
    Node::Load(file);
    std::uint32_t count = 0;
    file.ReadU32(count);
    for (std::uint32_t i = 0; i < count && !file.HasFailed(); ++i) {
        Core::RefPtr<Node> child;
        file >> child;
        if (child) {
            child->m_parent = this;
            m_children.push_back(std::move(child));
        }
    }
}

bool Group::AddChild(const Core::RefPtr<Node>& child) {
    if (!child || child.Get() == this) {
        return false;
    }
    const auto* group = dynamic_cast<const Group*>(child.Get());
    if (group != nullptr && group->HasDescendant(this)) {
        return false;
    }
    child->m_parent = this;
    m_children.push_back(child);
    child->OnAttached();
    return true;
}

void Group::RemoveChild(const Node* child) {
    const auto found = std::find(m_children.begin(), m_children.end(), child);
    if (found == m_children.end()) {
        return;
    }
    // Held: the entry may have been the last reference.
    const Core::RefPtr<Node> removed = *found;
    m_children.erase(found);
    if (removed->m_parent == this && std::find(m_children.begin(), m_children.end(), removed) == m_children.end()) {
        removed->m_parent = nullptr;
    }
}

void Group::RemoveAllChildren() {
    // By index, with the child held: OnDetached may change the list.
    for (std::size_t i = 0; i < m_children.size(); ++i) {
        const Core::RefPtr<Node> child = m_children[i];
        child->OnDetached();
    }
    Core::RefPtrVector<Node> removed;
    removed.swap(m_children);
    Unlink(removed);
}

Core::RefPtr<Node> Group::GetChild(std::uint32_t index) const {
    return index < m_children.size() ? m_children[index] : nullptr;
}

void Group::Propagate(Core::Object* argument) {
    for (const Core::RefPtr<Node>& child : m_children) {
        child->Propagate(argument);
    }
}

void Group::PropagateReset() {
    for (const Core::RefPtr<Node>& child : m_children) {
        child->PropagateReset();
    }
}

Core::RefPtr<Node> Group::FindByName(const Core::String& name) {
    if (Core::RefPtr<Node> self = Node::FindByName(name)) {
        return self;
    }
    for (const Core::RefPtr<Node>& child : m_children) {
        if (Core::RefPtr<Node> found = child->FindByName(name)) {
            return found;
        }
    }
    return nullptr;
}

void Group::Update(float dt) {
    RunCallbacks(dt);
    m_world = ParentWorldMatrix();
    UpdateBelow(dt);
}

void Group::UpdateBelow(float dt) {
    GetBoundingVolume().Transform(m_world);
    // By index, with the child held: an update callback may change the list.
    for (std::size_t i = 0; i < m_children.size(); ++i) {
        const Core::RefPtr<Node> child = m_children[i];
        child->Update(dt);
    }
    MergeIntoParent();
}

void Group::DrawTree() {
    DrawSelf();
    for (const Core::RefPtr<Node>& child : m_children) {
        child->DrawTree();
    }
}

void Group::SetVisibleRecursive(bool visible) {
    Node::SetVisibleRecursive(visible);
    for (const Core::RefPtr<Node>& child : m_children) {
        child->SetVisibleRecursive(visible);
    }
}

void Group::SetShowBoundingVolumeRecursive(bool show) {
    Node::SetShowBoundingVolumeRecursive(show);
    for (const Core::RefPtr<Node>& child : m_children) {
        child->SetShowBoundingVolumeRecursive(show);
    }
}

void Group::Unlink(const Core::RefPtrVector<Node>& nodes) const {
    for (const Core::RefPtr<Node>& node : nodes) {
        if (node->m_parent == this) {
            node->m_parent = nullptr;
        }
    }
}

bool Group::HasDescendant(const Node* node) const {
    std::vector<const Group*> pending{this};
    while (!pending.empty()) {
        const Group* group = pending.back();
        pending.pop_back();
        for (const Core::RefPtr<Node>& child : group->m_children) {
            if (child.Get() == node) {
                return true;
            }
            if (const auto* below = dynamic_cast<const Group*>(child.Get())) {
                pending.push_back(below);
            }
        }
    }
    return false;
}

}  // namespace Engine
