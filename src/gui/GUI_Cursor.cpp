#include "gui/GUI_Cursor.h"

#include "core/Core_File.h"
#include "gui/GUI_Graphics.h"
#include "gui/GUI_ResourcePaths.h"
#include "gui/GUI_TRectangle.h"
#include "renderer/Renderer_TextureManager.h"

#include <limits>

namespace GUI {

TUN_DEFINE_CLASS_NAMED(Cursor, "GUI::Cursor");

Cursor::Cursor() : m_renderer(TUN_NEW(Engine::TextRenderContext)) {}

Cursor::Cursor(const Core::String& imagePath) : m_fileName(imagePath), m_renderer(TUN_NEW(Engine::TextRenderContext)) {
    FetchTexture();
}

Cursor::Cursor(const Cursor& other)
    : Core::Object(other), m_offset(other.m_offset), m_fileName(other.m_fileName), m_texture(other.m_texture),
      m_renderer(TUN_NEW(Engine::TextRenderContext)) {}

void Cursor::FetchTexture() { m_texture = TextureManager::GetTexture(m_fileName, true); }

void Cursor::Draw(const Vector2D& mouse) {
    Graphics* graphics = Graphics::GetInstance();
    if (graphics == nullptr) {
        return;
    }
    graphics->Reset();
    // In front of every other GUI quad.
    graphics->SetDepth(std::numeric_limits<float>::max());
    // The whole image at the cursor's size, whatever the image's size.
    const TRectangle quad(mouse.x - m_offset.x, mouse.y - m_offset.y, kSize, kSize);
    graphics->BuildImageQuad(*m_renderer, quad, m_texture);
    Graphics::SubmitImage(m_renderer);
}

void Cursor::Save(Core::File& file) const {
    file << m_offset;
    file.WriteString(m_fileName);
}

void Cursor::Load(Core::File& file) {
    Vector2D offset = m_offset;
    Core::String fileName = m_fileName;
    file >> offset;
    file.ReadString(fileName);
    if (file.HasFailed()) {
        return;
    }
    m_offset = offset;
    m_fileName = fileName;
    FetchTexture();
    m_renderer = Core::RefPtr<Engine::TextRenderContext>(TUN_NEW(Engine::TextRenderContext));
}

Core::RefPtr<Cursor> MakeArrowCursor() {
    Core::RefPtr<Cursor> arrow(TUN_NEW(Cursor, GetCursorFilePath("Arrow.png")));
    arrow->SetOffset({0.0f, 32.0f});
    return arrow;
}

}  // namespace GUI
