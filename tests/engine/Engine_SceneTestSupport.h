#pragma once

#include "engine/Engine_SceneGraph.h"
#include "renderer/Renderer_AlphaBlendingState.h"
#include "support/Renderer_FakeTexture.h"
#include "support/Renderer_RecordingRenderer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

namespace enginetest {

template <class T, class... Args>
Core::RefPtr<T> New(Args&&... args) {
    return Core::RefPtr<T>(TUN_NEW(T, std::forward<Args>(args)...));
}

// What the renderer held when a draw call came.
struct DrawRecord {
    Matrix4 view;
    Matrix4 projection;
    float red;
    std::int32_t first;
    std::int32_t blendDestination;
};

// A recording renderer that also notes each draw and shows its arrays.
class DrawSpy : public testsupport::RecordingRenderer {
public:
    void DrawIndexRange(std::int32_t first, std::int32_t last) override {
        Note(first);
        RecordingRenderer::DrawIndexRange(first, last);
    }
    void Draw(std::int32_t count) override {
        Note(0);
        RecordingRenderer::Draw(count);
    }
    void SetTexture(std::uint32_t unit, const Core::RefPtr<Renderer::ITexture>& texture) override {
        if (unit == 0) {
            boundTextures.push_back(texture.Get());
        }
        RecordingRenderer::SetTexture(unit, texture);
    }
    const float* VertexArray() const { return m_vertexArray; }
    const float* SecondaryColorArray() const { return m_secondaryColorArray; }

    std::vector<DrawRecord> draws;
    // What each SetTexture of unit 0 bound, none as null.
    std::vector<const Renderer::ITexture*> boundTextures;

private:
    void Note(std::int32_t first) {
        Renderer::AlphaBlendingState blending;
        GetAlphaBlendingState(blending);
        draws.push_back({GetViewMatrix(), GetProjectionMatrix(), GetCurrentColor().r, first,
                         blending.destinationFactor});
    }
};

// A spying renderer (1024 x 768) with a scene graph on it, which is the
// current scene graph and owns the process-wide queue.
class SceneTest : public testing::Test {
protected:
    RenderQueue& Queue() { return scene->GetRenderQueue(); }
    // The logged calls that start with one of the prefixes, in order.
    std::vector<std::string> Calls(std::initializer_list<const char*> prefixes) const {
        std::vector<std::string> found;
        std::copy_if(renderer->Calls().begin(), renderer->Calls().end(), std::back_inserter(found), [&](auto& call) {
            return std::any_of(prefixes.begin(), prefixes.end(), [&](const char* p) { return call.rfind(p, 0) == 0; });
        });
        return found;
    }
    // Each draw's red channel and first element.
    std::vector<std::pair<float, std::int32_t>> Drawn() const {
        std::vector<std::pair<float, std::int32_t>> drawn;
        for (const DrawRecord& draw : renderer->draws) {
            drawn.emplace_back(draw.red, draw.first);
        }
        return drawn;
    }

    Core::RefPtr<DrawSpy> renderer = New<DrawSpy>();
    Core::RefPtr<Engine::SceneGraph> scene = New<Engine::SceneGraph>(renderer.Get());
};

}  // namespace enginetest
