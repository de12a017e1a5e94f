#include "support/RecordingRenderer.h"

#include <algorithm>
#include <initializer_list>

namespace testsupport {
namespace {

// "Name a b c".
std::string Call(const char* name, std::initializer_list<long long> arguments = {}) {
    std::string text = name;
    for (const long long argument : arguments) {
        text += ' ';
        text += std::to_string(argument);
    }
    return text;
}

}  // namespace

RecordingRenderer::RecordingRenderer(std::int32_t textureUnits, const Renderer::DisplaySettings& settings)
    : CachingRenderer(settings) {
    m_textureUnitCount = std::max(textureUnits, 1);
    m_multitexture = textureUnits > 1;
    Install();
}

Renderer::DisplaySettings RecordingRenderer::DefaultSettings() {
    Renderer::DisplaySettings settings;
    settings.width = 1024;
    settings.height = 768;
    settings.refreshRate = 60;
    settings.colorBits = 32;
    settings.depthBits = 24;
    settings.stencilBits = 8;
    return settings;
}

int RecordingRenderer::Count(const std::string& call) const {
    return static_cast<int>(std::count(m_calls.begin(), m_calls.end(), call));
}

void RecordingRenderer::SetTexture(std::uint32_t unit, const Core::RefPtr<Renderer::ITexture>& texture) {
    Record(Call("SetTexture", {unit}));
    CachingRenderer::SetTexture(unit, texture);
}

void RecordingRenderer::SetLight(std::uint32_t index, const Core::RefPtr<Renderer::Light>& light) {
    Record(Call("SetLight", {index}));
    CachingRenderer::SetLight(index, light);
}

void RecordingRenderer::StoreColor(const Color& value) {
    Record(Call("StoreColor"));
    CachingRenderer::StoreColor(value);
}

void RecordingRenderer::SetCurrentColor(const Color& color) {
    Record(Call("SetCurrentColor"));
    CachingRenderer::SetCurrentColor(color);
}

void RecordingRenderer::SetVertexArray(const float* vertices) {
    Record(Call("SetVertexArray"));
    CachingRenderer::SetVertexArray(vertices);
}

void RecordingRenderer::SetNormalArray(const float* normals) {
    Record(Call("SetNormalArray"));
    CachingRenderer::SetNormalArray(normals);
}

void RecordingRenderer::SetColorArray(const float* colors) {
    Record(Call("SetColorArray"));
    CachingRenderer::SetColorArray(colors);
}

void RecordingRenderer::SetSecondaryColorArray(const float* colors) {
    Record(Call("SetSecondaryColorArray"));
    CachingRenderer::SetSecondaryColorArray(colors);
}

void RecordingRenderer::SetTexCoordArray(std::uint32_t unit, const float* coordinates) {
    Record(Call("SetTexCoordArray", {unit}));
    CachingRenderer::SetTexCoordArray(unit, coordinates);
}

void RecordingRenderer::SetIndexArray32(const std::uint32_t* indices) {
    Record(Call("SetIndexArray32"));
    CachingRenderer::SetIndexArray32(indices);
}

void RecordingRenderer::SetIndexArray16(const std::uint16_t* indices) {
    Record(Call("SetIndexArray16"));
    CachingRenderer::SetIndexArray16(indices);
}

void RecordingRenderer::SetPrimitiveType(std::int32_t type) {
    Record(Call("SetPrimitiveType", {type}));
    CachingRenderer::SetPrimitiveType(type);
}

void RecordingRenderer::DrawIndexRange(std::int32_t first, std::int32_t last) {
    Record(Call("DrawIndexRange", {first, last}));
    CachingRenderer::DrawIndexRange(first, last);
}

void RecordingRenderer::Draw(std::int32_t count) {
    Record(Call("Draw", {count}));
    CachingRenderer::Draw(count);
}

void RecordingRenderer::DrawArrays(std::int32_t type, std::int32_t first, std::int32_t primitives) {
    Record(Call("DrawArrays", {type, first, primitives}));
    CachingRenderer::DrawArrays(type, first, primitives);
}

void RecordingRenderer::DrawElements(std::int32_t type, std::int32_t first, std::int32_t count) {
    Record(Call("DrawElements", {type, first, count}));
    CachingRenderer::DrawElements(type, first, count);
}

void RecordingRenderer::BindVertexBuffer(std::uint32_t slot, const Core::RefPtr<Renderer::Buffer>& buffer) {
    Record(Call("BindVertexBuffer", {slot}));
    CachingRenderer::BindVertexBuffer(slot, buffer);
}

void RecordingRenderer::BindIndexBuffer(const Core::RefPtr<Renderer::Buffer>& buffer) {
    Record(Call("BindIndexBuffer"));
    CachingRenderer::BindIndexBuffer(buffer);
}

void RecordingRenderer::DrawSurface(const Core::RefPtr<Renderer::Surface>& surface, std::int32_t x, std::int32_t y,
                                    std::int32_t left, std::int32_t top, std::int32_t right, std::int32_t bottom,
                                    bool flipX, bool flipY) {
    Record(Call("DrawSurface", {x, y, left, top, right, bottom, flipX, flipY}));
    CachingRenderer::DrawSurface(surface, x, y, left, top, right, bottom, flipX, flipY);
}

void RecordingRenderer::DrawRectangle(float x1, float y1, float x2, float y2) {
    Record(Call("DrawRectangle"));
    CachingRenderer::DrawRectangle(x1, y1, x2, y2);
}

void RecordingRenderer::SetLineStippleEnabled(bool enabled) {
    Record(Call("SetLineStippleEnabled", {enabled}));
    CachingRenderer::SetLineStippleEnabled(enabled);
}

void RecordingRenderer::SetLineStipplePattern(std::uint16_t pattern) {
    Record(Call("SetLineStipplePattern", {pattern}));
    CachingRenderer::SetLineStipplePattern(pattern);
}

void RecordingRenderer::SetLineStippleFactor(std::int32_t factor) {
    Record(Call("SetLineStippleFactor", {factor}));
    CachingRenderer::SetLineStippleFactor(factor);
}

void RecordingRenderer::Present() {
    Record(Call("Present"));
    CachingRenderer::Present();
}

void RecordingRenderer::SetWorldMatrix(const Matrix4& matrix) {
    Record(Call("SetWorldMatrix"));
    CachingRenderer::SetWorldMatrix(matrix);
}

void RecordingRenderer::SetViewMatrix(const Matrix4& matrix) {
    Record(Call("SetViewMatrix"));
    CachingRenderer::SetViewMatrix(matrix);
}

void RecordingRenderer::SetProjectionMatrix(const Matrix4& matrix) {
    Record(Call("SetProjectionMatrix"));
    CachingRenderer::SetProjectionMatrix(matrix);
}

void RecordingRenderer::SetTextureMatrix(std::uint32_t unit, const Matrix4& matrix) {
    Record(Call("SetTextureMatrix", {unit}));
    CachingRenderer::SetTextureMatrix(unit, matrix);
}

void RecordingRenderer::ClearColorBuffer(const Color& color) {
    Record(Call("ClearColorBuffer"));
    CachingRenderer::ClearColorBuffer(color);
}

void RecordingRenderer::ClearDepthBuffer(float depth) {
    Record(Call("ClearDepthBuffer"));
    CachingRenderer::ClearDepthBuffer(depth);
}

void RecordingRenderer::ClearStencilBuffer(std::int32_t value) {
    Record(Call("ClearStencilBuffer", {value}));
    CachingRenderer::ClearStencilBuffer(value);
}

void RecordingRenderer::ClearBuffers(const Color& color, float depth, std::int32_t stencil) {
    Record(Call("ClearBuffers", {stencil}));
    CachingRenderer::ClearBuffers(color, depth, stencil);
}

void RecordingRenderer::ReadPixels(std::uint8_t* buffer) {
    Record(Call("ReadPixels"));
    CachingRenderer::ReadPixels(buffer);
}

void RecordingRenderer::SetDisplaySettings(const Renderer::DisplaySettings& settings) {
    Record(Call("SetDisplaySettings"));
    CachingRenderer::SetDisplaySettings(settings);
}

void RecordingRenderer::ToggleFullScreen() {
    Record(Call("ToggleFullScreen"));
    CachingRenderer::ToggleFullScreen();
}

void RecordingRenderer::SetVSyncEnabled(bool enabled) {
    Record(Call("SetVSyncEnabled", {enabled}));
    CachingRenderer::SetVSyncEnabled(enabled);
}

}  // namespace testsupport
