#include "engine/Engine_SceneGraph.h"

#include "engine/Engine_TransformationGroup.h"
#include "renderer/Renderer_DefaultEffects.h"

namespace Engine {

TUN_DEFINE_UNREGISTERED_CLASS(SceneGraph, "Engine::SceneGraph");

namespace {
SceneGraph* g_sceneGraph = nullptr;
}  // namespace

SceneGraph::SceneGraph(Renderer::IRenderer* renderer)
    : m_renderer(renderer), m_volumeEffect(Renderer::CreateDefaultEffect()) {
    m_queue.SetRenderer(renderer);
    g_sceneGraph = this;
}

SceneGraph::SceneGraph(const SceneGraph& other)
    : Group(other),
      m_renderer(other.m_renderer),
      m_volumeEffect(Renderer::CreateDefaultEffect()),
      m_viewportCount(other.m_viewportCount),
      m_viewportIndex(other.m_viewportIndex) {
    m_queue.SetRenderer(m_renderer);
    Propagate(this);
    g_sceneGraph = this;
}

SceneGraph::~SceneGraph() {
    if (g_sceneGraph == this) {
        g_sceneGraph = nullptr;
    }
}

SceneGraph* SceneGraph::GetCurrent() { return g_sceneGraph; }

void SceneGraph::Update(float dt) {
    RunCallbacks(dt);
    GetBoundingVolume().Transform(m_world);
    for (std::uint32_t i = 0; i < GetChildCount(); ++i) {
        GetChild(i)->Update(dt);
    }
}

void SceneGraph::DrawSelf() {
    if (GetShowBoundingVolume()) {
        SubmitBoundingVolume(GetBoundingVolume(), m_volumeEffect);
    }
}

void SceneGraph::FlushRenderQueue() {
    if (RenderQueue* queue = RenderQueue::GetInstance()) {
        queue->Flush();
        queue->EndFrame();
    }
}

void SceneGraph::UpdateAsCurrent(float dt) {
    g_sceneGraph = this;
    Update(dt);
}

void SceneGraph::Render(const Core::RefPtr<Camera>& camera, const Core::RefPtr<Viewport>& viewport) {
    if (!camera || !viewport || m_renderer == nullptr) {
        return;
    }
    Renderer::IRenderer& renderer = *m_renderer;
    RenderQueue* queue = RenderQueue::GetInstance();
    queue->SetCamera(camera);
    viewport->Apply(renderer);
    camera->Apply(renderer, viewport->GetWidth(), viewport->GetHeight());
    m_frustum = camera->GetFrustum();
    Group::Render(m_frustum);
    viewport->Clear(renderer);
    viewport->DrawBackground();
    FlushRenderQueue();
    camera->Restore(renderer);
    viewport->Restore(renderer);
}

void SceneGraph::ClearScreen(const Color& color) {
    if (m_renderer == nullptr) {
        return;
    }
    const Renderer::DisplaySettings settings = m_renderer->GetDisplaySettings();
    Viewport whole(0, 0, static_cast<std::int32_t>(settings.width), static_cast<std::int32_t>(settings.height));
    whole.Apply(*m_renderer);
    whole.SetClearColor(color);
    whole.ClearColorOnly(*m_renderer);
    whole.Restore(*m_renderer);
}

}  // namespace Engine
