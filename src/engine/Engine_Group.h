#pragma once

#include "engine/Engine_Node.h"

namespace Engine {

// A node with children, held counted in insertion order. A group draws and
// updates its children whatever its own visible flag.
class Group : public Node {
    TUN_DECLARE_CLASS(Group);

    Group() = default;
    // Clones every child; the clones are linked to the new group.
    Group(const Group& other);
    Group& operator=(const Group&) = delete;
    // Children that live on elsewhere no longer name this group.
    ~Group() override;

    // The node part, the child count and each child.
    void Save(Core::File& file) const override;
    void Load(Core::File& file) override;

    // Links the child to this group, appends it and calls its OnAttached. It
    // stays in any group that held it before. Refused (nothing changes) for
    // null, for the group itself and for a node this group lies below.
    bool AddChild(const Core::RefPtr<Node>& child);
    // Removes the first entry of the child. Its parent link is cleared when
    // it names this group and the group no longer holds the child.
    void RemoveChild(const Node* child);
    // OnDetached of every child, then all are unlinked from this group and
    // released.
    void RemoveAllChildren();
    std::uint32_t GetChildCount() const { return static_cast<std::uint32_t>(m_children.size()); }
    // Empty past the last child.
    Core::RefPtr<Node> GetChild(std::uint32_t index) const;

    std::uint32_t GetNodeType() const override { return kGroup; }
    bool IsLeaf() const override { return false; }
    void Propagate(Core::Object* argument) override;
    void PropagateReset() override;
    // Pre-order: this group first, then each child's subtree in order.
    Core::RefPtr<Node> FindByName(const Core::String& name) override;
    void Update(float dt) override;
    void Render(const Frustum& frustum) override { DrawTree(); }
    void DrawSelf() override {}
    void DrawTree() override;
    void SetVisibleRecursive(bool visible) override;
    void SetShowBoundingVolumeRecursive(bool show) override;

protected:
    // The group steps after the world matrix: the volume follows it, the
    // children update (growing it), then it merges into the parent's.
    void UpdateBelow(float dt);

private:
    // Whether node lies in the subtree below this group.
    bool HasDescendant(const Node* node) const;
    // Clears the parent link of each of the nodes that names this group.
    void Unlink(const Core::RefPtrVector<Node>& nodes) const;

    Core::RefPtrVector<Node> m_children;
};

}  // namespace Engine
