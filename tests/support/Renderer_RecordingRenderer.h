#pragma once

#include "renderer/Renderer_CachingRenderer.h"

#include <initializer_list>
#include <string>
#include <vector>

namespace testsupport {

// A renderer without a device for tests above the renderer: it keeps the
// OpenGL renderer's caches (the same code) and logs every call that would
// reach the device with its integer arguments, as "DrawArrays 4 0 2",
// "SetTexture 1", "SetFogState". It makes itself the process-wide renderer
// (Renderer::GetRenderer) while it lives.
class RecordingRenderer : public Renderer::CachingRenderer {
public:
    // Multitexture is available when there is more than one unit.
    explicit RecordingRenderer(std::int32_t textureUnits = 8,
                               const Renderer::DisplaySettings& settings = DefaultSettings());

    static Renderer::DisplaySettings DefaultSettings();

    const std::vector<std::string>& Calls() const { return m_calls; }
    void ClearCalls() { m_calls.clear(); }
    // How often a call with exactly this text was logged.
    int Count(const std::string& call) const;
    // The OpenGL extensions the renderer claims (IsExtensionSupported reads them).
    void SetOpenGLExtensions(const Core::StringVector& names) { m_glExtensions = names; }

// Logs the call, then does what the caching renderer does. Parameters and
// Arguments are parenthesised lists; the logged arguments follow.
#define TUN_RECORD(Operation, Parameters, Arguments, ...) \
    void Operation Parameters override {                  \
        Record(#Operation, {__VA_ARGS__});                \
        CachingRenderer::Operation Arguments;             \
    }
#define TUN_RECORD_STATE(Type) TUN_RECORD(Set##Type, (const Renderer::Type& state), (state))
#define TUN_RECORD_UNIT(unit) TUN_RECORD(SetTextureUnit##unit##State, (const Renderer::TexturingState& state), (state))
    TUN_RECORD_STATE(Material) TUN_RECORD_STATE(NormalizeNormalsState) TUN_RECORD_STATE(LightingState)
    TUN_RECORD_UNIT(7) TUN_RECORD_UNIT(6) TUN_RECORD_UNIT(5) TUN_RECORD_UNIT(4)
    TUN_RECORD_UNIT(3) TUN_RECORD_UNIT(2) TUN_RECORD_UNIT(1) TUN_RECORD_UNIT(0)
    TUN_RECORD_STATE(LineState) TUN_RECORD_STATE(PointState) TUN_RECORD_STATE(DitheringState)
    TUN_RECORD_STATE(TriangleOffsetState) TUN_RECORD_STATE(StencilBufferState) TUN_RECORD_STATE(DepthBufferState)
    TUN_RECORD_STATE(ShadingState) TUN_RECORD_STATE(FillingState) TUN_RECORD_STATE(FogState)
    TUN_RECORD_STATE(CullingState) TUN_RECORD_STATE(AlphaTestingState) TUN_RECORD_STATE(AlphaBlendingState)
    TUN_RECORD_STATE(ScissorState) TUN_RECORD_STATE(ColorMaskState) TUN_RECORD_STATE(Viewport)
    TUN_RECORD_STATE(DisplaySettings)
#undef TUN_RECORD_UNIT
#undef TUN_RECORD_STATE

    TUN_RECORD(SetTexture, (std::uint32_t unit, const Core::RefPtr<Renderer::ITexture>& texture), (unit, texture),
               unit)
    TUN_RECORD(SetLight, (std::uint32_t index, const Core::RefPtr<Renderer::Light>& light), (index, light), index)
    TUN_RECORD(StoreColor, (const Color& value), (value))
    TUN_RECORD(SetCurrentColor, (const Color& color), (color))
    TUN_RECORD(SetVertexArray, (const float* vertices), (vertices))
    TUN_RECORD(SetNormalArray, (const float* normals), (normals))
    TUN_RECORD(SetColorArray, (const float* colors), (colors))
    TUN_RECORD(SetSecondaryColorArray, (const float* colors), (colors))
    TUN_RECORD(SetTexCoordArray, (std::uint32_t unit, const float* coordinates), (unit, coordinates), unit)
    TUN_RECORD(SetIndexArray32, (const std::uint32_t* indices), (indices))
    TUN_RECORD(SetIndexArray16, (const std::uint16_t* indices), (indices))
    TUN_RECORD(SetPrimitiveType, (std::int32_t type), (type), type)
    TUN_RECORD(DrawIndexRange, (std::int32_t first, std::int32_t last), (first, last), first, last)
    TUN_RECORD(Draw, (std::int32_t count), (count), count)
    TUN_RECORD(DrawArrays, (std::int32_t type, std::int32_t first, std::int32_t primitives),
               (type, first, primitives), type, first, primitives)
    TUN_RECORD(DrawElements, (std::int32_t type, std::int32_t first, std::int32_t count), (type, first, count),
               type, first, count)
    TUN_RECORD(FlushCommands, (), ())
    TUN_RECORD(BindVertexBuffer, (std::uint32_t slot, const Core::RefPtr<Renderer::Buffer>& buffer),
               (slot, buffer), slot)
    TUN_RECORD(BindIndexBuffer, (const Core::RefPtr<Renderer::Buffer>& buffer), (buffer))
    TUN_RECORD(DrawSurface,
               (const Core::RefPtr<Renderer::Surface>& surface, std::int32_t x, std::int32_t y, std::int32_t left,
                std::int32_t top, std::int32_t right, std::int32_t bottom, bool flipX, bool flipY),
               (surface, x, y, left, top, right, bottom, flipX, flipY), x, y, left, top, right, bottom, flipX, flipY)
    TUN_RECORD(DrawRectangle, (float x1, float y1, float x2, float y2), (x1, y1, x2, y2))
    TUN_RECORD(SetLineStippleEnabled, (bool enabled), (enabled), enabled)
    TUN_RECORD(SetLineStipplePattern, (std::uint16_t pattern), (pattern), pattern)
    TUN_RECORD(SetLineStippleFactor, (std::int32_t factor), (factor), factor)
    TUN_RECORD(Present, (), ())
    TUN_RECORD(SetWorldMatrix, (const Matrix4& matrix), (matrix))
    TUN_RECORD(SetViewMatrix, (const Matrix4& matrix), (matrix))
    TUN_RECORD(SetProjectionMatrix, (const Matrix4& matrix), (matrix))
    TUN_RECORD(SetTextureMatrix, (std::uint32_t unit, const Matrix4& matrix), (unit, matrix), unit)
    TUN_RECORD(ClearColorBuffer, (const Color& color), (color))
    TUN_RECORD(ClearDepthBuffer, (float depth), (depth))
    TUN_RECORD(ClearStencilBuffer, (std::int32_t value), (value), value)
    TUN_RECORD(ClearBuffers, (const Color& color, float depth, std::int32_t stencil), (color, depth, stencil),
               stencil)
    TUN_RECORD(ReadPixels, (std::uint8_t * buffer), (buffer))
    TUN_RECORD(ToggleFullScreen, (), ())
    TUN_RECORD(SetVSyncEnabled, (bool enabled), (enabled), enabled)
#undef TUN_RECORD

private:
    void Record(const char* name, std::initializer_list<long long> arguments);

    std::vector<std::string> m_calls;
};

}  // namespace testsupport
