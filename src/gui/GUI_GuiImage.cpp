#include "gui/GUI_GuiImage.h"

#include "core/Core_File.h"
#include "gui/GUI_Graphics.h"
#include "gui/GUI_SkinDescriptorFile.h"
#include "renderer/Renderer_TextureManager.h"

#include <cmath>

namespace GUI {
namespace {

// v when it lies in 0..limit, else the nearer end.
float Clamp(float v, float limit) {
    if (v > limit) {
        return limit;
    }
    return v < 0.0f ? 0.0f : v;
}

bool IsFinite(const PieceSet& s) {
    for (const float v : {s.x, s.y, s.width, s.height, s.leftSplit, s.rightSplit, s.bottomSplit, s.topSplit}) {
        if (!std::isfinite(v)) {
            return false;
        }
    }
    return true;
}

bool IsFinite(const TRectangle& r) {
    bool finite = std::isfinite(r.GetX()) && std::isfinite(r.GetY()) && std::isfinite(r.GetWidth()) &&
                  std::isfinite(r.GetHeight());
    for (const Vector2D& corner : r.GetTexCoords()) {
        finite = finite && std::isfinite(corner.x) && std::isfinite(corner.y);
    }
    return finite;
}

bool IsFinite(const Vector2D& v) { return std::isfinite(v.x) && std::isfinite(v.y); }

Core::RefPtr<Renderer::ITexture> SkinTexture(const Core::String& skinBasePath) {
    return TextureManager::GetTexture(skinBasePath + ".png", false);
}

bool operator!=(const Color& a, const Color& b) { return a.r != b.r || a.g != b.g || a.b != b.b || a.a != b.a; }

void WritePieceSet(Core::File& file, const PieceSet& s) {
    Math::WriteFloats(file, {s.x, s.y, s.width, s.height, s.leftSplit, s.rightSplit, s.bottomSplit, s.topSplit});
}

void ReadPieceSet(Core::File& file, PieceSet& s) {
    Math::ReadFloats(file, s.x, s.y, s.width, s.height, s.leftSplit, s.rightSplit, s.bottomSplit, s.topSplit);
}

}  // namespace

TUN_DEFINE_CLASS_NAMED(GuiImage, "GUI::GuiImage");

GuiImage::GuiImage() = default;

GuiImage::GuiImage(const Core::String& skinBasePath, const Vector2D& size)
    : GuiImage(skinBasePath, skinBasePath.empty() ? std::vector<PieceSet>() : LoadSkinDescriptor(skinBasePath),
               size) {}

GuiImage::GuiImage(const Core::String& skinBasePath, std::vector<PieceSet> pieceSets, const Vector2D& size) {
    m_state.name = skinBasePath;
    if (m_state.name.empty()) {
        return;
    }
    m_state.width = size.x;
    m_state.height = size.y;
    UseSkin(std::move(pieceSets));
    ApplyPieceSet();
    MakeRenderers();
    LayoutPieces();
}

GuiImage::GuiImage(const Core::String& skinBasePath, const GuiImage& model)
    : GuiImage(skinBasePath, Vector2D(model.m_state.width, model.m_state.height)) {
    m_state.width = model.m_state.width;
    m_state.height = model.m_state.height;
    m_state.visible = model.m_state.visible;
    m_state.opacity = model.m_state.opacity;
    m_state.depth = model.m_state.depth;
    m_state.color = model.m_state.color;
    // Ignored past this skin's last piece set, which leaves set 0.
    SetPieceSet(model.m_state.pieceSet);
}

GuiImage::GuiImage(const GuiImage& other)
    : Core::Object(other), m_state(other.m_state), m_texture(other.m_texture), m_dirty(true) {
    if (!m_state.name.empty()) {
        MakeRenderers();
    }
}

Core::RefPtr<GuiImage> GuiImage::CloneWithSkin(const Core::String& skinBasePath) const {
    return Core::RefPtr<GuiImage>(TUN_NEW(GuiImage, skinBasePath, *this));
}

void GuiImage::UseSkin(std::vector<PieceSet> pieceSets) {
    // As many as a descriptor may give, so that the image streams back.
    if (pieceSets.size() > kMaxPieceSets) {
        pieceSets.resize(kMaxPieceSets);
    }
    m_state.pieceSets = std::move(pieceSets);
    m_texture = SkinTexture(m_state.name);
    m_state.textureWidth = m_texture ? static_cast<float>(m_texture->GetWidth()) : 0.0f;
    m_state.textureHeight = m_texture ? static_cast<float>(m_texture->GetHeight()) : 0.0f;
    m_dirty = true;
}

void GuiImage::MakeRenderers() {
    for (Core::RefPtr<ImageRenderContext>& renderer : m_renderers) {
        renderer = Core::RefPtr<ImageRenderContext>(TUN_NEW(ImageRenderContext));
    }
}

void GuiImage::ApplyPieceSet() {
    if (m_state.pieceSet >= m_state.pieceSets.size()) {
        return;
    }
    const PieceSet& s = m_state.pieceSets[m_state.pieceSet];
    // A piece set with a non-finite value cuts nothing: every piece stays
    // empty and is not drawn.
    if (!IsFinite(s)) {
        for (TRectangle& piece : m_state.pieces) {
            piece = TRectangle();
        }
        return;
    }
    State& st = m_state;
    st.leftBorder = s.leftSplit;
    st.rightBorder = s.width - s.rightSplit;
    st.topBorder = s.height - s.topSplit;
    st.bottomBorder = s.bottomSplit;
    const std::array<float, 3> widths{Clamp(st.leftBorder, st.width),
                                      Clamp(st.width - st.leftBorder - st.rightBorder, st.width),
                                      Clamp(st.rightBorder, st.width)};
    const std::array<float, 3> heights{Clamp(st.topBorder, st.height),
                                       Clamp(st.height - st.topBorder - st.bottomBorder, st.height),
                                       Clamp(st.bottomBorder, st.height)};
    // Column and row boundaries in texture units; rows from the top down.
    const float tw = st.textureWidth;
    const float th = st.textureHeight;
    const std::array<float, 4> u{s.x / tw, (s.x + s.leftSplit) / tw, (s.x + s.rightSplit) / tw, (s.x + s.width) / tw};
    const std::array<float, 4> v{(s.y + s.height) / th, (s.y + s.topSplit) / th, (s.y + s.bottomSplit) / th,
                                 s.y / th};
    for (std::size_t row = 0; row < 3; ++row) {
        for (std::size_t column = 0; column < 3; ++column) {
            TRectangle& piece = st.pieces[3 * row + column];
            piece.SetWidth(widths[column]);
            piece.SetHeight(heights[row]);
            const float low = v[row + 1];
            const float high = v[row];
            piece.SetTexCoord(0, {u[column], low});
            piece.SetTexCoord(1, {u[column + 1], low});
            piece.SetTexCoord(2, {u[column + 1], high});
            piece.SetTexCoord(3, {u[column], high});
        }
    }
}

void GuiImage::LayoutPieces() {
    const State& st = m_state;
    const std::array<float, 3> xs{st.position.x, st.position.x + st.leftBorder,
                                  st.position.x + st.width - st.rightBorder};
    const std::array<float, 3> ys{st.position.y + st.height - st.topBorder, st.position.y + st.bottomBorder,
                                  st.position.y};
    for (std::size_t row = 0; row < 3; ++row) {
        for (std::size_t column = 0; column < 3; ++column) {
            m_state.pieces[3 * row + column].SetPosition({xs[column], ys[row]});
        }
    }
}

void GuiImage::SetPieceSet(std::uint32_t index) {
    if (index >= GetPieceSetCount() || index == m_state.pieceSet) {
        return;
    }
    m_state.pieceSet = index;
    ApplyPieceSet();
    LayoutPieces();
    m_dirty = true;
}

void GuiImage::SetPosition(const Vector2D& position) {
    if (!IsFinite(position) || position == m_state.position) {
        return;
    }
    m_state.position = position;
    LayoutPieces();
    m_dirty = true;
}

void GuiImage::SetWidth(float width) {
    if (!std::isfinite(width) || width == m_state.width) {
        return;
    }
    m_state.width = width;
    ApplyPieceSet();
    LayoutPieces();
    m_dirty = true;
}

void GuiImage::SetHeight(float height) {
    if (!std::isfinite(height) || height == m_state.height) {
        return;
    }
    m_state.height = height;
    ApplyPieceSet();
    LayoutPieces();
    m_dirty = true;
}

void GuiImage::SetColor(const Color& color) {
    if (color != m_state.color) {
        m_state.color = color;
        m_dirty = true;
    }
}

void GuiImage::SetOpacity(float opacity) {
    if (opacity != m_state.opacity) {
        m_state.opacity = opacity;
        m_dirty = true;
    }
}

void GuiImage::SetDepth(float depth) {
    if (std::isfinite(depth) && depth != m_state.depth) {
        m_state.depth = depth;
        m_dirty = true;
    }
}

void GuiImage::Draw(const NRectangle& clip) {
    Graphics* graphics = Graphics::GetInstance();
    if (!m_state.visible || graphics == nullptr || m_state.pieceSets.empty() || !m_renderers[0]) {
        return;
    }
    if (!(clip == m_state.lastClip)) {
        m_state.lastClip = clip;
        m_dirty = true;
    }
    if (m_dirty) {
        graphics->Reset();
        graphics->SetClip(clip);
        graphics->SetDepth(m_state.depth);
        graphics->SetOpacity(m_state.opacity);
        graphics->SetColor(m_state.color);
        for (std::size_t i = 0; i < kPieceCount; ++i) {
            graphics->BuildImageQuad(*m_renderers[i], m_state.pieces[i], m_texture);
        }
        m_dirty = false;
    }
    for (std::size_t i = 0; i < kPieceCount; ++i) {
        if (m_state.pieces[i].IsValid() && IsFinite(m_state.pieces[i])) {
            Graphics::SubmitImage(m_renderers[i]);
        }
    }
}

void GuiImage::Save(Core::File& file) const {
    const State& st = m_state;
    file.WriteString(st.name);
    for (const TRectangle& piece : st.pieces) {
        piece.Write(file);
    }
    Math::WriteFloats(file, {st.leftBorder, st.rightBorder, st.topBorder, st.bottomBorder, st.textureWidth,
                             st.textureHeight});
    file.WriteU8(st.visible ? 1 : 0);
    file << st.color;
    Math::WriteFloats(file, {st.opacity, st.width, st.height, st.depth, st.position.x, st.position.y});
    file.WriteU32(m_state.pieceSet);
    file.WriteU32(GetPieceSetCount());
    for (const PieceSet& s : m_state.pieceSets) {
        WritePieceSet(file, s);
    }
    m_state.lastClip.Write(file);
}

void GuiImage::Load(Core::File& file) {
    State read = m_state;
    file.ReadString(read.name);
    for (TRectangle& piece : read.pieces) {
        piece.Read(file);
    }
    Math::ReadFloats(file, read.leftBorder, read.rightBorder, read.topBorder, read.bottomBorder, read.textureWidth,
                     read.textureHeight);
    file.ReadBool(read.visible);
    file >> read.color;
    Math::ReadFloats(file, read.opacity, read.width, read.height, read.depth, read.position.x, read.position.y);
    file.ReadU32(read.pieceSet);
    std::uint32_t count = 0;
    file.ReadU32(count);
    // Images come from descriptors, which never hold more.
    if (count > kMaxPieceSets) {
        file.SetFailed();
    }
    read.pieceSets.clear();
    for (std::uint32_t k = 0; k < count && !file.HasFailed(); ++k) {
        PieceSet s;
        ReadPieceSet(file, s);
        read.pieceSets.push_back(s);
    }
    read.lastClip.Read(file);
    if (file.HasFailed()) {
        return;
    }
    if (read.pieceSet >= read.pieceSets.size()) {
        read.pieceSet = 0;
    }
    m_state = std::move(read);
    m_texture = SkinTexture(m_state.name);
    MakeRenderers();
    m_dirty = true;
}

}  // namespace GUI
