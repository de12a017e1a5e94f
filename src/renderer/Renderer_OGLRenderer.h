#pragma once

#include "core/Core_RefPtr.h"
#include "core/Core_String.h"
#include "renderer/Renderer_AdapterInformation.h"
#include "renderer/Renderer_CachingRenderer.h"
#include "renderer/Renderer_DeviceSwitches.h"
#include "renderer/Renderer_ErrorLog.h"
#include "renderer/Renderer_RenderingContext.h"

#include <GL/gl.h>

#include <cstdint>

namespace Renderer {

// The fixed-function OpenGL renderer. Construction switches to the
// full-screen mode when one is wanted and the display accepts it (else the
// renderer stays in a window and clears the flag), gives the window its
// pixel format, makes the context, reads the driver's extensions and
// capabilities, sets the fixed OpenGL settings and sends every cached render
// state, so that the cache and OpenGL agree from the first frame (a texture
// unit's state goes with its first texture). Every Set operation caches and
// applies at once, without comparing with the cache; only on/off switches and
// unit selections that OpenGL already holds as asked are left out. A renderer made while
// another lives (replaced in place) takes the texture cache over.
// Destruction touches only what the renderer owns: the cache when it still
// owns it, its OpenGL objects, its context (let go only when current, so a
// newer renderer's stays current), then the desktop mode.
class OGLRenderer : public CachingRenderer {
public:
    explicit OGLRenderer(const DisplaySettings& settings);
    ~OGLRenderer() override;

    void SetMaterial(const Material& state) override;
    void SetNormalizeNormalsState(const NormalizeNormalsState& state) override;
    void SetLightingState(const LightingState& state) override;
    void SetTextureUnit7State(const TexturingState& state) override;
    void SetTextureUnit6State(const TexturingState& state) override;
    void SetTextureUnit5State(const TexturingState& state) override;
    void SetTextureUnit4State(const TexturingState& state) override;
    void SetTextureUnit3State(const TexturingState& state) override;
    void SetTextureUnit2State(const TexturingState& state) override;
    void SetTextureUnit1State(const TexturingState& state) override;
    void SetTextureUnit0State(const TexturingState& state) override;
    void SetLineState(const LineState& state) override;
    void SetPointState(const PointState& state) override;
    void SetDitheringState(const DitheringState& state) override;
    void SetTriangleOffsetState(const TriangleOffsetState& state) override;
    void SetStencilBufferState(const StencilBufferState& state) override;
    void SetDepthBufferState(const DepthBufferState& state) override;
    void SetShadingState(const ShadingState& state) override;
    void SetFillingState(const FillingState& state) override;
    void SetFogState(const FogState& state) override;
    void SetCullingState(const CullingState& state) override;
    void SetAlphaTestingState(const AlphaTestingState& state) override;
    void SetAlphaBlendingState(const AlphaBlendingState& state) override;
    void SetScissorState(const ScissorState& state) override;
    void SetColorMaskState(const ColorMaskState& state) override;

    void SetTexture(std::uint32_t unit, const Core::RefPtr<ITexture>& texture) override;
    void SetLight(std::uint32_t index, const Core::RefPtr<Light>& light) override;
    void SetCurrentColor(const Color& color) override;

    void SetVertexArray(const float* vertices) override;
    void SetNormalArray(const float* normals) override;
    void SetColorArray(const float* colors) override;
    void SetSecondaryColorArray(const float* colors) override;
    void SetTexCoordArray(std::uint32_t unit, const float* coordinates) override;

    void DrawIndexRange(std::int32_t first, std::int32_t last) override;
    void Draw(std::int32_t count) override;
    void DrawArrays(std::int32_t type, std::int32_t first, std::int32_t primitives) override;
    void DrawElements(std::int32_t type, std::int32_t first, std::int32_t count) override;
    void FlushCommands() override;
    void DrawRectangle(float x1, float y1, float x2, float y2) override;

    void SetLineStippleEnabled(bool enabled) override;
    void SetLineStipplePattern(std::uint16_t pattern) override;
    void SetLineStippleFactor(std::int32_t factor) override;

    void Present() override;

    void SetViewport(const Viewport& viewport) override;
    // Read back from OpenGL.
    Viewport GetViewport() const override;
    void SetWorldMatrix(const Matrix4& matrix) override;
    void SetViewMatrix(const Matrix4& matrix) override;
    void SetProjectionMatrix(const Matrix4& matrix) override;
    void SetTextureMatrix(std::uint32_t unit, const Matrix4& matrix) override;

    void ClearColorBuffer(const Color& color) override;
    void ClearDepthBuffer(float depth) override;
    void ClearStencilBuffer(std::int32_t value) override;
    void ClearBuffers(const Color& color, float depth, std::int32_t stencil) override;
    void ReadPixels(std::uint8_t* buffer) override;

    void ToggleFullScreen() override;
    void SetVSyncEnabled(bool enabled) override;

    const Core::StringVector& GetWGLExtensions() const { return m_wglExtensions; }

private:
    void FillExtensionLists();
    void WriteInformationFile() const;
    void DetectCapabilities();
    // Vertical sync as the settings say, where the driver lets it be set.
    void SetVSync();
    void ApplyFixedSettings();
    // The cache's render states, line stipple and current colour to OpenGL.
    void SendCachedStates();
    // glActiveTextureARB for the unit when the unit can be selected.
    void SelectDeviceUnit(std::uint32_t unit);
    void ApplyTextureUnitState(std::uint32_t unit);
    void ApplyLight(std::uint32_t index);
    void LoadModelView();
    // count elements from position first: indexed when an index array is set.
    void DrawElementRange(std::int32_t first, std::int32_t count);
    void GoWindowed();
    void GoFullScreen();

    AdapterInformation m_adapter;
    ErrorLog m_errorLog;
    std::int32_t m_savedWindowX = 0;
    std::int32_t m_savedWindowY = 0;
    Core::StringVector m_gluExtensions;
    Core::StringVector m_wglExtensions;
    Core::RefPtr<RenderingContext> m_context;
    DeviceSwitches m_switches;
};

}  // namespace Renderer
