#include "engine/Engine_RenderQueue.h"

#include "engine/Engine_OverlayView.h"
#include "engine/Engine_StateRun.h"
#include "renderer/Renderer_ScissorState.h"

#include <algorithm>
#include <cmath>
#include <cstring>

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
    const auto before = [](const Filed& a, const Filed& b) {
        return DepthBefore(a.item.depth, a.order, b.item.depth, b.order);
    };
    // The order is total (numbers are unique), so a list already in it is
    // what sorting would give; a still scene files its items that way.
    if (!std::is_sorted(list.begin(), list.end(), before)) {
        std::sort(list.begin(), list.end(), before);
    }
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

void RenderQueue::PrepareSpriteCorners() {
    const Engine::Mesh& quad = *m_spriteQuad;
    const auto& indices = quad.GetIndices();
    std::vector<std::uint32_t> corners;
    std::vector<std::uint16_t> pattern;
    // Vertices with equal position and texture coordinate place to equal
    // corners: each is computed once.
    const auto same = [&](std::uint32_t a, std::uint32_t b) {
        return std::memcmp(&quad.GetVertices()[a], &quad.GetVertices()[b], sizeof(Vector3D)) == 0 &&
               std::memcmp(&quad.GetTexCoords()[a], &quad.GetTexCoords()[b], sizeof(Vector2D)) == 0;
    };
    for (const std::uint32_t index : indices) {
        const auto found =
            std::find_if(corners.begin(), corners.end(), [&](std::uint32_t c) { return same(c, index); });
        pattern.push_back(static_cast<std::uint16_t>(found - corners.begin()));
        if (found == corners.end()) {
            corners.push_back(index);
        }
    }
    if (corners == m_quadCorners && pattern == m_quadIndices) {
        return;
    }
    m_quadCorners = std::move(corners);
    m_quadIndices = std::move(pattern);
    m_drawIndices.clear();
    for (std::size_t sprite = 0; sprite < kSpritesPerDraw; ++sprite) {
        for (const std::uint16_t corner : m_quadIndices) {
            m_drawIndices.push_back(static_cast<std::uint16_t>(sprite * m_quadCorners.size() + corner));
        }
    }
}

bool RenderQueue::PlaceSpriteCorners(const ItemList& list, std::size_t first, std::size_t end) {
    const Engine::Mesh& quad = *m_spriteQuad;
    const std::size_t corners = (end - first) * m_quadCorners.size();
    m_runPositions.resize(corners * 3);
    m_runTexCoords.resize(corners * 2);
    m_runColors.resize(corners * 4);
    float* position = m_runPositions.data();
    float* texCoord = m_runTexCoords.data();
    float* color = m_runColors.data();
    const Color& shared = list[first].item.color;
    bool oneColor = true;
    for (std::size_t i = first; i < end; ++i) {
        const RenderItem& item = list[i].item;
        oneColor = oneColor && std::memcmp(&item.color, &shared, sizeof(Color)) == 0;
        for (const std::uint32_t corner : m_quadCorners) {
            const Vector2D& uv = quad.GetTexCoords()[corner];
            const Vector3D texel = Matrix4::TransformPoint(item.textureMatrix, {uv.x, uv.y, 0.0f});
            const Vector3D placed = Matrix4::TransformPoint(item.worldMatrix, quad.GetVertices()[corner]);
            position[0] = placed.x;
            position[1] = placed.y;
            position[2] = placed.z;
            texCoord[0] = texel.x;
            texCoord[1] = texel.y;
            color[0] = item.color.r;
            color[1] = item.color.g;
            color[2] = item.color.b;
            color[3] = item.color.a;
            position += 3;
            texCoord += 2;
            color += 4;
        }
    }
    return oneColor;
}

void RenderQueue::DrawSpriteRun(const ItemList& list, std::size_t first, std::size_t end) {
    Renderer::IRenderer& renderer = *m_renderer;
    PrepareSpriteCorners();
    // A run of one colour draws it as the current colour, without a colour array.
    const bool oneColor = PlaceSpriteCorners(list, first, end);
    const std::size_t cornersPerSprite = m_quadCorners.size();
    for (std::size_t from = 0; from < end - first && !m_quadIndices.empty(); from += kSpritesPerDraw) {
        const std::size_t count = std::min(kSpritesPerDraw, end - first - from);
        const std::size_t corner = from * cornersPerSprite;
        if (from > 0) {
            renderer.FlushCommands();
        }
        renderer.SetVertexArray(&m_runPositions[corner * 3]);
        renderer.SetIndexArray16(m_drawIndices.data());
        renderer.SetNormalArray(nullptr);
        renderer.SetColorArray(oneColor ? nullptr : &m_runColors[corner * 4]);
        renderer.SetSecondaryColorArray(nullptr);
        renderer.SetTexCoordArray(0, &m_runTexCoords[corner * 2]);
        renderer.SetPrimitiveType(Renderer::kTriangleList);
        if (from == 0) {
            renderer.SetWorldMatrix(Matrix4());
            renderer.SetTextureMatrix(0, Matrix4());
            if (oneColor) {
                renderer.SetCurrentColor(list[first].item.color);
            }
        }
        renderer.DrawIndexRange(0, static_cast<std::int32_t>(count * m_quadIndices.size() - 1));
    }
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
    const double distance = Engine::OverlayEyeDistance(size.height);
    const CameraScope camera(renderer,
                             Matrix4::Perspective(Engine::kOverlayFieldOfView,
                                                  static_cast<float>(size.width) / static_cast<float>(size.height),
                                                  1.0f, 10000.0f),
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
