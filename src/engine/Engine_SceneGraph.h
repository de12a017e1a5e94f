#pragma once

#include "engine/Engine_Camera.h"
#include "engine/Engine_Group.h"
#include "engine/Engine_RenderQueue.h"
#include "engine/Engine_UnregisteredClass.h"
#include "engine/Engine_Viewport.h"
#include "math/Math_Frustum.h"
#include "renderer/Renderer_Effect.h"
#include "renderer/Renderer_IRenderer.h"

#include <cstdint>

namespace Engine {

// The root group: it owns the render queue, keeps the frustum of the camera
// being drawn and the level's viewport count and index for the frame. The
// scene graph constructed or updated (UpdateAsCurrent) last is the current
// one, until it is destroyed. Streams store nothing of it.
class SceneGraph : public Group {
    TUN_DECLARE_UNREGISTERED_CLASS(SceneGraph);

    // The renderer is not owned; it must outlive the scene graph.
    explicit SceneGraph(Renderer::IRenderer* renderer);
    // Clones the tree; a fresh frustum, queue and effect; the copy becomes current.
    SceneGraph(const SceneGraph& other);
    SceneGraph& operator=(const SceneGraph&) = delete;
    ~SceneGraph() override;

    void Save(Core::File& file) const override {}
    void Load(Core::File& file) override {}

    // Null when no scene graph is current.
    static SceneGraph* GetCurrent();

    std::uint32_t GetNodeType() const override { return kSceneGraph; }
    // Callback, controllers, own volume, children; no parent and no merge.
    void Update(float dt) override;
    void DrawSelf() override;
    // Flushes the process-wide queue and ends its viewport.
    virtual void FlushRenderQueue();
    // Becomes current, then updates.
    virtual void UpdateAsCurrent(float dt);

    // Draws the tree through the camera into the viewport: viewport and
    // camera applied, tree queued, viewport cleared, background, flush,
    // camera and viewport restored. Nothing without both or a renderer.
    void Render(const Core::RefPtr<Camera>& camera, const Core::RefPtr<Viewport>& viewport);
    // The group's frustum form stays callable beside it.
    using Group::Render;
    // Clears the colour of the whole window, leaving viewport and scissor as they were.
    void ClearScreen(const Color& color);

    void SetViewportCount(std::uint32_t count) { m_viewportCount = count; }
    std::uint32_t GetViewportCount() const { return m_viewportCount; }
    void SetViewportIndex(std::uint32_t index) { m_viewportIndex = index; }
    std::uint32_t GetViewportIndex() const { return m_viewportIndex; }
    // The world-space frustum of the camera being drawn.
    const Frustum& GetFrustum() const { return m_frustum; }
    RenderQueue& GetRenderQueue() { return m_queue; }

private:
    Frustum m_frustum;
    Renderer::IRenderer* m_renderer;
    Core::RefPtr<Renderer::Effect> m_volumeEffect;
    std::uint32_t m_viewportCount = 0;
    std::uint32_t m_viewportIndex = 0;
    RenderQueue m_queue;
};

}  // namespace Engine
