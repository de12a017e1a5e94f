#include "engine/Engine_Text.h"

#include "core/Core_File.h"
#include "engine/Engine_BitmapFontCache.h"
#include "engine/Engine_FontNames.h"
#include "engine/Engine_Group.h"
#include "engine/Engine_RenderQueue.h"
#include "engine/Engine_SceneGraph.h"
#include "engine/Engine_TextLayout.h"
#include "math/Math_BoundingBox.h"
#include "renderer/Renderer_DefaultEffects.h"
#include "renderer/Renderer_Enumerations.h"

namespace Engine {

TUN_DEFINE_CLASS_NAMED(Text, "Engine::Text");

namespace {

constexpr std::uint32_t kFontTextureSlot = 1;

// The layout's cells as a box one unit deep behind them, placed by world.
BoundingBox PlacedBox(const TextExtent& extent, const Matrix4& world) {
    BoundingBox box;
    Math::SetBoxCorners(box.corners, {extent.low.x, extent.low.y, -1.0f}, {extent.high.x, extent.high.y, 0.0f});
    for (Vector3D& corner : box.corners) {
        corner = Matrix4::TransformPoint(world, corner);
    }
    return box;
}

}  // namespace

Text::Text() : Text(Core::String(), false) {}

Text::Text(const Core::String& text, bool screenFlag)
    : m_text(text), m_mesh(TUN_NEW(Mesh)), m_screenFlag(screenFlag), m_effect(CreateEffect(screenFlag)) {
    m_mesh->AddSubRange(TextSubRange(m_text.size()));
    m_mesh->AddEffect(m_effect);
}

Text::Text(const Text& other)
    : Node(other),
      m_text(other.m_text),
      m_mesh(static_cast<Mesh*>(other.m_mesh->Clone())),
      m_font(other.m_font),
      m_color(other.m_color),
      m_opacity(other.m_opacity),
      m_offset(other.m_offset),
      m_screenFlag(other.m_screenFlag),
      m_valueA(other.m_valueA),
      m_valueB(other.m_valueB),
      m_effect(other.m_effect),
      m_valueC(other.m_valueC),
      m_valueD(other.m_valueD) {}

void Text::Save(Core::File& file) const {
    Node::Save(file);
    file << m_text << (m_font ? StoredFontName(m_font->GetName()) : Core::String());
    file << m_color;
    file.WriteF32(m_opacity);
    file << m_offset;
    file.WriteU8(m_screenFlag ? 1 : 0);
    for (const float value : {m_valueA, m_valueB, m_valueC, m_valueD}) {
        file.WriteF32(value);
    }
}

void Text::Load(Core::File& file) {
    Node::Load(file);
    // Read into empty strings: a stored empty string leaves its target as it was.
    Core::String text;
    Core::String fontName;
    file >> text >> fontName;
    m_text = text;
    file >> m_color;
    file.ReadF32(m_opacity);
    file >> m_offset;
    std::uint8_t screenFlag = m_screenFlag ? 1 : 0;
    file.ReadU8(screenFlag);
    m_screenFlag = screenFlag != 0;
    for (float* value : {&m_valueA, &m_valueB, &m_valueC, &m_valueD}) {
        file.ReadF32(*value);
    }
    // A stored font name is never empty: an empty one was written by a text
    // without font.
    m_font = fontName.empty() || file.HasFailed() ? nullptr : BitmapFontCache::Get(FontPathFromStored(fontName));
    m_effect = CreateEffect(m_screenFlag);
}

void Text::Update(float dt) { RunUpdateCallback(dt); }

void Text::DrawSelf() {
    if (!GetVisible() || m_text.empty() || m_screenFlag || !m_font) {
        return;
    }
    if (m_laidOutFont != m_font || m_laidOutText != m_text) {
        m_laidOutExtent = LayOutText(m_text, *m_font, *m_mesh);
        m_laidOutText = m_text;
        m_laidOutFont = m_font;
    }
    const TextExtent& extent = m_laidOutExtent;
    m_effect->SetTexture(kFontTextureSlot, m_font->GetTexture());
    RenderQueue* queue = RenderQueue::GetInstance();
    if (!extent.hasCells || queue == nullptr) {
        return;
    }
    const Matrix4 world = ParentWorld();
    const SceneGraph* scene = SceneGraph::GetCurrent();
    if (!IsHUDObject() && scene != nullptr &&
        scene->GetFrustum().IsBoxOutside(PlacedBox(extent, world))) {
        return;
    }
    RenderItem item;
    item.effect = m_effect;
    item.mesh = m_mesh;
    item.subRange = 0;
    item.color = Color(m_color.r, m_color.g, m_color.b, m_opacity);
    item.screenSpace = IsHUDObject();
    item.worldMatrix = world;
    item.primitiveType = Renderer::kTriangleList;
    queue->Submit(item);
}

Core::RefPtr<Renderer::Effect> Text::CreateEffect(bool screenFlag) {
    return screenFlag ? Renderer::CreateTextEffect() : Renderer::CreateTexturedEffect();
}

Matrix4 Text::ParentWorld() const {
    Matrix4 world;
    if (const Group* parent = GetParent()) {
        parent->GetWorldMatrix(world);
    }
    return world;
}

}  // namespace Engine
