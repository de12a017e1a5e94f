#pragma once

#include "core/Core_Object.h"
#include "core/Core_RefPtr.h"
#include "core/Core_String.h"
#include "engine/Engine_TextRenderContext.h"
#include "math/Math_Vector2D.h"
#include "renderer/Renderer_ITexture.h"

namespace GUI {

// One cursor image, drawn 32 x 32 whatever its size, in front of every other
// GUI quad. The offset is the point of the image that sits on the mouse.
class Cursor : public Core::Object {
    TUN_DECLARE_CLASS(Cursor);

    static constexpr float kSize = 32.0f;

    // No file, offset (0, 0): the shell Load fills.
    Cursor();
    // The image at that full path (mipmapped).
    explicit Cursor(const Core::String& imagePath);
    // The same image and offset with a quad of its own.
    Cursor(const Cursor& other);
    Cursor& operator=(const Cursor&) = delete;

    void SetOffset(const Vector2D& offset) { m_offset = offset; }
    const Vector2D& GetOffset() const { return m_offset; }
    const Core::String& GetFileName() const { return m_fileName; }
    const Core::RefPtr<Renderer::ITexture>& GetTexture() const { return m_texture; }
    const Core::RefPtr<Engine::TextRenderContext>& GetRenderer() const { return m_renderer; }

    // Queues the quad with the image's lower-left corner at mouse - offset;
    // nothing without the GUI graphics object or when it lies off screen.
    void Draw(const Vector2D& mouse);

    // Offset and file name; Load fetches the image again. A failed read
    // changes nothing.
    void Save(Core::File& file) const override;
    void Load(Core::File& file) override;

private:
    void FetchTexture();

    Vector2D m_offset;
    Core::String m_fileName;
    Core::RefPtr<Renderer::ITexture> m_texture;
    Core::RefPtr<Engine::TextRenderContext> m_renderer;
};

// The toolkit's arrow ("Arrow.png" of the cursors folder) with its tip, the
// image's upper-left corner, on the mouse point.
Core::RefPtr<Cursor> MakeArrowCursor();

}  // namespace GUI
