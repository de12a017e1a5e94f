#pragma once

#include "engine/Engine_SceneGraph.h"
#include "support/Renderer_RecordingRenderer.h"
#include "tundra/Tundra_Camera.h"

#include <cstdint>
#include <string>
#include <vector>

// Doubles and helpers of the viewport, camera and level-view tests.
namespace viewtest {

// A scene graph on a recording renderer that notes, for each viewport it is
// given, the scene graph's viewport count and index at that moment.
class SpyScene {
public:
    struct Applied {
        std::uint32_t count;
        std::uint32_t index;
        Renderer::Viewport rectangle;
    };

    SpyScene() { renderer->scene = scene.Get(); }
    const std::vector<Applied>& Applications() const { return renderer->applied; }
    const std::vector<std::string>& Calls() const { return renderer->Calls(); }

private:
    struct Spy : testsupport::RecordingRenderer {
        void SetViewport(const Renderer::Viewport& viewport) override {
            applied.push_back({scene->GetViewportCount(), scene->GetViewportIndex(), viewport});
            RecordingRenderer::SetViewport(viewport);
        }
        const Engine::SceneGraph* scene = nullptr;
        std::vector<Applied> applied;
    };

public:
    Core::RefPtr<Spy> renderer{TUN_NEW(Spy)};
    Core::RefPtr<Engine::SceneGraph> scene{TUN_NEW(Engine::SceneGraph, renderer.Get())};
};

// A camera whose node sits at (x, y, z) with its world matrix updated, as
// the scene-graph update leaves it.
inline void PlaceCamera(Tundra::Camera& camera, float x, float y, float z) {
    camera.GetSceneNode()->SetTransformation(Matrix4::Translation(x, y, z));
    camera.GetSceneNode()->Update(0.0f);
}

}  // namespace viewtest
