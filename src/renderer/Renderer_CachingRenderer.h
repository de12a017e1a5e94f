#pragma once

#include "core/Core_RefPtrVector.h"
#include "core/Core_String.h"
#include "renderer/Renderer_IRenderer.h"
#include "renderer/Renderer_RasterCommand.h"

#include <array>
#include <cstdint>

namespace Renderer {

// The renderer's cached half: every value the Set operations store and the
// Get operations answer, with the bookkeeping around them (active texture
// unit, model-view product, buffer binding, the overlay queue), and no
// device. Set operations here only cache; a renderer with a device
// overrides them, calls them first and then applies the cached values. On
// its own it is a renderer that draws nothing.
class CachingRenderer : public IRenderer {
public:
    explicit CachingRenderer(const DisplaySettings& settings);
    ~CachingRenderer() override;
    CachingRenderer(const CachingRenderer&) = delete;
    CachingRenderer& operator=(const CachingRenderer&) = delete;

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

    void GetMaterial(Material& state) const override;
    void GetNormalizeNormalsState(NormalizeNormalsState& state) const override;
    void GetLightingState(LightingState& state) const override;
    void GetTextureUnit7State(TexturingState& state) const override;
    void GetTextureUnit6State(TexturingState& state) const override;
    void GetTextureUnit5State(TexturingState& state) const override;
    void GetTextureUnit4State(TexturingState& state) const override;
    void GetTextureUnit3State(TexturingState& state) const override;
    void GetTextureUnit2State(TexturingState& state) const override;
    void GetTextureUnit1State(TexturingState& state) const override;
    void GetTextureUnit0State(TexturingState& state) const override;
    void GetLineState(LineState& state) const override;
    void GetPointState(PointState& state) const override;
    void GetDitheringState(DitheringState& state) const override;
    void GetTriangleOffsetState(TriangleOffsetState& state) const override;
    void GetStencilBufferState(StencilBufferState& state) const override;
    void GetDepthBufferState(DepthBufferState& state) const override;
    void GetShadingState(ShadingState& state) const override;
    void GetFillingState(FillingState& state) const override;
    void GetFogState(FogState& state) const override;
    void GetCullingState(CullingState& state) const override;
    void GetAlphaTestingState(AlphaTestingState& state) const override;
    void GetAlphaBlendingState(AlphaBlendingState& state) const override;
    void GetScissorState(ScissorState& state) const override;
    void GetColorMaskState(ColorMaskState& state) const override;

    void SetTexture(std::uint32_t unit, const Core::RefPtr<ITexture>& texture) override;
    Core::RefPtr<ITexture> GetTexture(std::uint32_t unit) const override;
    void SetLight(std::uint32_t index, const Core::RefPtr<Light>& light) override;
    Core::RefPtr<Light> GetLight(std::uint32_t index) const override;

    void StoreColor(const Color& value) override;
    void SetCurrentColor(const Color& color) override;
    Color GetCurrentColor() const override;

    void SetVertexArray(const float* vertices) override;
    void SetNormalArray(const float* normals) override;
    void SetColorArray(const float* colors) override;
    void SetSecondaryColorArray(const float* colors) override;
    void SetTexCoordArray(std::uint32_t unit, const float* coordinates) override;
    void SetIndexArray32(const std::uint32_t* indices) override;
    void SetIndexArray16(const std::uint16_t* indices) override;

    void SetPrimitiveType(std::int32_t type) override;
    std::int32_t GetPrimitiveType() const override;
    void DrawIndexRange(std::int32_t first, std::int32_t last) override;
    void Draw(std::int32_t count) override;
    void DrawArrays(std::int32_t type, std::int32_t first, std::int32_t primitives) override;
    void DrawElements(std::int32_t type, std::int32_t first, std::int32_t count) override;
    void FlushCommands() override {}

    void BindVertexBuffer(std::uint32_t slot, const Core::RefPtr<Buffer>& buffer) override;
    void BindIndexBuffer(const Core::RefPtr<Buffer>& buffer) override;

    void DrawSurface(const Core::RefPtr<Surface>& surface, std::int32_t x, std::int32_t y, std::int32_t left,
                     std::int32_t top, std::int32_t right, std::int32_t bottom, bool flipX, bool flipY) override;
    void DrawRectangle(float x1, float y1, float x2, float y2) override;

    void SetLineStippleEnabled(bool enabled) override;
    bool IsLineStippleEnabled() const override;
    void SetLineStipplePattern(std::uint16_t pattern) override;
    std::uint16_t GetLineStipplePattern() const override;
    void SetLineStippleFactor(std::int32_t factor) override;
    std::int32_t GetLineStippleFactor() const override;

    // Empties the overlay queue (nothing is drawn here).
    void Present() override;

    void SetViewport(const Viewport& viewport) override;
    Viewport GetViewport() const override;
    void SetWorldMatrix(const Matrix4& matrix) override;
    const Matrix4& GetWorldMatrix() const override;
    void SetViewMatrix(const Matrix4& matrix) override;
    const Matrix4& GetViewMatrix() const override;
    void SetProjectionMatrix(const Matrix4& matrix) override;
    const Matrix4& GetProjectionMatrix() const override;
    void SetTextureMatrix(std::uint32_t unit, const Matrix4& matrix) override;
    Matrix4 GetTextureMatrix(std::uint32_t unit) const override;

    bool Project(Vector3D& out, const Vector3D& point) const override;
    bool Unproject(Vector3D& out, const Vector3D& point) const override;
    void ClearColorBuffer(const Color& color) override;
    void ClearDepthBuffer(float depth) override;
    void ClearStencilBuffer(std::int32_t value) override;
    void ClearBuffers(const Color& color, float depth, std::int32_t stencil) override;
    void ReadPixels(std::uint8_t* buffer) override;

    void SetDisplaySettings(const DisplaySettings& settings) override;
    DisplaySettings GetDisplaySettings() const override;
    std::array<std::uint32_t, 3> GetDefaultTriple() const override;

    // Switches the full-screen flag only.
    void ToggleFullScreen() override;
    void SetVSyncEnabled(bool enabled) override;
    bool GetVSyncEnabled() const override;

    bool IsMultitextureAvailable() const { return m_multitexture; }
    std::int32_t GetTextureUnitCount() const { return m_textureUnitCount; }
    bool IsSwapControlAvailable() const { return m_swapControl; }
    std::uint32_t GetActiveTextureUnit() const { return m_activeTextureUnit; }
    std::size_t GetRasterCommandCount() const { return m_rasterCommands.size(); }
    const Core::RefPtr<Buffer>& GetVertexBuffer(std::uint32_t slot) const;
    const Core::RefPtr<Buffer>& GetIndexBuffer() const { return m_indexBuffer; }
    // The OpenGL extensions the device offers (empty without one).
    const Core::StringVector& GetOpenGLExtensions() const { return m_glExtensions; }

    // Makes this the process-wide renderer (GetRenderer); it stops being it
    // when destroyed.
    void Install();

protected:
    // Whether the texture unit can be selected on the device: multitexture
    // is there and the unit below the unit count.
    bool IsUnitSelectable(std::uint32_t unit) const;
    // Records the unit as active when it is selectable, else unit 0.
    void SelectTextureUnit(std::uint32_t unit);
    // The cached state of texture unit 0..7.
    const TexturingState& TextureUnitState(std::uint32_t unit) const;
    // Index checks of the operations that take units, lights and slots.
    static bool IsInRange(std::uint32_t index, std::uint32_t limit);
    // No longer the process-wide renderer.
    void Uninstall();
    // Lets go of every texture, light, buffer and queued raster command,
    // while the device can still delete what they own.
    void ReleaseDeviceObjects();
    // Runs the queued raster commands in order, then empties the queue.
    void ExecuteRasterCommands();

    DisplaySettings m_settings;
    bool m_multitexture = false;
    std::int32_t m_textureUnitCount = 1;
    bool m_swapControl = false;
    std::array<Core::RefPtr<ITexture>, kTextureSlots> m_textures;
    Matrix4 m_world;
    Matrix4 m_view;
    Matrix4 m_modelView;
    Matrix4 m_projection;
    std::array<Matrix4, kTextureUnitStates> m_textureMatrices;
    Viewport m_viewport;
    std::uint32_t m_activeTextureUnit = 0;
    std::array<Core::RefPtr<Buffer>, kVertexBufferSlots> m_vertexBuffers;
    Core::RefPtr<Buffer> m_indexBuffer;
    const float* m_vertexArray = nullptr;
    const float* m_normalArray = nullptr;
    const float* m_colorArray = nullptr;
    const float* m_secondaryColorArray = nullptr;
    const void* m_indexArray = nullptr;
    bool m_indices16 = false;
    std::int32_t m_primitiveType = kTriangleList;
    Color m_currentColor{0.0f, 0.0f, 0.0f, 1.0f};
    Core::RefPtr<Material> m_material;
    std::array<Core::RefPtr<Light>, kLights> m_lights;
    Core::RefPtrVector<RasterCommand> m_rasterCommands;
    Color m_texturePlane;
    Core::RefPtr<ColorMaskState> m_colorMask;
    Core::RefPtr<ScissorState> m_scissor;
    Core::RefPtr<AlphaBlendingState> m_alphaBlending;
    Core::RefPtr<AlphaTestingState> m_alphaTesting;
    Core::RefPtr<CullingState> m_culling;
    Core::RefPtr<FogState> m_fog;
    Core::RefPtr<FillingState> m_filling;
    Core::RefPtr<ShadingState> m_shading;
    Core::RefPtr<DepthBufferState> m_depthBuffer;
    Core::RefPtr<StencilBufferState> m_stencilBuffer;
    Core::RefPtr<TriangleOffsetState> m_triangleOffset;
    Core::RefPtr<DitheringState> m_dithering;
    Core::RefPtr<PointState> m_point;
    Core::RefPtr<LineState> m_line;
    std::array<Core::RefPtr<TexturingState>, kTextureUnitStates> m_textureUnits;
    Core::RefPtr<LightingState> m_lighting;
    Core::RefPtr<NormalizeNormalsState> m_normalizeNormals;
    bool m_lineStipple = false;
    std::uint16_t m_lineStipplePattern = 0xAAAA;
    std::int32_t m_lineStippleFactor = 1;
    Core::StringVector m_glExtensions;

private:
    void StoreTextureUnitState(std::uint32_t unit, const TexturingState& state);
};

}  // namespace Renderer
