#pragma once

#include "core/Core_MemoryFile.h"
#include "engine/Engine_SceneGraph.h"
#include "support/Renderer_RecordingRenderer.h"
#include "tundra/Tundra_Camera.h"

#include <cstdint>
#include <functional>
#include <random>
#include <vector>

// Doubles and helpers of the viewport, camera and level-view tests.
namespace viewtest {

using Bytes = std::vector<std::uint8_t>;

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

inline Bytes Saved(const Core::Object* object) {
    Core::MemoryFile file;
    file << object;
    return Bytes(file.GetData(), file.GetData() + file.GetSize());
}

// Reads every prefix of the bytes and seeded mutations of them, each handed
// to use when it read as a T (the sanitizers judge the rest).
template <class T>
void ReadEveryDamage(const Bytes& bytes, int mutations, const std::function<void(T&)>& use) {
    const auto read = [&use](const Bytes& data) {
        Core::MemoryFile file(data.data(), static_cast<std::uint32_t>(data.size()));
        const Core::RefPtr<T> object = file.ReadObjectAs<T>(Core::File::Reference::Owning);
        if (object) {
            use(*object);
        }
    };
    for (std::size_t size = 0; size < bytes.size(); ++size) {
        read(Bytes(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(size)));
    }
    std::mt19937 draw(5);
    for (int i = 0; i < mutations; ++i) {
        Bytes mutated = bytes;
        for (std::uint32_t n = draw() % 4 + 1; n > 0; --n) {
            mutated[draw() % mutated.size()] = static_cast<std::uint8_t>(draw());
        }
        read(mutated);
    }
}

}  // namespace viewtest
