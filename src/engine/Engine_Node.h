#pragma once

#include "core/Core_Object.h"
#include "core/Core_RefPtr.h"
#include "core/Core_RefPtrVector.h"
#include "core/Core_String.h"
#include "engine/Engine_BoundingVolume.h"
#include "engine/Engine_Controller.h"
#include "math/Math_Frustum.h"
#include "math/Math_Matrix4.h"

#include <cstdint>

namespace Engine {

class Group;

// The five flags of a node, in their stored order.
struct NodeFlags {
    // Kept, copied and stored; nothing reads it.
    std::uint8_t reserved = 1;
    // The update grows the parent's bounding volume around this node's.
    std::uint8_t mergeIntoParent = 1;
    std::uint8_t showBoundingVolume = 0;
    std::uint8_t visible = 1;
    // Drawn in screen space, without the frustum test.
    std::uint8_t hudObject = 0;

    friend bool operator==(const NodeFlags&, const NodeFlags&) = default;
};

// A counted scene-graph node: a world matrix cached by the update, a plain
// link to its parent group, a bounding volume, flags, a name and an update
// callback. Leaves derive from it; groups hold children.
class Node : public Core::Object {
    TUN_DECLARE_CLASS(Node);

    enum Type : std::uint32_t { kNode = 0, kCamera = 1, kGroup = 3, kTransformationGroup = 4, kSceneGraph = 5 };
    // Called first in every update, with the node and the frame time in seconds.
    using UpdateCallback = void (*)(const Core::RefPtr<Node>& node, float dt);

    Node() = default;
    // A copy in no group (no parent link: it is in no group's child list,
    // so no group would clear the link); callers add it to a group.
    // Controllers are cloned and attached to the copy.
    Node(const Node& other);
    Node& operator=(const Node&) = delete;
    ~Node() override;

    // World matrix, parent reference, flags, name. The parent is written as
    // null: a node saved on its own must not carry its group (and the whole
    // tree above it) along. A node read back has no parent: the group that
    // reads it links it.
    void Save(Core::File& file) const override;
    void Load(Core::File& file) override;

    virtual std::uint32_t GetNodeType() const { return kNode; }
    virtual bool IsLeaf() const { return true; }
    // A hook passed down the tree; nothing here uses it.
    virtual void Propagate(Core::Object* argument) {}
    virtual void GetWorldMatrix(Matrix4& out) const { out = m_world; }
    // This node when the name matches byte for byte; groups search below.
    virtual Core::RefPtr<Node> FindByName(const Core::String& name);
    virtual void PropagateReset() {}
    virtual void Update(float dt);
    // Drawing entry: a leaf draws itself, a group its tree.
    virtual void Render(const Frustum& frustum) { DrawSelf(); }
    virtual void DrawSelf();
    virtual void DrawTree() {}
    virtual void OnAttached() {}
    virtual void OnDetached() {}
    virtual void SetVisibleRecursive(bool visible) { m_flags.visible = visible ? 1 : 0; }
    virtual void SetShowBoundingVolumeRecursive(bool show) { m_flags.showBoundingVolume = show ? 1 : 0; }
    virtual void UpdateControllers(float dt);

    void SetVisible(bool visible, bool recursive);
    bool GetVisible() const { return m_flags.visible != 0; }
    void SetShowBoundingVolume(bool show, bool recursive);
    bool GetShowBoundingVolume() const { return m_flags.showBoundingVolume != 0; }
    void SetHUDObject(bool hud) { m_flags.hudObject = hud ? 1 : 0; }
    bool IsHUDObject() const { return m_flags.hudObject != 0; }
    void SetMergeIntoParent(bool merge) { m_flags.mergeIntoParent = merge ? 1 : 0; }
    const NodeFlags& GetFlags() const { return m_flags; }

    const Core::String& GetName() const { return m_name; }
    void SetName(const Core::String& name) { m_name = name; }
    // The world matrix of the last update.
    const Matrix4& GetCachedWorldMatrix() const { return m_world; }
    BoundingVolume& GetBoundingVolume() { return m_volume; }
    const BoundingVolume& GetBoundingVolume() const { return m_volume; }
    // The group that last added this node and still holds it; null when
    // that group removed it or is gone.
    Group* GetParent() const { return m_parent; }
    void SetUpdateCallback(UpdateCallback callback);
    // Attaches the controller to this node; an empty reference is ignored.
    void AddController(const Core::RefPtr<Controller>& controller);

protected:
    // The parent's cached world matrix; the identity without a parent.
    Matrix4 ParentWorldMatrix() const;
    // The update's first two steps: callback, then controllers.
    void RunCallbacks(float dt);
    // The update callback alone, for leaves that run no controllers.
    void RunUpdateCallback(float dt);
    // Grows the parent's volume when this node merges into it.
    void MergeIntoParent();

private:
    friend class Group;

    // What the update and the drawing walk read lies first, together; the
    // name last.
    NodeFlags m_flags;
    Group* m_parent = nullptr;
    UpdateCallback m_updateCallback = nullptr;
    Core::RefPtrVector<Controller> m_controllers;

protected:
    Matrix4 m_world;

private:
    BoundingVolume m_volume;
    Core::String m_name;
};

}  // namespace Engine
