#include "engine/Engine_Viewport.h"

#include "engine/Engine_RenderQueue.h"
#include "engine/Engine_TextRenderContext.h"
#include "renderer/Renderer_TextureManager.h"

namespace Engine {

TUN_DEFINE_UNREGISTERED_CLASS(Viewport, "Engine::Viewport");

Viewport::Viewport(std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height)
    : m_x(x), m_y(y), m_width(width), m_height(height), m_savedViewport{x, y, width, height, 0.0f, 1.0f} {}

void Viewport::SetBackground(const Core::String& fileName) {
    m_background = TextureManager::GetTexture(fileName, false);
}

void Viewport::Apply(Renderer::IRenderer& renderer) {
    m_savedViewport = renderer.GetViewport();
    renderer.GetScissorState(m_savedScissor);
    renderer.SetViewport({m_x, m_y, m_width, m_height, 0.0f, 1.0f});
    Renderer::ScissorState scissor;
    scissor.x = m_x;
    scissor.y = m_y;
    scissor.width = m_width;
    scissor.height = m_height;
    scissor.enabled = true;
    renderer.SetScissorState(scissor);
}

void Viewport::Restore(Renderer::IRenderer& renderer) const {
    renderer.SetViewport(m_savedViewport);
    renderer.SetScissorState(m_savedScissor);
}

void Viewport::Clear(Renderer::IRenderer& renderer) const { renderer.ClearBuffers(m_clearColor, 1.0f, 0); }

void Viewport::ClearColorOnly(Renderer::IRenderer& renderer) const { renderer.ClearColorBuffer(m_clearColor); }

void Viewport::DrawBackground() const {
    RenderQueue* queue = RenderQueue::GetInstance();
    if (!m_background || queue == nullptr) {
        return;
    }
    const auto left = static_cast<float>(m_x);
    const auto bottom = static_cast<float>(m_y);
    // Far edges in float: x + width can pass the largest int.
    const float right = left + static_cast<float>(m_width);
    const float top = bottom + static_cast<float>(m_height);
    TextRenderContext context;
    context.corners = {Vector3D(left, bottom, 0.0f), Vector3D(right, bottom, 0.0f), Vector3D(right, top, 0.0f),
                       Vector3D(left, top, 0.0f)};
    context.texCoords = {Vector2D(0.0f, 0.0f), Vector2D(1.0f, 0.0f), Vector2D(1.0f, 1.0f), Vector2D(0.0f, 1.0f)};
    context.color = {1.0f, 1.0f, 1.0f, 1.0f};
    context.texture = m_background;
    queue->SubmitBackground(context);
}

}  // namespace Engine
