#pragma once

#include "core/Core_Object.h"
#include "core/Core_RefPtr.h"
#include "math/Math_Color.h"
#include "math/Math_Matrix4.h"
#include "math/Math_Vector3D.h"
#include "renderer/Renderer_DisplaySettings.h"
#include "renderer/Renderer_Enumerations.h"
#include "renderer/Renderer_Viewport.h"

#include <array>
#include <cstdint>

namespace Renderer {

class AlphaBlendingState;
class AlphaTestingState;
class Buffer;
class ColorMaskState;
class CullingState;
class DepthBufferState;
class DitheringState;
class FillingState;
class FogState;
class ITexture;
class Light;
class LightingState;
class LineState;
class Material;
class NormalizeNormalsState;
class PointState;
class ScissorState;
class Surface;
class ShadingState;
class StencilBufferState;
class TexturingState;
class TriangleOffsetState;

// Texture units the renderer keeps a texture for, texture units with their
// own state and matrix, lights and vertex-buffer slots.
constexpr std::uint32_t kTextureSlots = 32;
constexpr std::uint32_t kTextureUnitStates = 8;
constexpr std::uint32_t kLights = 8;
constexpr std::uint32_t kVertexBufferSlots = 16;

// The interface every drawing part of the engine talks to; the OpenGL
// renderer is its one implementation in the game. Set operations cache what
// they are given and apply it at once; Get operations answer from the cache
// (the viewport read-back excepted). Texture units, lights and slots out of
// range are ignored (and assert in debug builds).
class IRenderer : public Core::Object {
public:
    virtual void SetMaterial(const Material& state) = 0;
    virtual void SetNormalizeNormalsState(const NormalizeNormalsState& state) = 0;
    virtual void SetLightingState(const LightingState& state) = 0;
    virtual void SetTextureUnit7State(const TexturingState& state) = 0;
    virtual void SetTextureUnit6State(const TexturingState& state) = 0;
    virtual void SetTextureUnit5State(const TexturingState& state) = 0;
    virtual void SetTextureUnit4State(const TexturingState& state) = 0;
    virtual void SetTextureUnit3State(const TexturingState& state) = 0;
    virtual void SetTextureUnit2State(const TexturingState& state) = 0;
    virtual void SetTextureUnit1State(const TexturingState& state) = 0;
    virtual void SetTextureUnit0State(const TexturingState& state) = 0;
    virtual void SetLineState(const LineState& state) = 0;
    virtual void SetPointState(const PointState& state) = 0;
    virtual void SetDitheringState(const DitheringState& state) = 0;
    virtual void SetTriangleOffsetState(const TriangleOffsetState& state) = 0;
    virtual void SetStencilBufferState(const StencilBufferState& state) = 0;
    virtual void SetDepthBufferState(const DepthBufferState& state) = 0;
    virtual void SetShadingState(const ShadingState& state) = 0;
    virtual void SetFillingState(const FillingState& state) = 0;
    virtual void SetFogState(const FogState& state) = 0;
    virtual void SetCullingState(const CullingState& state) = 0;
    virtual void SetAlphaTestingState(const AlphaTestingState& state) = 0;
    virtual void SetAlphaBlendingState(const AlphaBlendingState& state) = 0;
    virtual void SetScissorState(const ScissorState& state) = 0;
    virtual void SetColorMaskState(const ColorMaskState& state) = 0;

    virtual void GetMaterial(Material& state) const = 0;
    virtual void GetNormalizeNormalsState(NormalizeNormalsState& state) const = 0;
    virtual void GetLightingState(LightingState& state) const = 0;
    virtual void GetTextureUnit7State(TexturingState& state) const = 0;
    virtual void GetTextureUnit6State(TexturingState& state) const = 0;
    virtual void GetTextureUnit5State(TexturingState& state) const = 0;
    virtual void GetTextureUnit4State(TexturingState& state) const = 0;
    virtual void GetTextureUnit3State(TexturingState& state) const = 0;
    virtual void GetTextureUnit2State(TexturingState& state) const = 0;
    virtual void GetTextureUnit1State(TexturingState& state) const = 0;
    virtual void GetTextureUnit0State(TexturingState& state) const = 0;
    virtual void GetLineState(LineState& state) const = 0;
    virtual void GetPointState(PointState& state) const = 0;
    virtual void GetDitheringState(DitheringState& state) const = 0;
    virtual void GetTriangleOffsetState(TriangleOffsetState& state) const = 0;
    virtual void GetStencilBufferState(StencilBufferState& state) const = 0;
    virtual void GetDepthBufferState(DepthBufferState& state) const = 0;
    virtual void GetShadingState(ShadingState& state) const = 0;
    virtual void GetFillingState(FillingState& state) const = 0;
    virtual void GetFogState(FogState& state) const = 0;
    virtual void GetCullingState(CullingState& state) const = 0;
    virtual void GetAlphaTestingState(AlphaTestingState& state) const = 0;
    virtual void GetAlphaBlendingState(AlphaBlendingState& state) const = 0;
    virtual void GetScissorState(ScissorState& state) const = 0;
    virtual void GetColorMaskState(ColorMaskState& state) const = 0;

    // Textures per unit (below kTextureSlots) and lights (below kLights).
    virtual void SetTexture(std::uint32_t unit, const Core::RefPtr<ITexture>& texture) = 0;
    virtual Core::RefPtr<ITexture> GetTexture(std::uint32_t unit) const = 0;
    virtual void SetLight(std::uint32_t index, const Core::RefPtr<Light>& light) = 0;
    virtual Core::RefPtr<Light> GetLight(std::uint32_t index) const = 0;

    // Stores the object plane of texture-coordinate generation for
    // one-dimensional textures (the four floats of value), not a colour.
    virtual void StoreColor(const Color& value) = 0;
    // The colour of vertices drawn without a colour array.
    virtual void SetCurrentColor(const Color& color) = 0;
    virtual Color GetCurrentColor() const = 0;

    // Client arrays, kept by the caller until drawn; null turns an array off.
    // Vertices and normals: 3 floats each; colours: 4; secondary colours: 3;
    // texture coordinates: 2.
    virtual void SetVertexArray(const float* vertices) = 0;
    virtual void SetNormalArray(const float* normals) = 0;
    virtual void SetColorArray(const float* colors) = 0;
    virtual void SetSecondaryColorArray(const float* colors) = 0;
    virtual void SetTexCoordArray(std::uint32_t unit, const float* coordinates) = 0;
    virtual void SetIndexArray32(const std::uint32_t* indices) = 0;
    virtual void SetIndexArray16(const std::uint16_t* indices) = 0;

    virtual void SetPrimitiveType(std::int32_t type) = 0;
    virtual std::int32_t GetPrimitiveType() const = 0;
    // Elements first..last of the index array (or of the vertex array).
    virtual void DrawIndexRange(std::int32_t first, std::int32_t last) = 0;
    // The first count elements of the index array (or of the vertex array).
    virtual void Draw(std::int32_t count) = 0;
    // primitives primitives of the type from vertex first, ignoring the index array.
    virtual void DrawArrays(std::int32_t type, std::int32_t first, std::int32_t primitives) = 0;
    // count indices of the bound index buffer from index position first.
    virtual void DrawElements(std::int32_t type, std::int32_t first, std::int32_t count) = 0;
    // Hands the draws given so far to the device without waiting for them.
    virtual void FlushCommands() = 0;

    virtual void BindVertexBuffer(std::uint32_t slot, const Core::RefPtr<Buffer>& buffer) = 0;
    virtual void BindIndexBuffer(const Core::RefPtr<Buffer>& buffer) = 0;

    // Queues the source rectangle of the surface for the overlay drawn at the
    // next Present, its corner at window pixel (x, y); the surface is kept
    // alive until then.
    virtual void DrawSurface(const Core::RefPtr<Surface>& surface, std::int32_t x, std::int32_t y, std::int32_t left,
                             std::int32_t top, std::int32_t right, std::int32_t bottom, bool flipX, bool flipY) = 0;
    virtual void DrawRectangle(float x1, float y1, float x2, float y2) = 0;

    virtual void SetLineStippleEnabled(bool enabled) = 0;
    virtual bool IsLineStippleEnabled() const = 0;
    virtual void SetLineStipplePattern(std::uint16_t pattern) = 0;
    virtual std::uint16_t GetLineStipplePattern() const = 0;
    virtual void SetLineStippleFactor(std::int32_t factor) = 0;
    virtual std::int32_t GetLineStippleFactor() const = 0;

    // Draws the queued overlay and shows the frame.
    virtual void Present() = 0;

    virtual void SetViewport(const Viewport& viewport) = 0;
    virtual Viewport GetViewport() const = 0;
    virtual void SetWorldMatrix(const Matrix4& matrix) = 0;
    virtual const Matrix4& GetWorldMatrix() const = 0;
    virtual void SetViewMatrix(const Matrix4& matrix) = 0;
    virtual const Matrix4& GetViewMatrix() const = 0;
    virtual void SetProjectionMatrix(const Matrix4& matrix) = 0;
    virtual const Matrix4& GetProjectionMatrix() const = 0;
    // Units below kTextureUnitStates; others answer the identity.
    virtual void SetTextureMatrix(std::uint32_t unit, const Matrix4& matrix) = 0;
    virtual Matrix4 GetTextureMatrix(std::uint32_t unit) const = 0;

    // Object to window coordinates (x, y, depth) and back with the cached
    // matrices and viewport; false, out unchanged, when that is impossible.
    virtual bool Project(Vector3D& out, const Vector3D& point) const = 0;
    virtual bool Unproject(Vector3D& out, const Vector3D& point) const = 0;
    virtual void ClearColorBuffer(const Color& color) = 0;
    virtual void ClearDepthBuffer(float depth) = 0;
    virtual void ClearStencilBuffer(std::int32_t value) = 0;
    virtual void ClearBuffers(const Color& color, float depth, std::int32_t stencil) = 0;
    // width * height * 3 bytes (display-settings size), RGB, bottom row
    // first, rows packed without gaps.
    virtual void ReadPixels(std::uint8_t* buffer) = 0;

    // Copies the settings without applying any of them.
    virtual void SetDisplaySettings(const DisplaySettings& settings) = 0;
    virtual DisplaySettings GetDisplaySettings() const = 0;
    // Always 0, 1, 0.
    virtual std::array<std::uint32_t, 3> GetDefaultTriple() const = 0;

    virtual void ToggleFullScreen() = 0;
    virtual void SetVSyncEnabled(bool enabled) = 0;
    virtual bool GetVSyncEnabled() const = 0;
};

// The process-wide renderer: the one CreateRenderer made (or a stand-in a
// test installed); empty before that and after it is destroyed.
Core::RefPtr<IRenderer> GetRenderer();
// Makes, installs and returns the OpenGL renderer for the settings.
Core::RefPtr<IRenderer> CreateRenderer(const DisplaySettings& settings);
// Whether the process-wide renderer's OpenGL extension list holds the name.
bool IsExtensionSupported(const char* name);

}  // namespace Renderer
