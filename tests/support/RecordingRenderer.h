#pragma once

#include "renderer/Renderer_CachingRenderer.h"

#include <string>
#include <vector>

namespace testsupport {

// A renderer without a device for tests above the renderer: it keeps the
// OpenGL renderer's caches (the same code) and logs every call that would
// reach the device, as "DrawArrays 4 0 2", "SetTexture 1", "SetFogState".
// It makes itself the process-wide renderer (Renderer::GetRenderer) while
// it lives.
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

#define TUN_RECORD_STATE(Operation, Type)                   \
    void Operation(const Renderer::Type& state) override { \
        Record(#Operation);                                \
        CachingRenderer::Operation(state);                 \
    }
    TUN_RECORD_STATE(SetMaterial, Material)
    TUN_RECORD_STATE(SetNormalizeNormalsState, NormalizeNormalsState)
    TUN_RECORD_STATE(SetLightingState, LightingState)
    TUN_RECORD_STATE(SetTextureUnit7State, TexturingState)
    TUN_RECORD_STATE(SetTextureUnit6State, TexturingState)
    TUN_RECORD_STATE(SetTextureUnit5State, TexturingState)
    TUN_RECORD_STATE(SetTextureUnit4State, TexturingState)
    TUN_RECORD_STATE(SetTextureUnit3State, TexturingState)
    TUN_RECORD_STATE(SetTextureUnit2State, TexturingState)
    TUN_RECORD_STATE(SetTextureUnit1State, TexturingState)
    TUN_RECORD_STATE(SetTextureUnit0State, TexturingState)
    TUN_RECORD_STATE(SetLineState, LineState)
    TUN_RECORD_STATE(SetPointState, PointState)
    TUN_RECORD_STATE(SetDitheringState, DitheringState)
    TUN_RECORD_STATE(SetTriangleOffsetState, TriangleOffsetState)
    TUN_RECORD_STATE(SetStencilBufferState, StencilBufferState)
    TUN_RECORD_STATE(SetDepthBufferState, DepthBufferState)
    TUN_RECORD_STATE(SetShadingState, ShadingState)
    TUN_RECORD_STATE(SetFillingState, FillingState)
    TUN_RECORD_STATE(SetFogState, FogState)
    TUN_RECORD_STATE(SetCullingState, CullingState)
    TUN_RECORD_STATE(SetAlphaTestingState, AlphaTestingState)
    TUN_RECORD_STATE(SetAlphaBlendingState, AlphaBlendingState)
    TUN_RECORD_STATE(SetScissorState, ScissorState)
    TUN_RECORD_STATE(SetColorMaskState, ColorMaskState)
    TUN_RECORD_STATE(SetViewport, Viewport)
#undef TUN_RECORD_STATE

    void SetTexture(std::uint32_t unit, const Core::RefPtr<Renderer::ITexture>& texture) override;
    void SetLight(std::uint32_t index, const Core::RefPtr<Renderer::Light>& light) override;
    void StoreColor(const Color& value) override;
    void SetCurrentColor(const Color& color) override;
    void SetVertexArray(const float* vertices) override;
    void SetNormalArray(const float* normals) override;
    void SetColorArray(const float* colors) override;
    void SetSecondaryColorArray(const float* colors) override;
    void SetTexCoordArray(std::uint32_t unit, const float* coordinates) override;
    void SetIndexArray32(const std::uint32_t* indices) override;
    void SetIndexArray16(const std::uint16_t* indices) override;
    void SetPrimitiveType(std::int32_t type) override;
    void DrawIndexRange(std::int32_t first, std::int32_t last) override;
    void Draw(std::int32_t count) override;
    void DrawArrays(std::int32_t type, std::int32_t first, std::int32_t primitives) override;
    void DrawElements(std::int32_t type, std::int32_t first, std::int32_t count) override;
    void BindVertexBuffer(std::uint32_t slot, const Core::RefPtr<Renderer::Buffer>& buffer) override;
    void BindIndexBuffer(const Core::RefPtr<Renderer::Buffer>& buffer) override;
    void DrawSurface(const Core::RefPtr<Renderer::Surface>& surface, std::int32_t x, std::int32_t y, std::int32_t left,
                     std::int32_t top, std::int32_t right, std::int32_t bottom, bool flipX, bool flipY) override;
    void DrawRectangle(float x1, float y1, float x2, float y2) override;
    void SetLineStippleEnabled(bool enabled) override;
    void SetLineStipplePattern(std::uint16_t pattern) override;
    void SetLineStippleFactor(std::int32_t factor) override;
    void Present() override;
    void SetWorldMatrix(const Matrix4& matrix) override;
    void SetViewMatrix(const Matrix4& matrix) override;
    void SetProjectionMatrix(const Matrix4& matrix) override;
    void SetTextureMatrix(std::uint32_t unit, const Matrix4& matrix) override;
    void ClearColorBuffer(const Color& color) override;
    void ClearDepthBuffer(float depth) override;
    void ClearStencilBuffer(std::int32_t value) override;
    void ClearBuffers(const Color& color, float depth, std::int32_t stencil) override;
    void ReadPixels(std::uint8_t* buffer) override;
    void SetDisplaySettings(const Renderer::DisplaySettings& settings) override;
    void ToggleFullScreen() override;
    void SetVSyncEnabled(bool enabled) override;

private:
    void Record(std::string call) { m_calls.push_back(std::move(call)); }

    std::vector<std::string> m_calls;
};

}  // namespace testsupport
