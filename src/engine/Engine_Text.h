#pragma once

#include "core/Core_RefPtr.h"
#include "core/Core_String.h"
#include "engine/Engine_BitmapFont.h"
#include "engine/Engine_Mesh.h"
#include "engine/Engine_Node.h"
#include "engine/Engine_TextLayout.h"
#include "math/Math_Color.h"
#include "math/Math_Vector2D.h"
#include "renderer/Renderer_Effect.h"

namespace Engine {

// A leaf that shows a string in a bitmap font. A draw lays the string out
// into the text's own mesh when the string or the font differs from the last
// layout (a font does not change once loaded), and queues it with the font's
// texture, placed by the parent's world matrix (a text has no transform of
// its own).
// Red, green and blue of the colour are drawn, with the opacity as alpha.
//
// A text draws only with a font, and never when its screen flag is set: the
// flag only picks the text effect over the textured one. Texts drawn in
// window pixels are HUD objects instead (SetHUDObject).
class Text : public Node {
    TUN_DECLARE_CLASS(Text);

    // The empty string, screen flag clear.
    Text();
    Text(const Core::String& text, bool screenFlag);
    // Shares the font and the effect; the mesh is the text's own copy.
    Text(const Text& other);
    Text& operator=(const Text&) = delete;

    // After the node part: the string, the font's name relative to the
    // resources (empty without a font), colour, opacity, offset, screen flag
    // and the four kept values.
    void Save(Core::File& file) const override;
    // The font comes from the font cache by the stored name, resolved
    // against this installation's resources; the effect is a new one.
    void Load(Core::File& file) override;

    void SetText(const Core::String& text) { m_text = text; }
    const Core::String& GetText() const { return m_text; }
    void SetFont(const Core::RefPtr<BitmapFont>& font) { m_font = font; }
    const Core::RefPtr<BitmapFont>& GetFont() const { return m_font; }
    void SetColor(const Color& color) { m_color = color; }
    const Color& GetColor() const { return m_color; }
    void SetOpacity(float opacity) { m_opacity = opacity; }
    float GetOpacity() const { return m_opacity; }
    bool GetScreenFlag() const { return m_screenFlag; }
    const Core::RefPtr<Mesh>& GetMesh() const { return m_mesh; }
    const Core::RefPtr<Renderer::Effect>& GetEffect() const { return m_effect; }

    // The update callback and nothing else: no controllers, no world matrix
    // of its own, no bounding volume.
    void Update(float dt) override;
    // Lays out and queues the string unless it is hidden, empty, flagged for
    // screen, font-less, all blanks, or (not being a HUD object) wholly
    // outside the current view.
    void DrawSelf() override;
    void DrawTree() override { DrawSelf(); }

private:
    static Core::RefPtr<Renderer::Effect> CreateEffect(bool screenFlag);
    Matrix4 ParentWorld() const;

    Core::String m_text;
    Core::RefPtr<Mesh> m_mesh;
    Core::RefPtr<BitmapFont> m_font;
    Color m_color{1.0f, 1.0f, 1.0f, 1.0f};
    float m_opacity = 1.0f;
    // Kept, copied and stored; drawing ignores it.
    Vector2D m_offset;
    bool m_screenFlag;
    // Kept, copied and stored in this order; drawing ignores them.
    float m_valueA = 0.0f;
    float m_valueB = 0.0f;
    Core::RefPtr<Renderer::Effect> m_effect;
    float m_valueC = 1.0f;
    float m_valueD = 0.0f;
    // What the mesh holds: the layout of this string in this font (none yet
    // while the font is null).
    Core::String m_laidOutText;
    Core::RefPtr<BitmapFont> m_laidOutFont;
    TextExtent m_laidOutExtent;
};

}  // namespace Engine
