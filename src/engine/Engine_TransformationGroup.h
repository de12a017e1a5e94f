#pragma once

#include "engine/Engine_Group.h"
#include "renderer/Renderer_Effect.h"

namespace Engine {

// A group with its own transformation: its world matrix is the parent's
// times the transformation (the transformation alone without a parent).
class TransformationGroup : public Group {
    TUN_DECLARE_CLASS(TransformationGroup);

    TransformationGroup();
    // The two further matrices start at the identity again; a new effect.
    TransformationGroup(const TransformationGroup& other);
    TransformationGroup& operator=(const TransformationGroup&) = delete;

    // The group part, the transformation and the two further matrices.
    void Save(Core::File& file) const override;
    void Load(Core::File& file) override;

    void SetTransformation(const Matrix4& transformation) { m_transformation = transformation; }
    const Matrix4& GetTransformation() const { return m_transformation; }
    // Stored with the group; nothing else reads them.
    Matrix4& FurtherMatrix(int index) { return index == 0 ? m_further0 : m_further1; }

    std::uint32_t GetNodeType() const override { return kTransformationGroup; }
    void GetWorldMatrix(Matrix4& out) const override;
    void Update(float dt) override;
    // Queues the bounding-volume mesh when it is shown.
    void DrawSelf() override;

private:
    Matrix4 m_transformation;
    Matrix4 m_further0;
    Matrix4 m_further1;
    Core::RefPtr<Renderer::Effect> m_volumeEffect;
};

// Refreshes the volume's mesh and queues it with the effect: the debug item
// of groups and cameras (the mesh holds world positions).
void SubmitBoundingVolume(BoundingVolume& volume, const Core::RefPtr<Renderer::Effect>& effect);

}  // namespace Engine
