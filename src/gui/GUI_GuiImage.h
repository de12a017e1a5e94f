#pragma once

#include "core/Core_Object.h"
#include "core/Core_RefPtr.h"
#include "core/Core_String.h"
#include "gui/GUI_ImageRenderContext.h"
#include "gui/GUI_NRectangle.h"
#include "gui/GUI_SkinDescriptor.h"
#include "gui/GUI_TRectangle.h"
#include "math/Math_Color.h"
#include "math/Math_Vector2D.h"
#include "renderer/Renderer_ITexture.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace GUI {

// A skin on screen: one piece set of the skin cut into a 3 x 3 grid whose
// corners keep their size while the edges and the centre stretch to the
// image's size, laid out from its lower-left position. Quads are rebuilt
// only when something changed or the clip moved.
//
// An image whose descriptor lists no piece set draws nothing. A piece whose
// numbers are not finite is not drawn.
class GuiImage : public Core::Object {
    TUN_DECLARE_CLASS(GuiImage);

    static constexpr std::size_t kPieceCount = 9;
    // Piece indices, row by row from the top.
    static constexpr std::size_t kTopLeft = 0;
    static constexpr std::size_t kTop = 1;
    static constexpr std::size_t kTopRight = 2;
    static constexpr std::size_t kLeft = 3;
    static constexpr std::size_t kCenter = 4;
    static constexpr std::size_t kRight = 5;
    static constexpr std::size_t kBottomLeft = 6;
    static constexpr std::size_t kBottom = 7;
    static constexpr std::size_t kBottomRight = 8;

    // An empty shell of size 32 x 32 that Load fills.
    GuiImage();
    // Loads the skin at skinBasePath ("<path>.gui" and "<path>.png"), piece
    // set 0, at (0, 0). The empty path reads nothing.
    GuiImage(const Core::String& skinBasePath, const Vector2D& size);
    // The same with the piece sets given (a descriptor already parsed); only
    // the texture is fetched.
    GuiImage(const Core::String& skinBasePath, std::vector<PieceSet> pieceSets, const Vector2D& size);
    // Loads another skin with the model's size, colour, opacity, visibility,
    // depth and piece set (0 when the new skin has fewer); at (0, 0).
    GuiImage(const Core::String& skinBasePath, const GuiImage& model);
    // The same state with renderers of its own.
    GuiImage(const GuiImage& other);
    GuiImage& operator=(const GuiImage&) = delete;

    // A new image of another skin keeping this one's visual state.
    Core::RefPtr<GuiImage> CloneWithSkin(const Core::String& skinBasePath) const;

    // Ignored for an index past the last piece set or equal to the current one.
    void SetPieceSet(std::uint32_t index);
    std::uint32_t GetPieceSet() const { return m_state.pieceSet; }
    std::uint32_t GetPieceSetCount() const { return static_cast<std::uint32_t>(m_state.pieceSets.size()); }
    const std::vector<PieceSet>& GetPieceSets() const { return m_state.pieceSets; }

    // Setters change nothing for an equal value; sizes, position and depth
    // ignore values that are not finite.
    void SetPosition(const Vector2D& position);
    const Vector2D& GetPosition() const { return m_state.position; }
    void SetWidth(float width);
    void SetHeight(float height);
    float GetWidth() const { return m_state.width; }
    float GetHeight() const { return m_state.height; }
    void SetColor(const Color& color);
    const Color& GetColor() const { return m_state.color; }
    void SetOpacity(float opacity);
    float GetOpacity() const { return m_state.opacity; }
    void SetDepth(float depth);
    float GetDepth() const { return m_state.depth; }
    // Does not mark the quads for rebuilding.
    void SetVisible(bool visible) { m_state.visible = visible; }
    bool IsVisible() const { return m_state.visible; }

    // Rebuilds the quads when needed, clipped to clip, and submits every
    // valid piece. Nothing without the GUI graphics object.
    void Draw(const NRectangle& clip);

    // The name (the skin base path), the laid-out pieces with their texture
    // corners, the piece sets and the state; Load fetches the texture again
    // and keeps the stored layout. A failed read changes nothing; a stored
    // piece set past the last one becomes 0.
    void Save(Core::File& file) const override;
    void Load(Core::File& file) override;

    const Core::String& GetName() const { return m_state.name; }
    // Indices past the last piece give the centre.
    const TRectangle& GetPiece(std::size_t index) const {
        return m_state.pieces[index < kPieceCount ? index : kCenter];
    }
    const Core::RefPtr<ImageRenderContext>& GetRenderer(std::size_t index) const {
        return m_renderers[index < kPieceCount ? index : kCenter];
    }
    const Core::RefPtr<Renderer::ITexture>& GetTexture() const { return m_texture; }
    float GetTextureWidth() const { return m_state.textureWidth; }
    float GetTextureHeight() const { return m_state.textureHeight; }
    float GetLeftBorder() const { return m_state.leftBorder; }
    float GetRightBorder() const { return m_state.rightBorder; }
    float GetTopBorder() const { return m_state.topBorder; }
    float GetBottomBorder() const { return m_state.bottomBorder; }
    bool IsDirty() const { return m_dirty; }
    const NRectangle& GetLastClip() const { return m_state.lastClip; }

private:
    // Takes the piece sets and fetches the texture of the name.
    void UseSkin(std::vector<PieceSet> pieceSets);
    void MakeRenderers();
    // Borders, piece sizes and texture corners of the selected piece set.
    void ApplyPieceSet();
    // Piece positions from the position and the borders.
    void LayoutPieces();

    // Everything Save writes.
    struct State {
        Core::String name;
        std::array<TRectangle, kPieceCount> pieces{};
        float leftBorder = 0.0f;
        float rightBorder = 0.0f;
        float topBorder = 0.0f;
        float bottomBorder = 0.0f;
        float textureWidth = 0.0f;
        float textureHeight = 0.0f;
        bool visible = true;
        Color color{1.0f, 1.0f, 1.0f, 1.0f};
        float opacity = 1.0f;
        float width = 32.0f;
        float height = 32.0f;
        float depth = 0.0f;
        Vector2D position;
        std::uint32_t pieceSet = 0;
        std::vector<PieceSet> pieceSets;
        NRectangle lastClip;
    };

    State m_state;
    Core::RefPtr<Renderer::ITexture> m_texture;
    std::array<Core::RefPtr<ImageRenderContext>, kPieceCount> m_renderers;
    bool m_dirty = true;
};

}  // namespace GUI
