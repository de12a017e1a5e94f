#include "engine/Engine_RenderQueue.h"

#include "engine/Engine_Camera.h"
#include "engine/Engine_SceneGraph.h"
#include "renderer/Renderer_DefaultEffects.h"

#include <algorithm>

namespace {

// Live queues, oldest first: the last one is the instance.
std::vector<RenderQueue*>& LiveQueues() {
    static std::vector<RenderQueue*> queues;
    return queues;
}

Core::RefPtr<Engine::Mesh> MakeSpriteQuad() {
    Core::RefPtr<Engine::Mesh> quad = TUN_NEW(Engine::Mesh);
    quad->AddSubRange({0, 5, -1, 1});
    const float corners[6][2] = {{-0.5f, -0.5f}, {0.5f, -0.5f}, {0.5f, 0.5f},
                                 {0.5f, 0.5f},   {-0.5f, 0.5f}, {-0.5f, -0.5f}};
    for (std::uint32_t i = 0; i < 6; ++i) {
        quad->AddVertex({corners[i][0], corners[i][1], 0.0f});
        quad->AddIndex(i);
        quad->AddTexCoord({corners[i][0] + 0.5f, corners[i][1] + 0.5f});
    }
    return quad;
}

bool NamesExistingSubRange(const RenderItem& item) {
    return item.subRange >= 0 && static_cast<std::uint32_t>(item.subRange) < item.mesh->GetSubRangeCount();
}

}  // namespace

RenderQueue::RenderQueue()
    : m_colorEffect(Renderer::CreateColorEffect()),
      m_colorEffectSecond(Renderer::CreateColorEffectSecond()),
      m_coloredTexturedEffect(Renderer::CreateColoredTexturedEffect()),
      m_textureDepthEffect(Renderer::CreateTextureDepthEffect()),
      m_particleEffect(Renderer::CreateParticleEffect()),
      m_spriteQuad(MakeSpriteQuad()) {
    LiveQueues().push_back(this);
}

RenderQueue::~RenderQueue() {
    std::vector<RenderQueue*>& queues = LiveQueues();
    queues.erase(std::remove(queues.begin(), queues.end(), this), queues.end());
}

RenderQueue* RenderQueue::GetInstance() {
    const std::vector<RenderQueue*>& queues = LiveQueues();
    return queues.empty() ? nullptr : queues.back();
}

bool RenderQueue::IsLastViewport() {
    const Engine::SceneGraph* scene = Engine::SceneGraph::GetCurrent();
    if (scene == nullptr) {
        return true;
    }
    // A scene graph nobody gave a count draws through one viewport.
    const std::uint32_t count = std::max(scene->GetViewportCount(), 1u);
    return scene->GetViewportIndex() == count - 1;
}

void RenderQueue::SetCamera(const Core::RefPtr<Engine::Camera>& camera) { m_camera = camera; }

RenderQueue::ItemList* RenderQueue::SpriteList(bool screenSpace) {
    if (!screenSpace) {
        return &m_blended;
    }
    return IsLastViewport() ? &m_overlay : nullptr;
}

RenderQueue::ItemList* RenderQueue::Destination(RenderItem& item) {
    const bool last = IsLastViewport();
    if (item.sprite) {
        item.effect = m_coloredTexturedEffect;
        item.mesh = m_spriteQuad;
    }
    if (item.mesh && !NamesExistingSubRange(item)) {
        return nullptr;
    }
    if (item.sprite) {
        return SpriteList(item.screenSpace);
    }
    if (item.screenSpace) {
        if (!last) {
            return nullptr;
        }
        if (item.particle) {
            item.effect = m_particleEffect;
        }
        return &m_overlay;
    }
    const bool blended = item.effect && item.effect->blended;
    if (item.mesh) {
        if (item.particle) {
            item.effect = m_particleEffect;
        }
        const bool rangeBlended = item.mesh->GetSubRange(static_cast<std::uint32_t>(item.subRange)).flag != 0;
        return rangeBlended || blended ? &m_blended : &m_opaque;
    }
    if (item.primitiveType == Renderer::kLineList || item.primitiveType == Renderer::kPointList) {
        return &m_blended;
    }
    return nullptr;
}

void RenderQueue::Submit(RenderItem& item) {
    if (ItemList* list = Destination(item)) {
        list->push_back({item, m_submissions++});
    }
}

void RenderQueue::Submit(RenderItem&& item) {
    if (ItemList* list = Destination(item)) {
        list->push_back({std::move(item), m_submissions++});
    }
}

RenderItem* RenderQueue::FileSprite(bool screenSpace) {
    if (m_spriteQuad->GetSubRangeCount() == 0) {
        return nullptr;
    }
    ItemList* list = SpriteList(screenSpace);
    if (list == nullptr) {
        return nullptr;
    }
    Filed& filed = list->emplace_back();
    filed.order = m_submissions++;
    RenderItem& item = filed.item;
    item.effect = m_coloredTexturedEffect;
    item.mesh = m_spriteQuad;
    item.subRange = 0;
    item.sprite = true;
    item.screenSpace = screenSpace;
    return &item;
}

void RenderQueue::SubmitBackground(Engine::TextRenderContext& context) {
    if (context.texture) {
        context.effect = m_textureDepthEffect;
        m_backgrounds.push_back(context);
    }
}

void RenderQueue::SubmitScreenObject(const Core::RefPtr<Engine::ScreenObject>& object) {
    if (object && object->IsDrawable()) {
        m_screenObjects.push_back({object, m_submissions++});
    }
}

void RenderQueue::EndFrame() {
    m_opaque.clear();
    m_blended.clear();
    if (IsLastViewport()) {
        m_overlay.clear();
    }
    m_backgrounds.clear();
    RestartNumbering();
}

void RenderQueue::RestartNumbering() {
    if (m_opaque.empty() && m_blended.empty() && m_overlay.empty() && m_screenObjects.empty()) {
        m_submissions = 0;
    }
}
