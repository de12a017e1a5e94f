#include "engine/Engine_LinesBase.h"

#include "engine/Engine_RenderQueue.h"

namespace Engine {

void LinesBase::Update(float dt) { m_world = ParentWorldMatrix(); }

void LinesBase::DrawSelf() {
    RenderQueue* queue = RenderQueue::GetInstance();
    if (!GetVisible() || m_points.empty() || queue == nullptr) {
        return;
    }
    RenderItem item;
    item.vertices = &m_points.front().x;
    item.vertexCount = static_cast<std::uint32_t>(m_points.size());
    item.color = Color(m_color.r, m_color.g, m_color.b, m_opacity);
    item.primitiveType = Renderer::kLineList;
    item.screenSpace = IsHUDObject();
    item.worldMatrix = m_world;
    queue->Submit(item);
}

}  // namespace Engine
