#include "renderer/Renderer_CachingRenderer.h"

#include "renderer/Renderer_Buffer.h"
#include "renderer/Renderer_DrawSurfaceCommand.h"
#include "renderer/Renderer_ExtensionList.h"
#include "renderer/Renderer_ITexture.h"
#include "renderer/Renderer_Light.h"
#include "renderer/Renderer_States.h"

#include <GL/glu.h>

#include <cassert>

namespace Renderer {
namespace {

// The process-wide renderer; it owns nothing.
CachingRenderer* g_renderer = nullptr;

template <class State>
Core::RefPtr<State> NewState() {
    return Core::RefPtr<State>(TUN_NEW(State));
}

// gluProject and gluUnProject: a point through the model-view and projection
// matrices and the viewport, one way or the other.
using GluTransform = GLint (*)(GLdouble, GLdouble, GLdouble, const GLdouble*, const GLdouble*, const GLint*, GLdouble*,
                               GLdouble*, GLdouble*);

// The transform with the cached matrices widened for GLU; out is left alone
// when GLU refuses.
bool TransformPoint(GluTransform transform, const Matrix4& modelView, const Matrix4& projection,
                    const Viewport& viewport, const Vector3D& point, Vector3D& out) {
    std::array<GLdouble, 16> wideModelView;
    std::array<GLdouble, 16> wideProjection;
    for (int i = 0; i < 16; ++i) {
        wideModelView[static_cast<std::size_t>(i)] = modelView[i];
        wideProjection[static_cast<std::size_t>(i)] = projection[i];
    }
    const std::array<GLint, 4> area{viewport.x, viewport.y, viewport.width, viewport.height};
    GLdouble x = 0.0;
    GLdouble y = 0.0;
    GLdouble z = 0.0;
    if (transform(point.x, point.y, point.z, wideModelView.data(), wideProjection.data(), area.data(), &x, &y, &z) !=
        GL_TRUE) {
        return false;
    }
    out = {static_cast<float>(x), static_cast<float>(y), static_cast<float>(z)};
    return true;
}

// Unbinds the buffer the binding held, then holds and binds the new one.
void Rebind(Core::RefPtr<Buffer>& binding, const Core::RefPtr<Buffer>& buffer) {
    if (binding) {
        binding->Unbind();
    }
    binding = buffer;
    if (buffer) {
        buffer->Bind();
    }
}

}  // namespace

CachingRenderer::CachingRenderer(const DisplaySettings& settings) : m_settings(settings) {
    m_viewport.width = static_cast<std::int32_t>(settings.width);
    m_viewport.height = static_cast<std::int32_t>(settings.height);
    // The material first, then the state types in the order the renderer keeps them.
    m_material = NewState<Material>();
    m_colorMask = NewState<ColorMaskState>();
    m_scissor = NewState<ScissorState>();
    m_alphaBlending = NewState<AlphaBlendingState>();
    m_alphaTesting = NewState<AlphaTestingState>();
    m_culling = NewState<CullingState>();
    m_fog = NewState<FogState>();
    m_filling = NewState<FillingState>();
    m_shading = NewState<ShadingState>();
    m_depthBuffer = NewState<DepthBufferState>();
    m_stencilBuffer = NewState<StencilBufferState>();
    m_triangleOffset = NewState<TriangleOffsetState>();
    m_dithering = NewState<DitheringState>();
    m_point = NewState<PointState>();
    m_line = NewState<LineState>();
    m_textureUnits = {NewState<TextureUnit0State>(), NewState<TextureUnit1State>(), NewState<TextureUnit2State>(),
                      NewState<TextureUnit3State>(), NewState<TextureUnit4State>(), NewState<TextureUnit5State>(),
                      NewState<TextureUnit6State>(), NewState<TextureUnit7State>()};
    m_lighting = NewState<LightingState>();
    m_normalizeNormals = NewState<NormalizeNormalsState>();
}

CachingRenderer::~CachingRenderer() { Uninstall(); }

void CachingRenderer::Install() { g_renderer = this; }

void CachingRenderer::Uninstall() {
    if (g_renderer == this) {
        g_renderer = nullptr;
    }
}

Core::RefPtr<IRenderer> GetRenderer() { return Core::RefPtr<IRenderer>(g_renderer); }

bool IsExtensionSupported(const char* name) {
    if (g_renderer == nullptr || name == nullptr) {
        return false;
    }
    return HasExtension(g_renderer->GetOpenGLExtensions(), name);
}

bool CachingRenderer::IsInRange(std::uint32_t index, std::uint32_t limit) {
    assert(index < limit && "texture unit, light or slot out of range");
    return index < limit;
}

bool CachingRenderer::IsUnitSelectable(std::uint32_t unit) const {
    return m_multitexture && unit < kTextureSlots && static_cast<std::int64_t>(unit) < m_textureUnitCount;
}

void CachingRenderer::SelectTextureUnit(std::uint32_t unit) {
    m_activeTextureUnit = IsUnitSelectable(unit) ? unit : 0;
}

const TexturingState& CachingRenderer::TextureUnitState(std::uint32_t unit) const { return *m_textureUnits[unit]; }

void CachingRenderer::StoreTextureUnitState(std::uint32_t unit, const TexturingState& state) {
    *m_textureUnits[unit] = state;
    SelectTextureUnit(unit);
}

void CachingRenderer::ReleaseDeviceObjects() {
    for (Core::RefPtr<ITexture>& texture : m_textures) {
        texture = nullptr;
    }
    for (Core::RefPtr<Light>& light : m_lights) {
        light = nullptr;
    }
    for (Core::RefPtr<Buffer>& buffer : m_vertexBuffers) {
        buffer = nullptr;
    }
    m_indexBuffer = nullptr;
    m_rasterCommands.Destroy();
}

void CachingRenderer::ExecuteRasterCommands() {
    for (const Core::RefPtr<RasterCommand>& command : m_rasterCommands) {
        command->Execute(*this);
    }
    m_rasterCommands.Destroy();
}

void CachingRenderer::SetMaterial(const Material& state) { *m_material = state; }
void CachingRenderer::SetNormalizeNormalsState(const NormalizeNormalsState& state) { *m_normalizeNormals = state; }
void CachingRenderer::SetLightingState(const LightingState& state) { *m_lighting = state; }
void CachingRenderer::SetTextureUnit7State(const TexturingState& state) { StoreTextureUnitState(7, state); }
void CachingRenderer::SetTextureUnit6State(const TexturingState& state) { StoreTextureUnitState(6, state); }
void CachingRenderer::SetTextureUnit5State(const TexturingState& state) { StoreTextureUnitState(5, state); }
void CachingRenderer::SetTextureUnit4State(const TexturingState& state) { StoreTextureUnitState(4, state); }
void CachingRenderer::SetTextureUnit3State(const TexturingState& state) { StoreTextureUnitState(3, state); }
void CachingRenderer::SetTextureUnit2State(const TexturingState& state) { StoreTextureUnitState(2, state); }
void CachingRenderer::SetTextureUnit1State(const TexturingState& state) { StoreTextureUnitState(1, state); }
void CachingRenderer::SetTextureUnit0State(const TexturingState& state) { StoreTextureUnitState(0, state); }
void CachingRenderer::SetLineState(const LineState& state) { *m_line = state; }
void CachingRenderer::SetPointState(const PointState& state) { *m_point = state; }
void CachingRenderer::SetDitheringState(const DitheringState& state) { *m_dithering = state; }
void CachingRenderer::SetTriangleOffsetState(const TriangleOffsetState& state) { *m_triangleOffset = state; }
void CachingRenderer::SetStencilBufferState(const StencilBufferState& state) { *m_stencilBuffer = state; }
void CachingRenderer::SetDepthBufferState(const DepthBufferState& state) { *m_depthBuffer = state; }
void CachingRenderer::SetShadingState(const ShadingState& state) { *m_shading = state; }
void CachingRenderer::SetFillingState(const FillingState& state) { *m_filling = state; }
void CachingRenderer::SetFogState(const FogState& state) { *m_fog = state; }
void CachingRenderer::SetCullingState(const CullingState& state) { *m_culling = state; }
void CachingRenderer::SetAlphaTestingState(const AlphaTestingState& state) { *m_alphaTesting = state; }
void CachingRenderer::SetAlphaBlendingState(const AlphaBlendingState& state) { *m_alphaBlending = state; }
void CachingRenderer::SetScissorState(const ScissorState& state) { *m_scissor = state; }
void CachingRenderer::SetColorMaskState(const ColorMaskState& state) { *m_colorMask = state; }

void CachingRenderer::GetMaterial(Material& state) const { state = *m_material; }
void CachingRenderer::GetNormalizeNormalsState(NormalizeNormalsState& state) const { state = *m_normalizeNormals; }
void CachingRenderer::GetLightingState(LightingState& state) const { state = *m_lighting; }
void CachingRenderer::GetTextureUnit7State(TexturingState& state) const { state = TextureUnitState(7); }
void CachingRenderer::GetTextureUnit6State(TexturingState& state) const { state = TextureUnitState(6); }
void CachingRenderer::GetTextureUnit5State(TexturingState& state) const { state = TextureUnitState(5); }
void CachingRenderer::GetTextureUnit4State(TexturingState& state) const { state = TextureUnitState(4); }
void CachingRenderer::GetTextureUnit3State(TexturingState& state) const { state = TextureUnitState(3); }
void CachingRenderer::GetTextureUnit2State(TexturingState& state) const { state = TextureUnitState(2); }
void CachingRenderer::GetTextureUnit1State(TexturingState& state) const { state = TextureUnitState(1); }
void CachingRenderer::GetTextureUnit0State(TexturingState& state) const { state = TextureUnitState(0); }
void CachingRenderer::GetLineState(LineState& state) const { state = *m_line; }
void CachingRenderer::GetPointState(PointState& state) const { state = *m_point; }
void CachingRenderer::GetDitheringState(DitheringState& state) const { state = *m_dithering; }
void CachingRenderer::GetTriangleOffsetState(TriangleOffsetState& state) const { state = *m_triangleOffset; }
void CachingRenderer::GetStencilBufferState(StencilBufferState& state) const { state = *m_stencilBuffer; }
void CachingRenderer::GetDepthBufferState(DepthBufferState& state) const { state = *m_depthBuffer; }
void CachingRenderer::GetShadingState(ShadingState& state) const { state = *m_shading; }
void CachingRenderer::GetFillingState(FillingState& state) const { state = *m_filling; }
void CachingRenderer::GetFogState(FogState& state) const { state = *m_fog; }
void CachingRenderer::GetCullingState(CullingState& state) const { state = *m_culling; }
void CachingRenderer::GetAlphaTestingState(AlphaTestingState& state) const { state = *m_alphaTesting; }
void CachingRenderer::GetAlphaBlendingState(AlphaBlendingState& state) const { state = *m_alphaBlending; }
void CachingRenderer::GetScissorState(ScissorState& state) const { state = *m_scissor; }
void CachingRenderer::GetColorMaskState(ColorMaskState& state) const { state = *m_colorMask; }

void CachingRenderer::SetTexture(std::uint32_t unit, const Core::RefPtr<ITexture>& texture) {
    if (!IsInRange(unit, kTextureSlots)) {
        return;
    }
    SelectTextureUnit(unit);
    m_textures[unit] = texture;
}

Core::RefPtr<ITexture> CachingRenderer::GetTexture(std::uint32_t unit) const {
    return IsInRange(unit, kTextureSlots) ? m_textures[unit] : nullptr;
}

void CachingRenderer::SetLight(std::uint32_t index, const Core::RefPtr<Light>& light) {
    if (IsInRange(index, kLights)) {
        m_lights[index] = light;
    }
}

Core::RefPtr<Light> CachingRenderer::GetLight(std::uint32_t index) const {
    return IsInRange(index, kLights) ? m_lights[index] : nullptr;
}

void CachingRenderer::StoreColor(const Color& value) { m_texturePlane = value; }
void CachingRenderer::SetCurrentColor(const Color& color) { m_currentColor = color; }
Color CachingRenderer::GetCurrentColor() const { return m_currentColor; }

void CachingRenderer::SetVertexArray(const float* vertices) { m_vertexArray = vertices; }
void CachingRenderer::SetNormalArray(const float* normals) { m_normalArray = normals; }
void CachingRenderer::SetColorArray(const float* colors) { m_colorArray = colors; }
void CachingRenderer::SetSecondaryColorArray(const float* colors) { m_secondaryColorArray = colors; }
// The arrays stay the caller's; texture coordinates are handed on, not kept.
void CachingRenderer::SetTexCoordArray(std::uint32_t, const float*) {}

void CachingRenderer::SetIndexArray32(const std::uint32_t* indices) {
    m_indexArray = indices;
    m_indices16 = false;
}

void CachingRenderer::SetIndexArray16(const std::uint16_t* indices) {
    m_indexArray = indices;
    m_indices16 = true;
}

void CachingRenderer::SetPrimitiveType(std::int32_t type) { m_primitiveType = type; }
std::int32_t CachingRenderer::GetPrimitiveType() const { return m_primitiveType; }
void CachingRenderer::DrawIndexRange(std::int32_t, std::int32_t) {}
void CachingRenderer::Draw(std::int32_t) {}
void CachingRenderer::DrawArrays(std::int32_t, std::int32_t, std::int32_t) {}
void CachingRenderer::DrawElements(std::int32_t, std::int32_t, std::int32_t) {}

void CachingRenderer::BindVertexBuffer(std::uint32_t slot, const Core::RefPtr<Buffer>& buffer) {
    if (IsInRange(slot, kVertexBufferSlots)) {
        Rebind(m_vertexBuffers[slot], buffer);
    }
}

void CachingRenderer::BindIndexBuffer(const Core::RefPtr<Buffer>& buffer) { Rebind(m_indexBuffer, buffer); }

const Core::RefPtr<Buffer>& CachingRenderer::GetVertexBuffer(std::uint32_t slot) const {
    static const Core::RefPtr<Buffer> kNone;
    return IsInRange(slot, kVertexBufferSlots) ? m_vertexBuffers[slot] : kNone;
}

void CachingRenderer::DrawSurface(const Core::RefPtr<Surface>& surface, std::int32_t x, std::int32_t y,
                                  std::int32_t left, std::int32_t top, std::int32_t right, std::int32_t bottom,
                                  bool flipX, bool flipY) {
    m_rasterCommands.emplace_back(TUN_NEW(DrawSurfaceCommand, surface, x, y, left, top, right, bottom, flipX, flipY));
}

void CachingRenderer::DrawRectangle(float, float, float, float) {}

void CachingRenderer::SetLineStippleEnabled(bool enabled) { m_lineStipple = enabled; }
bool CachingRenderer::IsLineStippleEnabled() const { return m_lineStipple; }
void CachingRenderer::SetLineStipplePattern(std::uint16_t pattern) { m_lineStipplePattern = pattern; }
std::uint16_t CachingRenderer::GetLineStipplePattern() const { return m_lineStipplePattern; }
void CachingRenderer::SetLineStippleFactor(std::int32_t factor) { m_lineStippleFactor = factor; }
std::int32_t CachingRenderer::GetLineStippleFactor() const { return m_lineStippleFactor; }

void CachingRenderer::Present() { m_rasterCommands.Destroy(); }

void CachingRenderer::SetViewport(const Viewport& viewport) { m_viewport = viewport; }
Viewport CachingRenderer::GetViewport() const { return m_viewport; }

void CachingRenderer::SetWorldMatrix(const Matrix4& matrix) {
    m_world = matrix;
    m_modelView = m_view * m_world;
}

const Matrix4& CachingRenderer::GetWorldMatrix() const { return m_world; }

void CachingRenderer::SetViewMatrix(const Matrix4& matrix) {
    m_view = matrix;
    m_modelView = m_view * m_world;
}

const Matrix4& CachingRenderer::GetViewMatrix() const { return m_view; }
void CachingRenderer::SetProjectionMatrix(const Matrix4& matrix) { m_projection = matrix; }
const Matrix4& CachingRenderer::GetProjectionMatrix() const { return m_projection; }

void CachingRenderer::SetTextureMatrix(std::uint32_t unit, const Matrix4& matrix) {
    if (!IsInRange(unit, kTextureUnitStates)) {
        return;
    }
    SelectTextureUnit(unit);
    m_textureMatrices[unit] = matrix;
}

Matrix4 CachingRenderer::GetTextureMatrix(std::uint32_t unit) const {
    return IsInRange(unit, kTextureUnitStates) ? m_textureMatrices[unit] : Matrix4();
}

bool CachingRenderer::Project(Vector3D& out, const Vector3D& point) const {
    return TransformPoint(&gluProject, m_modelView, m_projection, m_viewport, point, out);
}

bool CachingRenderer::Unproject(Vector3D& out, const Vector3D& point) const {
    return TransformPoint(&gluUnProject, m_modelView, m_projection, m_viewport, point, out);
}

void CachingRenderer::ClearColorBuffer(const Color&) {}
void CachingRenderer::ClearDepthBuffer(float) {}
void CachingRenderer::ClearStencilBuffer(std::int32_t) {}
void CachingRenderer::ClearBuffers(const Color&, float, std::int32_t) {}
void CachingRenderer::ReadPixels(std::uint8_t*) {}

void CachingRenderer::SetDisplaySettings(const DisplaySettings& settings) { m_settings = settings; }
DisplaySettings CachingRenderer::GetDisplaySettings() const { return m_settings; }
std::array<std::uint32_t, 3> CachingRenderer::GetDefaultTriple() const { return {0, 1, 0}; }

void CachingRenderer::ToggleFullScreen() { m_settings.fullScreen = !m_settings.fullScreen; }
void CachingRenderer::SetVSyncEnabled(bool enabled) { m_settings.verticalSync = enabled; }
bool CachingRenderer::GetVSyncEnabled() const { return m_settings.verticalSync; }

}  // namespace Renderer
