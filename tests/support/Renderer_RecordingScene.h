#pragma once

#include "engine/Engine_Camera.h"
#include "engine/Engine_SceneGraph.h"
#include "engine/Engine_TransformationGroup.h"
#include "engine/Engine_Viewport.h"
#include "support/Renderer_RecordingRenderer.h"

namespace testsupport {

// A scene graph on a recording renderer, seen through a camera 500 units up
// the z axis and a viewport over the whole window, as the one viewport of
// each frame. Whatever is added to it is updated, queued and flushed (the
// screen-space overlay included) by each Frame, as in the game.
class RecordingScene {
public:
    RecordingScene() {
        stand->SetTransformation(Matrix4::Translation(0.0f, 0.0f, 500.0f));
        scene->AddChild(stand);
        stand->AddChild(camera);
    }

    void Add(const Core::RefPtr<Engine::Node>& node) { scene->AddChild(node); }
    void Frame(float dt) {
        scene->UpdateAsCurrent(dt);
        scene->Render(camera, viewport);
        renderer->ClearCalls();
    }

    Core::RefPtr<RecordingRenderer> renderer{TUN_NEW(RecordingRenderer)};
    Core::RefPtr<Engine::SceneGraph> scene{TUN_NEW(Engine::SceneGraph, renderer.Get())};
    Core::RefPtr<Engine::TransformationGroup> stand{TUN_NEW(Engine::TransformationGroup)};
    Core::RefPtr<Engine::Camera> camera{TUN_NEW(Engine::Camera, 45.0f, 1.0f, 1000.0f)};
    Core::RefPtr<Engine::Viewport> viewport{TUN_NEW(Engine::Viewport, 0, 0, 1024, 768)};
};

}  // namespace testsupport
