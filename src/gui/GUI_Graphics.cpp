#include "gui/GUI_Graphics.h"

#include "core/Core_File.h"
#include "engine/Engine_BitmapFontCache.h"
#include "engine/Engine_RenderQueue.h"
#include "gui/GUI_ImageRenderContext.h"
#include "gui/GUI_ResourcePaths.h"
#include "renderer/Renderer_DefaultEffects.h"
#include "renderer/Renderer_IRenderer.h"
#include "renderer/Renderer_TextureManager.h"

#include <cmath>

namespace GUI {
namespace {

Graphics* g_graphics = nullptr;

constexpr std::uint32_t kVerticesPerQuad = 4;
constexpr std::uint32_t kIndicesPerQuad = 6;

// Texture-corner orders of image quads: plain, mirrored left to right, upside
// down, both.
constexpr std::array<std::array<std::size_t, 4>, 4> kCornerOrders{
    {{0, 1, 2, 3}, {1, 0, 3, 2}, {3, 2, 1, 0}, {2, 3, 0, 1}}};

void SetCorners(std::array<Vector3D, 4>& corners, const NRectangle& r) {
    corners = {Vector3D(r.GetX(), r.GetY(), 0.0f), Vector3D(r.GetRight(), r.GetY(), 0.0f),
               Vector3D(r.GetRight(), r.GetTop(), 0.0f), Vector3D(r.GetX(), r.GetTop(), 0.0f)};
}

}  // namespace

Graphics::Graphics()
    : m_imageEffect(TUN_NEW(ImageEffect, ImageEffect::kNearest)),
      m_smoothImageEffect(TUN_NEW(ImageEffect, ImageEffect::kLinear)),
      m_texturedEffect(Renderer::CreateTexturedEffect()),
      m_whiteTexture(TextureManager::GetTexture(GetSkinsFolderFilePath("White.png"), true)) {
    Reset();
    g_graphics = this;
}

Graphics::~Graphics() {
    if (g_graphics == this) {
        g_graphics = nullptr;
    }
}

Graphics* Graphics::GetInstance() { return g_graphics; }

float Graphics::GetScreenWidth() {
    const Core::RefPtr<Renderer::IRenderer> renderer = Renderer::GetRenderer();
    return renderer ? static_cast<float>(renderer->GetDisplaySettings().width) : 0.0f;
}

float Graphics::GetScreenHeight() {
    const Core::RefPtr<Renderer::IRenderer> renderer = Renderer::GetRenderer();
    return renderer ? static_cast<float>(renderer->GetDisplaySettings().height) : 0.0f;
}

void Graphics::Reset() {
    m_state = DrawingState();
    m_state.clip = NRectangle(0.0f, 0.0f, GetScreenWidth(), GetScreenHeight());
}

void Graphics::BuildImageQuad(Engine::TextRenderContext& quad, const TRectangle& rectangle,
                              const Core::RefPtr<Renderer::ITexture>& texture) {
    TRectangle clipped;
    if (!ClipTRectangle(clipped, rectangle, m_state.clip)) {
        quad.visible = 0;
        return;
    }
    quad.visible = 1;
    const Core::RefPtr<ImageEffect>& effect = m_state.smoothFiltering ? m_smoothImageEffect : m_imageEffect;
    quad.effect = effect;
    // The effects are shared: each quad hands its filter to its effect right
    // before it is drawn.
    if (auto* image = dynamic_cast<ImageRenderContext*>(&quad)) {
        image->filterSelector = m_state.smoothFiltering ? ImageEffect::kLinear : ImageEffect::kNearest;
    }
    quad.texture = texture;
    quad.color = Color(m_state.color.r, m_state.color.g, m_state.color.b, m_state.opacity);
    SetCorners(quad.corners, clipped);
    quad.depth = m_state.depth;
    const std::size_t order = (m_state.flipHorizontal ? 1 : 0) + (m_state.flipVertical ? 2 : 0);
    for (std::size_t corner = 0; corner < 4; ++corner) {
        quad.texCoords[corner] = clipped.GetTexCoord(kCornerOrders[order][corner]);
    }
}

void Graphics::DrawText(Engine::StringRenderContext& text, const Vector2D& position, std::string_view characters,
                        const Engine::BitmapFont* font) {
    text.vertices.clear();
    text.texCoords.clear();
    text.indices.clear();
    if (font == nullptr) {
        text.visible = 0;
        return;
    }
    float width = 0.0f;
    float height = 0.0f;
    font->MeasureString(characters, width, height);
    NRectangle box;
    if (!NRectangle::Intersect(box, NRectangle(position.x, position.y, width, height), m_state.clip)) {
        text.visible = 0;
        return;
    }
    text.visible = 1;
    const std::size_t reserved = std::min<std::size_t>(characters.size(), kMaxGlyphQuads);
    text.vertices.reserve(kVerticesPerQuad * reserved);
    text.texCoords.reserve(kVerticesPerQuad * reserved);
    text.indices.reserve(kIndicesPerQuad * reserved);

    Engine::FontGlyph space;
    font->GetGlyph(' ', space);
    const auto cellSize = static_cast<float>(font->GetCellSize());
    float penX = position.x;
    float penY = position.y;
    std::uint32_t quads = 0;
    for (const char character : characters) {
        if (character == '\t') {
            penX += 4.0f * static_cast<float>(space.advance);
            continue;
        }
        if (character == ' ') {
            penX += static_cast<float>(space.advance);
            continue;
        }
        if (character == '\n') {
            penY -= font->GetLineHeight();
            penX = position.x;
            continue;
        }
        if (character == '\r') {
            continue;
        }
        if (quads == kMaxGlyphQuads) {
            break;
        }
        Engine::FontGlyph glyph;
        Engine::BitmapFont::TexCoords cell;
        const auto code = static_cast<std::int32_t>(static_cast<signed char>(character));
        font->GetGlyph(code, glyph);
        font->GetGlyphTexCoords(code, cell);
        const auto lead = static_cast<float>(glyph.lead);
        // A glyph at the line's start sits at its exact offset from x; later
        // ones a lead after the pen, on whole pixels.
        const bool lineStart = penX == position.x;
        const float start = lineStart ? penX : penX + lead;
        const float shift = lineStart ? glyph.cellOffset : std::ceil(glyph.cellOffset);
        penX = start + static_cast<float>(glyph.advance);
        if (penX != position.x) {
            penX -= lead;
        }
        TRectangle square(start - shift, penY, cellSize, cellSize);
        for (std::size_t corner = 0; corner < 4; ++corner) {
            square.SetTexCoord(corner, {cell[2 * corner], cell[2 * corner + 1]});
        }
        TRectangle clipped;
        if (!ClipTRectangle(clipped, square, m_state.clip)) {
            continue;
        }
        text.effect = m_imageEffect;
        text.texture = font->GetTexture();
        text.color = Color(m_state.color.r, m_state.color.g, m_state.color.b, m_state.opacity);
        text.depth = m_state.depth;
        std::array<Vector3D, 4> corners;
        SetCorners(corners, clipped);
        const auto first = static_cast<std::uint16_t>(kVerticesPerQuad * quads);
        for (std::size_t corner = 0; corner < 4; ++corner) {
            text.vertices.push_back(corners[corner]);
            text.texCoords.push_back(clipped.GetTexCoord(corner));
        }
        for (const std::uint16_t offset : {0, 1, 2, 0, 2, 3}) {
            text.indices.push_back(static_cast<std::uint16_t>(first + offset));
        }
        ++quads;
    }
}

void Graphics::SubmitImage(const Core::RefPtr<Engine::TextRenderContext>& quad) {
    if (RenderQueue* queue = RenderQueue::GetInstance(); queue != nullptr && quad && quad->IsVisible()) {
        queue->SubmitScreenObject(quad);
    }
}

void Graphics::SubmitText(const Core::RefPtr<Engine::StringRenderContext>& text) {
    if (RenderQueue* queue = RenderQueue::GetInstance(); queue != nullptr && text && text->IsVisible()) {
        queue->SubmitScreenObject(text);
    }
}

void Graphics::Save(Core::File& file) const {
    file << m_state.color;
    m_state.clip.Write(file);
    file.WriteF32(m_state.depth);
    file.WriteF32(m_state.opacity);
    file.WriteU32(m_state.lineFactor);
    file.WriteU8(static_cast<std::uint8_t>(m_state.linePattern));
    file.WriteU8(static_cast<std::uint8_t>(m_state.linePattern >> 8));
    file.WriteU8(m_state.lineFlag ? 1 : 0);
    file.WriteU8(m_state.flipHorizontal ? 1 : 0);
    file.WriteU8(m_state.flipVertical ? 1 : 0);
    file.WriteU8(m_state.smoothFiltering ? 1 : 0);
    // Fonts live in a folder of their own name: the last part of the path.
    file.WriteString(m_font ? GetFileNameFromPath(m_font->GetName()) : Core::String());
}

void Graphics::Load(Core::File& file) {
    DrawingState read = m_state;
    file >> read.color;
    read.clip.Read(file);
    file.ReadF32(read.depth);
    file.ReadF32(read.opacity);
    file.ReadU32(read.lineFactor);
    std::uint8_t patternLow = 0;
    std::uint8_t patternHigh = 0;
    file.ReadU8(patternLow);
    file.ReadU8(patternHigh);
    read.linePattern = static_cast<std::uint16_t>(patternLow | patternHigh << 8);
    file.ReadBool(read.lineFlag);
    file.ReadBool(read.flipHorizontal);
    file.ReadBool(read.flipVertical);
    file.ReadBool(read.smoothFiltering);
    Core::String fontName;
    file.ReadString(fontName);
    if (file.HasFailed()) {
        return;
    }
    m_state = read;
    m_font = fontName.empty() ? nullptr : Engine::BitmapFontCache::Get(GetFontFilePath(fontName));
}

}  // namespace GUI
