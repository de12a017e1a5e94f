#include "engine/Engine_RenderQueue.h"

#include "engine/Engine_StateRun.h"
#include "renderer/Renderer_ScissorState.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

// A total order on identities that is the same on every run: none first,
// then creation order.
template <class T>
int CompareIdentity(const T* a, const T* b) {
    if (a == b) {
        return 0;
    }
    if (a == nullptr || b == nullptr) {
        return a == nullptr ? -1 : 1;
    }
    return a->GetCreationNumber() < b->GetCreationNumber() ? -1 : 1;
}

// Items that share effect and mesh lie together, in ascending sub-range order.
template <class Filed>
bool StateBefore(const Filed& a, const Filed& b) {
    if (const int effect = CompareIdentity(a.item.effect.Get(), b.item.effect.Get())) {
        return effect < 0;
    }
    if (const int mesh = CompareIdentity(a.item.mesh.Get(), b.item.mesh.Get())) {
        return mesh < 0;
    }
    const auto rangeA = static_cast<std::uint32_t>(a.item.subRange);
    const auto rangeB = static_cast<std::uint32_t>(b.item.subRange);
    return rangeA != rangeB ? rangeA < rangeB : a.order < b.order;
}

// Farthest first; a depth that is not a number goes last.
bool DepthBefore(float depthA, std::uint32_t orderA, float depthB, std::uint32_t orderB) {
    const bool unorderedA = std::isnan(depthA);
    const bool unorderedB = std::isnan(depthB);
    if (unorderedA != unorderedB) {
        return unorderedB;
    }
    if (!unorderedA && depthA != depthB) {
        return depthA < depthB;
    }
    return orderA < orderB;
}

// Window pixels as the overlay and screen passes cover them.
struct WindowSize {
    std::int32_t width;
    std::int32_t height;
};

WindowSize WindowSizeOf(const Renderer::IRenderer& renderer) {
    const Renderer::DisplaySettings settings = renderer.GetDisplaySettings();
    return {static_cast<std::int32_t>(settings.width), static_cast<std::int32_t>(settings.height)};
}

// Saves the viewport and scissor, covers the whole window without a scissor
// test, and puts both back at the end of the scope.
class WholeWindowScope {
public:
    WholeWindowScope(Renderer::IRenderer& renderer, WindowSize size) : m_renderer(renderer) {
        renderer.GetScissorState(m_scissor);
        Renderer::ScissorState whole;
        whole.x = 0;
        whole.y = 0;
        whole.width = size.width;
        whole.height = size.height;
        whole.enabled = false;
        renderer.SetScissorState(whole);
        m_viewport = renderer.GetViewport();
        renderer.SetViewport({0, 0, size.width, size.height, 0.0f, 1.0f});
    }
    ~WholeWindowScope() {
        m_renderer.SetViewport(m_viewport);
        m_renderer.SetScissorState(m_scissor);
    }
    WholeWindowScope(const WholeWindowScope&) = delete;
    WholeWindowScope& operator=(const WholeWindowScope&) = delete;

private:
    Renderer::IRenderer& m_renderer;
    Renderer::ScissorState m_scissor;
    Renderer::Viewport m_viewport;
};

// Sets the projection and view for a scope and puts the previous ones back
// (projection first) at its end.
class CameraScope {
public:
    CameraScope(Renderer::IRenderer& renderer, const Matrix4& projection, const Matrix4& view)
        : m_renderer(renderer), m_view(renderer.GetViewMatrix()), m_projection(renderer.GetProjectionMatrix()) {
        renderer.SetViewMatrix(view);
        renderer.SetProjectionMatrix(projection);
    }
    ~CameraScope() {
        m_renderer.SetProjectionMatrix(m_projection);
        m_renderer.SetViewMatrix(m_view);
    }
    CameraScope(const CameraScope&) = delete;
    CameraScope& operator=(const CameraScope&) = delete;

private:
    Renderer::IRenderer& m_renderer;
    Matrix4 m_view;
    Matrix4 m_projection;
};

// Draws a screen object's indexed geometry and turns its arrays off again.
void DrawIndexedQuad(Renderer::IRenderer& renderer, const Engine::ScreenObject& object, std::int32_t primitiveType) {
    renderer.SetWorldMatrix(object.GetTransform());
    renderer.SetTextureMatrix(0, object.GetTextureTransform());
    renderer.SetColorArray(nullptr);
    renderer.SetSecondaryColorArray(nullptr);
    renderer.SetNormalArray(nullptr);
    // Packed floats, or null when the object has none.
    renderer.SetVertexArray(reinterpret_cast<const float*>(object.GetVertices()));
    renderer.SetIndexArray16(object.GetIndices());
    renderer.SetTexCoordArray(0, reinterpret_cast<const float*>(object.GetTextureCoordinates()));
    renderer.SetCurrentColor(object.GetColor());
    renderer.SetPrimitiveType(primitiveType);
    if (const std::uint32_t count = object.GetIndexCount(); count != 0) {
        renderer.DrawIndexRange(0, static_cast<std::int32_t>(count - 1));
    }
    renderer.SetColorArray(nullptr);
    renderer.SetSecondaryColorArray(nullptr);
    renderer.SetNormalArray(nullptr);
    renderer.SetVertexArray(nullptr);
    renderer.SetIndexArray16(nullptr);
    renderer.SetTexCoordArray(0, nullptr);
}

void Unbind(Renderer::IRenderer& renderer, const Engine::Mesh*& bound) {
    if (bound != nullptr) {
        Engine::Mesh::UnbindArrays(renderer);
        bound = nullptr;
    }
}

}  // namespace

void RenderQueue::Flush() {
    if (m_renderer == nullptr) {
        return;
    }
    DrawBackgrounds();
    std::sort(m_opaque.begin(), m_opaque.end(), StateBefore<Filed>);
    DrawItemList(m_opaque);
    SortByDepth(m_blended);
    DrawItemList(m_blended);
    m_renderer->SetTextureMatrix(0, Matrix4());
    if (IsLastViewport()) {
        DrawOverlayItems();
    }
}

void RenderQueue::SortByDepth(ItemList& list) {
    for (Filed& filed : list) {
        filed.item.depth = filed.item.worldMatrix[14];
    }
    std::sort(list.begin(), list.end(), [](const Filed& a, const Filed& b) {
        return DepthBefore(a.item.depth, a.order, b.item.depth, b.order);
    });
}

void RenderQueue::DrawBackgrounds() {
    Renderer::IRenderer& renderer = *m_renderer;
    const Renderer::Viewport v = renderer.GetViewport();
    const auto left = static_cast<float>(v.x), bottom = static_cast<float>(v.y);
    const CameraScope camera(renderer,
                             Matrix4::Orthographic(left, left + static_cast<float>(v.width), bottom,
                                                   bottom + static_cast<float>(v.height)),
                             Matrix4());
    {
        Engine::StateRun run(renderer);
        for (const Engine::TextRenderContext& context : m_backgrounds) {
            run.Use(*context.effect, context.texture, false);
            DrawIndexedQuad(renderer, context, Renderer::kTriangleList);
        }
    }
    renderer.SetTextureMatrix(0, Matrix4());
}

std::size_t RenderQueue::SpriteRunEnd(const ItemList& list, std::size_t first) const {
    const RenderItem& head = list[first].item;
    const auto joins = [&](const RenderItem& item) {
        return item.sprite && item.effect && item.effect == head.effect && item.texture == head.texture &&
               item.mesh == m_spriteQuad && item.subRange == 0 && !m_spriteQuad->VertexBuffer();
    };
    std::size_t end = first;
    while (end < list.size() && joins(list[end].item)) {
        ++end;
    }
    return std::max(end, first + 1);
}

void RenderQueue::DrawSpriteRun(const ItemList& list, std::size_t first, std::size_t end) {
    Renderer::IRenderer& renderer = *m_renderer;
    Engine::Mesh& placed = *m_spriteRun;
    const Engine::Mesh& quad = *m_spriteQuad;
    placed.Clear();
    std::uint32_t index = 0;
    for (std::size_t i = first; i < end; ++i) {
        const RenderItem& item = list[i].item;
        for (const std::uint32_t corner : quad.GetIndices()) {
            const Vector2D& uv = quad.GetTexCoords()[corner];
            const Vector3D texel = Matrix4::TransformPoint(item.textureMatrix, {uv.x, uv.y, 0.0f});
            placed.AddVertex(Matrix4::TransformPoint(item.worldMatrix, quad.GetVertices()[corner]));
            placed.AddTexCoord({texel.x, texel.y});
            placed.AddColor(item.color);
            placed.AddIndex(index++);
        }
    }
    placed.AddSubRange({0, index - 1, -1, 1});
    placed.BindArrays(renderer);
    renderer.SetWorldMatrix(Matrix4());
    renderer.SetTextureMatrix(0, Matrix4());
    placed.DrawSubRange(renderer, 0);
    Engine::Mesh::UnbindArrays(renderer);
    const RenderItem& last = list[end - 1].item;
    renderer.SetWorldMatrix(last.worldMatrix);
    renderer.SetTextureMatrix(0, last.textureMatrix);
    renderer.SetCurrentColor(last.color);
}

void RenderQueue::DrawItemList(ItemList& list) {
    Renderer::IRenderer& renderer = *m_renderer;
    Engine::StateRun run(renderer);
    const Engine::Mesh* bound = nullptr;
    // Nothing else in the list changes the texture matrix: sprites of one
    // frame share it, so an equal one is not set again.
    const Matrix4* textureMatrix = nullptr;
    for (std::size_t index = 0; index < list.size(); ++index) {
        RenderItem& item = list[index].item;
        if ((item.sprite || item.particle) && item.effect) {
            item.effect->SetTexture(1, item.texture);
        }
        Renderer::Effect* effect = item.primitiveType == Renderer::kLineList    ? m_colorEffect.Get()
                                   : item.primitiveType == Renderer::kPointList ? m_colorEffectSecond.Get()
                                                                                : item.effect.Get();
        if (effect == nullptr) {
            continue;
        }
        if (const std::size_t end = item.sprite ? SpriteRunEnd(list, index) : index + 1; end - index > 1) {
            run.Use(*effect, item.texture, false);
            Unbind(renderer, bound);
            DrawSpriteRun(list, index, end);
            textureMatrix = &list[end - 1].item.textureMatrix;
            index = end - 1;
            continue;
        }
        bool reapply = false;
        if (item.particle && effect == m_particleEffect.Get()) {
            Renderer::ParticleEffect& particle = *m_particleEffect;
            reapply = particle.sourceFactor != item.sourceBlendFactor ||
                      particle.destinationFactor != item.destinationBlendFactor;
            particle.sourceFactor = item.sourceBlendFactor;
            particle.destinationFactor = item.destinationBlendFactor;
            particle.UpdateStates();
        }
        run.Use(*effect, effect->GetTexture(1), reapply);

        if (!item.mesh) {
            Unbind(renderer, bound);
            renderer.SetPrimitiveType(static_cast<std::int32_t>(item.primitiveType));
            renderer.SetWorldMatrix(item.worldMatrix);
            renderer.SetVertexArray(item.vertices);
            renderer.SetCurrentColor(item.color);
            renderer.Draw(static_cast<std::int32_t>(item.vertexCount));
            renderer.SetVertexArray(nullptr);
            renderer.SetColorArray(nullptr);
            continue;
        }
        Engine::Mesh& mesh = *item.mesh;
        const auto range = static_cast<std::uint32_t>(item.subRange);
        const bool buffered = static_cast<bool>(mesh.VertexBuffer());
        if (buffered) {
            Unbind(renderer, bound);
            renderer.SetPrimitiveType(static_cast<std::int32_t>(item.primitiveType));
            mesh.BindBuffers(renderer);
        } else if (&mesh != bound) {
            Unbind(renderer, bound);
            mesh.BindArrays(renderer);
            bound = &mesh;
        }
        renderer.SetCurrentColor(item.color);
        renderer.SetWorldMatrix(item.worldMatrix);
        if (textureMatrix == nullptr || textureMatrix->m != item.textureMatrix.m) {
            renderer.SetTextureMatrix(0, item.textureMatrix);
            textureMatrix = &item.textureMatrix;
        }
        if (buffered) {
            mesh.DrawSubRangeIndexed(renderer, range);
            Engine::Mesh::UnbindBuffers(renderer);
        } else {
            mesh.DrawSubRange(renderer, range);
        }
    }
    Unbind(renderer, bound);
}

void RenderQueue::DrawOverlayItems() {
    Renderer::IRenderer& renderer = *m_renderer;
    const WindowSize size = WindowSizeOf(renderer);
    const WholeWindowScope window(renderer, size);
    SortByDepth(m_overlay);
    // At z = 0 one unit is one window pixel: the eye stands h / (2 tan 22.5 degrees) away.
    const double distance = static_cast<double>(size.height) / (2.0 * std::tan(std::numbers::pi / 8.0));
    const CameraScope camera(
        renderer,
        Matrix4::Perspective(45.0f, static_cast<float>(size.width) / static_cast<float>(size.height), 1.0f, 10000.0f),
        Matrix4::Translation(0.0f, 0.0f, -static_cast<float>(distance)));
    DrawItemList(m_overlay);
}

void RenderQueue::DrawScreenObjects() {
    std::sort(m_screenObjects.begin(), m_screenObjects.end(),
              [](const FiledScreenObject& a, const FiledScreenObject& b) {
                  return DepthBefore(a.object->GetDepth(), a.order, b.object->GetDepth(), b.order);
              });
    if (m_renderer != nullptr) {
        Renderer::IRenderer& renderer = *m_renderer;
        const WindowSize size = WindowSizeOf(renderer);
        const WholeWindowScope window(renderer, size);
        const CameraScope camera(
            renderer,
            Matrix4::Orthographic(0.0f, static_cast<float>(size.width), 0.0f, static_cast<float>(size.height)),
            Matrix4());
        for (const FiledScreenObject& filed : m_screenObjects) {
            Engine::ScreenObject& object = *filed.object;
            object.UpdateEffect();
            const Core::RefPtr<Renderer::Effect> effect = object.GetEffect();
            if (!effect) {
                continue;
            }
            Engine::StateRun run(renderer);
            run.Use(*effect, object.GetTexture(), false);
            DrawIndexedQuad(renderer, object, object.GetPrimitiveType());
        }
        renderer.SetTextureMatrix(0, Matrix4());
    }
    m_screenObjects.clear();
    RestartNumbering();
}
