#pragma once

#include "core/Core_RefPtr.h"
#include "engine/Engine_BitmapFont.h"
#include "engine/Engine_TextRenderContext.h"
#include "gui/GUI_ImageEffect.h"
#include "gui/GUI_NRectangle.h"
#include "gui/GUI_StringRenderContext.h"
#include "gui/GUI_TRectangle.h"
#include "math/Math_Color.h"
#include "renderer/Renderer_Effect.h"
#include "renderer/Renderer_ITexture.h"

#include <cstdint>
#include <string_view>

namespace Core {
class File;
}

namespace GUI {

// The GUI's drawing state and quad builders. The HUD owns the one instance;
// every drawer reaches it through GetInstance, calls Reset and sets what it
// needs before building its quads: the state is scratch, not the drawer's.
class Graphics {
public:
    // More glyphs than this in one label would wrap its 16-bit indices.
    static constexpr std::uint32_t kMaxGlyphQuads = 16384;

    // Becomes the current graphics object.
    Graphics();
    Graphics(const Graphics&) = delete;
    Graphics& operator=(const Graphics&) = delete;
    // Clears the current pointer when it is this one.
    ~Graphics();

    // Null when none lives.
    static Graphics* GetInstance();

    // The process-wide renderer's display size in pixels; 0 without a renderer.
    static float GetScreenWidth();
    static float GetScreenHeight();

    // Colour, clip (the full screen), depth, opacity, the line fields and the
    // three flags back to their defaults; effects, font and white texture stay.
    void Reset();

    void SetClip(const NRectangle& clip) { m_state.clip = clip; }
    const NRectangle& GetClip() const { return m_state.clip; }
    void SetDepth(float depth) { m_state.depth = depth; }
    float GetDepth() const { return m_state.depth; }
    // Replaces the alpha of the colour in every quad built next.
    void SetOpacity(float opacity) { m_state.opacity = opacity; }
    float GetOpacity() const { return m_state.opacity; }
    void SetColor(const Color& color) { m_state.color = color; }
    const Color& GetColor() const { return m_state.color; }
    // Image quads then use the linear image effect.
    void SetSmoothFiltering(bool smooth) { m_state.smoothFiltering = smooth; }
    bool GetSmoothFiltering() const { return m_state.smoothFiltering; }
    // Mirror the texture corners of image quads.
    void SetFlip(bool horizontal, bool vertical) {
        m_state.flipHorizontal = horizontal;
        m_state.flipVertical = vertical;
    }
    bool GetFlipHorizontal() const { return m_state.flipHorizontal; }
    bool GetFlipVertical() const { return m_state.flipVertical; }
    void SetFont(const Core::RefPtr<Engine::BitmapFont>& font) { m_font = font; }
    const Core::RefPtr<Engine::BitmapFont>& GetFont() const { return m_font; }

    const Core::RefPtr<ImageEffect>& GetImageEffect() const { return m_imageEffect; }
    const Core::RefPtr<ImageEffect>& GetSmoothImageEffect() const { return m_smoothImageEffect; }
    const Core::RefPtr<Renderer::Effect>& GetTexturedEffect() const { return m_texturedEffect; }
    const Core::RefPtr<Renderer::ITexture>& GetWhiteTexture() const { return m_whiteTexture; }

    // Fills the quad context with the rectangle clipped to the clip, in the
    // current colour, opacity and depth. Wholly clipped away: the context is
    // made invisible and nothing else changes. An image context also takes
    // the filter of the effect chosen.
    void BuildImageQuad(Engine::TextRenderContext& quad, const TRectangle& rectangle,
                        const Core::RefPtr<Renderer::ITexture>& texture);
    // Lays the text out from position (the first line's lower-left) as glyph
    // quads of the font, clipped to the clip. Text wholly outside the clip,
    // or no font, leaves the context empty and invisible.
    void DrawText(Engine::StringRenderContext& text, const Vector2D& position, std::string_view characters,
                  const Engine::BitmapFont* font);
    // Queue the context for this frame's screen-space pass when it is visible
    // and a render queue lives.
    static void SubmitImage(const Core::RefPtr<Engine::TextRenderContext>& quad);
    static void SubmitText(const Core::RefPtr<Engine::StringRenderContext>& text);

    // The drawing state and the font's name (empty without a font). Load
    // changes nothing when the stream fails, and takes the named font from
    // the fonts folder (none for the empty name).
    void Save(Core::File& file) const;
    void Load(Core::File& file);

    // Kept and saved for the line drawing no GUI part does yet.
    std::uint32_t GetLineFactor() const { return m_state.lineFactor; }
    std::uint16_t GetLinePattern() const { return m_state.linePattern; }
    bool GetLineFlag() const { return m_state.lineFlag; }

private:
    // What Reset restores (the clip to the full screen) and Save writes.
    struct DrawingState {
        Color color{1.0f, 1.0f, 1.0f, 1.0f};
        NRectangle clip;
        float depth = 0.0f;
        float opacity = 1.0f;
        std::uint32_t lineFactor = 1;
        std::uint16_t linePattern = 0xAAAA;
        bool lineFlag = false;
        bool flipHorizontal = false;
        bool flipVertical = false;
        bool smoothFiltering = false;
    };

    DrawingState m_state;
    Core::RefPtr<ImageEffect> m_imageEffect;
    Core::RefPtr<ImageEffect> m_smoothImageEffect;
    Core::RefPtr<Renderer::Effect> m_texturedEffect;
    Core::RefPtr<Engine::BitmapFont> m_font;
    Core::RefPtr<Renderer::ITexture> m_whiteTexture;
};

}  // namespace GUI
