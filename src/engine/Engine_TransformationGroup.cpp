#include "engine/Engine_TransformationGroup.h"

#include "core/Core_File.h"
#include "engine/Engine_RenderQueue.h"
#include "renderer/Renderer_DefaultEffects.h"

namespace Engine {

TUN_DEFINE_CLASS_NAMED(TransformationGroup, "Engine::TransformationGroup");

TransformationGroup::TransformationGroup() : m_volumeEffect(Renderer::CreateDefaultEffect()) {}

TransformationGroup::TransformationGroup(const TransformationGroup& other)
    : Group(other), m_transformation(other.m_transformation), m_volumeEffect(Renderer::CreateDefaultEffect()) {}

void TransformationGroup::Save(Core::File& file) const {
    Group::Save(file);
    file << m_transformation << m_further0 << m_further1;
}

void TransformationGroup::Load(Core::File& file) {
    Group::Load(file);
    file >> m_transformation >> m_further0 >> m_further1;
}

void TransformationGroup::GetWorldMatrix(Matrix4& out) const {
    out = GetParent() != nullptr ? ParentWorldMatrix() * m_transformation : m_transformation;
}

void TransformationGroup::Update(float dt) {
    RunCallbacks(dt);
    GetWorldMatrix(m_world);
    UpdateBelow(dt);
}

void TransformationGroup::DrawSelf() {
    if (GetShowBoundingVolume()) {
        SubmitBoundingVolume(GetBoundingVolume(), m_volumeEffect);
    }
}

void SubmitBoundingVolume(BoundingVolume& volume, const Core::RefPtr<Renderer::Effect>& effect) {
    volume.UpdateMesh();
    RenderQueue* queue = RenderQueue::GetInstance();
    if (queue == nullptr) {
        return;
    }
    RenderItem item;
    item.effect = effect;
    item.mesh = volume.GetMesh();
    item.subRange = 0;
    queue->Submit(item);
}

}  // namespace Engine
