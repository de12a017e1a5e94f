#pragma once

#include "core/Core_RefPtr.h"
#include "core/Core_String.h"
#include "engine/Engine_UnregisteredClass.h"
#include "math/Math_Color.h"
#include "renderer/Renderer_IRenderer.h"
#include "renderer/Renderer_ITexture.h"
#include "renderer/Renderer_ScissorState.h"
#include "renderer/Renderer_Viewport.h"

#include <cstdint>

namespace Engine {

// A rectangle of the window (pixels from the lower left) with a clear
// colour and an optional background image. For one scene render it owns the
// renderer's viewport and scissor box and puts them back afterwards.
class Viewport : public Core::Object {
    TUN_DECLARE_UNREGISTERED_CLASS(Viewport);

    Viewport(std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height);

    std::int32_t GetX() const { return m_x; }
    std::int32_t GetY() const { return m_y; }
    std::int32_t GetWidth() const { return m_width; }
    std::int32_t GetHeight() const { return m_height; }
    void SetClearColor(const Color& color) { m_clearColor = color; }
    const Color& GetClearColor() const { return m_clearColor; }
    // The cached texture of the file, stretched over the rectangle.
    void SetBackground(const Core::String& fileName);
    const Core::RefPtr<Renderer::ITexture>& GetBackground() const { return m_background; }

    // Saves the renderer's viewport and scissor, then sets the rectangle
    // with the scissor test on.
    void Apply(Renderer::IRenderer& renderer);
    void Restore(Renderer::IRenderer& renderer) const;
    // Colour, depth (1) and stencil (0).
    void Clear(Renderer::IRenderer& renderer) const;
    void ClearColorOnly(Renderer::IRenderer& renderer) const;
    // Queues the background over the rectangle; nothing without one.
    void DrawBackground() const;

private:
    std::int32_t m_x;
    std::int32_t m_y;
    std::int32_t m_width;
    std::int32_t m_height;
    Color m_clearColor{0.0f, 0.0f, 0.0f, 1.0f};
    Renderer::Viewport m_savedViewport;
    Renderer::ScissorState m_savedScissor;
    Core::RefPtr<Renderer::ITexture> m_background;
};

}  // namespace Engine
