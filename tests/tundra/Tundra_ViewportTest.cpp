#include "Tundra_HostileRead.h"
#include "support/Tundra_TestGame.h"
#include "Tundra_ViewTestSupport.h"

#include "tundra/Tundra_Viewport.h"

#include <limits>

using namespace tundratest;
using Tundra::Camera;
using Tundra::Viewport;

namespace {

Core::RefPtr<Viewport> NewViewport() { return TUN_NEW(Viewport, 0, 0, 1024, 768); }

BoundingBox Cube(float x, float y, float half) {
    BoundingBox box;
    Math::SetBoxCorners(box.corners, {x - half, y - half, -half}, {x + half, y + half, half});
    return box;
}

}  // namespace

TEST_F(GameTest, AViewportsSizeIsNeverNegativeNorPastTheLargestEdge) {
    const Core::RefPtr<Viewport> viewport = TUN_NEW(Viewport, 3, 4, -5, 10);
    EXPECT_EQ(viewport->GetWidth(), 0);
    viewport->SetClearColor({0.5f, 0.25f, 0.0f, 1.0f});
    constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
    const struct {
        std::function<void(Viewport&)> change;
        std::int32_t width;
        std::int32_t height;
    } cases[] = {
        {[](Viewport& v) { v.SetWidth(-1); }, 0, 10},
        {[](Viewport& v) { v.SetHeight(-1); }, 0, 0},
        {[](Viewport& v) { v.Set(3, 4, kMax, 9); }, kMax - 3, 9},
    };
    for (const auto& c : cases) {
        c.change(*viewport);
        EXPECT_TRUE(viewport->GetWidth() == c.width && viewport->GetHeight() == c.height);
        EXPECT_TRUE(viewport->GetPosition().x == 3.0f && viewport->GetClearColor().g == 0.25f);
    }
}

TEST_F(GameTest, OnlyALiveCameraDrawsAndSeesBoxes) {
    Start();
    viewtest::SpyScene spy;
    const Core::RefPtr<Viewport> viewport = NewViewport();
    viewport->Render(*spy.scene);
    EXPECT_TRUE(spy.Calls().empty()) << "without a camera nothing is drawn or cleared";
    EXPECT_FALSE(viewport->IsBoxInView(Cube(0.0f, 0.0f, 1.0f)));

    Camera* camera = TUN_NEW(Camera);
    LayerAt(0).AddGameObject(camera);
    viewport->SetCamera(camera);
    Step(1);
    viewtest::PlaceCamera(*camera, 0.0f, 0.0f, 500.0f);
    viewport->Render(*spy.scene);
    EXPECT_EQ(spy.renderer->Count("ClearBuffers 0"), 1);

    const struct {
        BoundingBox box;
        bool inView;
    } boxes[] = {{Cube(0.0f, 0.0f, 1.0f), true},
                 {Cube(280.0f, 0.0f, 30.0f), true},  // across the right edge
                 {Cube(340.0f, 0.0f, 30.0f), false},
                 {Cube(1e5f, 0.0f, 1.0f), false}};
    for (const auto& b : boxes) {
        EXPECT_EQ(viewport->IsBoxInView(b.box), b.inView);
    }
    viewport->SetWidth(0);
    EXPECT_FALSE(viewport->IsBoxInView(Cube(0.0f, 0.0f, 1.0f))) << "an empty rectangle shows nothing";
    viewport->SetWidth(1024);

    // The camera goes first: the viewport keeps it, cleaned up, as no camera.
    camera->Destroy();
    Step(1);
    spy.renderer->ClearCalls();
    viewport->Render(*spy.scene);
    EXPECT_TRUE(spy.Calls().empty());
    EXPECT_TRUE(viewport->GetCamera() == nullptr && !viewport->IsBoxInView(Cube(0.0f, 0.0f, 1.0f)));
}

TEST_F(GameTest, AViewportStreamsFieldByFieldAndFindsItsBackgroundUnderTheLevelsFolder) {
    const Core::RefPtr<Viewport> viewport = TUN_NEW(Viewport, -2, 3, 4, 5);
    viewport->SetName("v");
    viewport->SetClearColor({1.0f, 0.0f, 0.0f, 1.0f});
    viewport->SetBackground("C:\\art\\sky.png");
    // Field by field; without a running level the level's name is written empty.
    Core::MemoryFile expected;
    expected.WriteU8(1);
    expected << Core::String("Tundra::Viewport");
    expected.WriteU32(1);
    expected << Core::String("v");
    expected.WriteU8(0);
    for (const std::int32_t field : {-2, 3, 4, 5}) {
        expected.WriteI32(field);
    }
    expected << Color(1.0f, 0.0f, 0.0f, 1.0f) << Core::String() << Core::String("sky.png");
    EXPECT_EQ(Saved(viewport.Get()), Bytes(expected.GetData(), expected.GetData() + expected.GetSize()));

    Start(1);
    Camera* camera = TUN_NEW(Camera);
    LayerAt(0).AddGameObject(camera);
    viewport->SetCamera(camera);
    Step(1);
    const Core::RefPtr<Viewport> bare = NewViewport();
    Core::MemoryFile file;
    file << &LayerAt(0) << viewport << bare;
    Core::RefPtr<Tundra::Layer> layer;
    Core::RefPtr<Viewport> read;
    Core::RefPtr<Viewport> readBare;
    file >> layer >> read >> readBare;
    ASSERT_TRUE(layer && read && readBare && !file.HasFailed());
    std::vector<Tundra::GameObject*> objects;
    layer->GetGameObjects(objects);
    EXPECT_TRUE(objects.size() == 1u && read->GetCamera() == objects[0]);
    EXPECT_TRUE(read->GetName() == "v" && read->GetX() == -2 && read->GetY() == 3 && read->GetWidth() == 4 &&
                read->GetHeight() == 5 && read->GetClearColor().r == 1.0f);
    EXPECT_EQ(read->GetBackground(),
              Tundra::Game::GetDirectory() + "\\Resources\\Viewports Backgrounds\\1\\sky.png");
    EXPECT_TRUE(readBare->GetBackground().empty() && !readBare->GetEngineViewport()->GetBackground());
    layer->Shutdown();
}

TEST_F(GameTest, DamagedViewportAndCameraStreamsReadCleanly) {
    Start();
    const Core::RefPtr<Viewport> viewport = NewViewport();
    viewport->SetName("main");
    viewport->SetBackground("sky.png");
    viewport->SetCamera(TUN_NEW(Camera, 50.0f));
    viewtest::SpyScene spy;
    ReadHostile<Viewport>(Saved(viewport.Get()), 10000, [&spy](Viewport& read) {
        read.Render(*spy.scene);
        read.IsBoxInView(BoundingBox());
        read.SetWidth(read.GetWidth() + 1);
    });
    ReadHostile<Camera>(Saved(viewport->GetCamera()), 10000, [](Camera& read) {
        read.EngineUpdate(0.016f);
        read.Destroy();
    });
}
