#include "Engine_SceneTestSupport.h"

#include "engine/Engine_TransformationGroup.h"
#include "renderer/Renderer_ScissorState.h"

#include <tuple>

using Core::RefPtr;
using Engine::Camera;
using enginetest::New;

namespace {

class Cameras : public enginetest::SceneTest {
protected:
    auto Placement() const {
        Renderer::ScissorState s;
        renderer->GetScissorState(s);
        return std::tuple(renderer->GetViewport(), std::tuple(s.x, s.y, s.width, s.height, s.enabled),
                          renderer->GetProjectionMatrix().m, renderer->GetViewMatrix().m);
    }
    // A camera 500 units up the z axis, updated.
    RefPtr<Camera> PlacedCamera() {
        const RefPtr<Engine::TransformationGroup> stand = New<Engine::TransformationGroup>();
        stand->SetTransformation(Matrix4::Translation(0, 0, 500));
        const RefPtr<Camera> camera = New<Camera>(45.0f, 1.0f, 1000.0f);
        scene->AddChild(stand);
        stand->AddChild(camera);
        scene->UpdateAsCurrent(0.0f);
        return camera;
    }
    RefPtr<Engine::Viewport> viewport = New<Engine::Viewport>(0, 0, 512, 384);
};

TEST_F(Cameras, ViewportAndCameraOwnTheRendererUntilRestore) {
    Renderer::ScissorState off;
    off.x = 3;
    renderer->SetScissorState(off);
    renderer->SetViewport({1, 2, 30, 40, 0.0f, 1.0f});
    const auto before = Placement();
    const RefPtr<Camera> camera = PlacedCamera();
    viewport->Apply(*renderer);
    camera->Apply(*renderer, 1024, 768);
    const Matrix4 projection = Matrix4::Perspective(45.0f, 1.3333334f, 1.0f, 1000.0f);
    EXPECT_EQ(Placement(), std::tuple(Renderer::Viewport{0, 0, 512, 384, 0.0f, 1.0f},
                                      std::tuple(0, 0, 512, 384, true), projection.m,
                                      Matrix4::Translation(0, 0, -500).m));
    Matrix4 viewProjection;
    camera->GetViewProjectionMatrix(viewProjection, 1024, 768);
    EXPECT_EQ(viewProjection.m, (projection * renderer->GetViewMatrix()).m);

    BoundingBox behind;
    Math::SetBoxCorners(behind.corners, {-1, -1, 600}, {1, 1, 602});
    Frustum computed;
    camera->ComputeFrustum(computed, 1024, 768);
    EXPECT_TRUE(camera->GetFrustum().ClassifyBox(behind) == 2 && computed.ClassifyBox(behind) == 2);
    camera->Restore(*renderer);
    viewport->Restore(*renderer);
    EXPECT_EQ(Placement(), before);
}

TEST_F(Cameras, RenderClearsBeforeDrawingAndPutsEverythingBack) {
    const RefPtr<Camera> camera = PlacedCamera();
    const RefPtr<Engine::TransformationGroup> shown = New<Engine::TransformationGroup>();
    scene->AddChild(shown);
    shown->SetShowBoundingVolume(true, false);
    const auto before = Placement();
    scene->Render(camera, viewport);
    EXPECT_EQ(Calls({"SetViewport", "SetScissorState", "SetProjectionMatrix", "SetViewMatrix", "Clear", "Draw"}),
              (std::vector<std::string>{"SetViewport", "SetScissorState", "SetProjectionMatrix", "SetViewMatrix",
                                        "ClearBuffers 0", "SetViewMatrix", "SetProjectionMatrix",  // backgrounds
                                        "SetProjectionMatrix", "SetViewMatrix", "DrawIndexRange 0 35",
                                        "SetProjectionMatrix", "SetViewMatrix", "SetViewport", "SetScissorState"}));
    EXPECT_EQ(Placement(), before);
    EXPECT_EQ(renderer->draws.at(0).projection.m, Matrix4::Perspective(45.0f, 512.0f / 384, 1.0f, 1000.0f).m);

    renderer->ClearCalls();
    scene->ClearScreen({1, 0, 0, 1});
    EXPECT_EQ(renderer->Calls(), (std::vector<std::string>{"SetViewport", "SetScissorState", "ClearColorBuffer",
                                                           "SetViewport", "SetScissorState"}));
    EXPECT_EQ(Placement(), before);
}

}  // namespace
