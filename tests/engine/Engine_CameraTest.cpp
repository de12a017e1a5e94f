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
    auto Scissor() const {
        Renderer::ScissorState state;
        renderer->GetScissorState(state);
        return std::tuple(state.x, state.y, state.width, state.height, state.enabled);
    }
    auto Placement() const {
        return std::tuple(renderer->GetViewport(), Scissor(), renderer->GetProjectionMatrix().m,
                          renderer->GetViewMatrix().m);
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

TEST_F(Cameras, ViewportOwnsViewportAndScissorUntilRestore) {
    Renderer::ScissorState off;
    off.x = 3;
    off.width = 100;
    renderer->SetScissorState(off);
    renderer->SetViewport({1, 2, 30, 40, 0.0f, 1.0f});
    const auto before = Placement();
    viewport->Apply(*renderer);
    EXPECT_EQ(renderer->GetViewport(), (Renderer::Viewport{0, 0, 512, 384, 0.0f, 1.0f}));
    EXPECT_EQ(Scissor(), std::tuple(0, 0, 512, 384, true));
    viewport->Restore(*renderer);
    EXPECT_EQ(Placement(), before);
}

TEST_F(Cameras, CameraSetsProjectionViewAndFrustum) {
    const RefPtr<Camera> camera = PlacedCamera();
    const auto before = Placement();
    camera->Apply(*renderer, 1024, 768);
    EXPECT_EQ(renderer->GetProjectionMatrix().m, Matrix4::Perspective(45.0f, 1.3333334f, 1.0f, 1000.0f).m);
    EXPECT_EQ(renderer->GetViewMatrix()[14], -500.0f);
    Matrix4 viewProjection;
    camera->GetViewProjectionMatrix(viewProjection, 1024, 768);
    EXPECT_EQ(viewProjection.m, (renderer->GetProjectionMatrix() * renderer->GetViewMatrix()).m);
    Vector3D position;
    camera->GetPosition(position);
    EXPECT_EQ(position.z, 500.0f);

    BoundingBox behind;
    Math::SetBoxCorners(behind.corners, {-1, -1, 600}, {1, 1, 602});
    EXPECT_EQ(camera->GetFrustum().ClassifyBox(behind), 2);
    Frustum computed;
    camera->ComputeFrustum(computed, 1024, 768);
    EXPECT_EQ(computed.ClassifyBox(behind), 2);
    camera->Restore(*renderer);
    EXPECT_EQ(Placement(), before);
}

TEST_F(Cameras, RenderClearsBeforeDrawingAndPutsEverythingBack) {
    const RefPtr<Camera> camera = PlacedCamera();
    const RefPtr<Engine::TransformationGroup> shown = New<Engine::TransformationGroup>();
    scene->AddChild(shown);
    shown->SetShowBoundingVolume(true, false);
    const auto before = Placement();
    renderer->ClearCalls();
    scene->Render(camera, viewport);
    EXPECT_EQ(Calls({"SetViewport", "SetScissorState", "ClearBuffers", "DrawIndexRange"}),
              (std::vector<std::string>{"SetViewport", "SetScissorState", "ClearBuffers 0", "DrawIndexRange 0 35",
                                        "SetViewport", "SetScissorState"}));
    const std::vector<std::string> matrices = Calls({"SetProjectionMatrix", "SetViewMatrix", "ClearBuffers"});
    EXPECT_EQ(std::vector<std::string>(matrices.begin(), matrices.begin() + 3),
              (std::vector<std::string>{"SetProjectionMatrix", "SetViewMatrix", "ClearBuffers 0"}));
    EXPECT_EQ(Placement(), before);
    EXPECT_EQ(renderer->draws.at(0).projection.m, Matrix4::Perspective(45.0f, 512.0f / 384.0f, 1.0f, 1000.0f).m);

    renderer->ClearCalls();
    scene->ClearScreen({1, 0, 0, 1});
    EXPECT_EQ(renderer->Calls(), (std::vector<std::string>{"SetViewport", "SetScissorState", "ClearColorBuffer",
                                                           "SetViewport", "SetScissorState"}));
    EXPECT_EQ(Placement(), before);
}

}  // namespace
