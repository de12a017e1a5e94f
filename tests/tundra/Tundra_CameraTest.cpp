#include "Tundra_HostileRead.h"
#include "support/Tundra_TestGame.h"
#include "Tundra_ViewTestSupport.h"

#include "input/Input_KeyTable.h"
#include "math/Math_Vector4D.h"
#include "os/OS_HeadlessInput.h"
#include "tundra/Tundra_Camera.h"

#include <initializer_list>

using namespace tundratest;
using Tundra::Camera;

namespace {

Core::RefPtr<Camera> NewCamera(float fieldOfView = 45.0f) { return TUN_NEW(Camera, fieldOfView); }

constexpr os::VirtualKey kKeyR = os::VK_A + ('R' - 'A');

// Holds the keys for one keyboard poll and one flight step.
void Fly(TestGame& game, Camera& camera, std::initializer_list<os::VirtualKey> keys) {
    for (const os::VirtualKey key : keys) {
        os::headless::SetKey(key, true);
    }
    game.GetKeyboard()->Update();
    camera.UpdateFromKeyboard();
    os::headless::ResetKeys();
    game.GetKeyboard()->Update();
}

Vector3D Translation(const Camera& camera) {
    const Matrix4& m = camera.GetSceneNode()->GetTransformation();
    return {m[12], m[13], m[14]};
}

}  // namespace

TEST_F(GameTest, TheFirstCameraListensUntilCleanedUpAndACopyNever) {
    ASSERT_EQ(Camera::GetActiveListener(), nullptr);
    const Core::RefPtr<Camera> first = NewCamera();
    const Core::RefPtr<Camera> second = NewCamera();
    EXPECT_TRUE(first->IsActiveListener() && !second->IsActiveListener());
    first->Cleanup();
    EXPECT_EQ(Camera::GetActiveListener(), nullptr);
    second->MakeActiveListener();
    EXPECT_EQ(Camera::GetActiveListener(), second.Get());
    second->Cleanup();

    const Core::RefPtr<Camera> source = NewCamera(60.0f);
    source->Cleanup();
    const Core::RefPtr<Core::Object> clone = source->Clone();
    auto* copy = static_cast<Camera*>(clone.Get());
    EXPECT_TRUE(copy->GetFOV() == 60.0f && copy->GetCameraNode()->GetFOV() == 60.0f);
    EXPECT_EQ(Camera::GetActiveListener(), nullptr) << "a copy never becomes the listener";

    // A copy of a cleaned-up camera lives a life of its own: its layer's
    // removal cleans it up, and it stops listening then.
    Start();
    LayerAt(0).AddGameObject(copy);
    Step(1);
    copy->MakeActiveListener();
    copy->Destroy();
    Step(1);
    EXPECT_TRUE(copy->IsCleanedUp() && copy->GetLayer() == nullptr && Camera::GetActiveListener() == nullptr);
}

TEST_F(GameTest, TheKeyboardFlightMovesTheSharedPoseAndTurnsFromTheNextStepOn) {
    TestGame& game = Start();
    const Core::RefPtr<Camera> camera = NewCamera();
    Fly(game, *camera, {kKeyR});
    Fly(game, *camera, {os::VK_UP});
    const Vector3D forward = Translation(*camera);
    EXPECT_TRUE(forward.x == 0.0f && forward.y == 0.0f && forward.z == -4.0f);
    Fly(game, *camera, {os::VK_UP, kKeyR});
    const Vector3D reset = Translation(*camera);
    EXPECT_TRUE(reset.x == 0.0f && reset.y == 0.0f && reset.z == 0.0f);

    // A turn about up (Right arrow) shows only at the next step.
    Fly(game, *camera, {os::VK_RIGHT});
    EXPECT_EQ(camera->GetSceneNode()->GetTransformation()[0], 1.0f);
    const Core::RefPtr<Camera> other = NewCamera();
    Fly(game, *other, {});
    EXPECT_NEAR(other->GetSceneNode()->GetTransformation()[0], std::cos(4.0f * 0.0174532924f), 1e-6f)
        << "the pose is every camera's";
    Fly(game, *other, {kKeyR});
}

TEST_F(GameTest, TheViewProjectionOfACameraAt500ProjectsTheOriginToTheCentre) {
    const Core::RefPtr<Camera> camera = NewCamera();
    viewtest::PlaceCamera(*camera, 0.0f, 0.0f, 500.0f);
    Matrix4 viewProjection;
    camera->GetViewProjectionMatrix(viewProjection, 1024, 768);
    const Vector4D clip = viewProjection * Vector4D(0.0f, 0.0f, 0.0f, 1.0f);
    EXPECT_NEAR(clip.x, 0.0f, 1e-4f);
    EXPECT_NEAR(clip.y, 0.0f, 1e-4f);
    EXPECT_NEAR(clip.w, 500.0f, 1e-3f);
}

TEST_F(GameTest, CamerasAndTheListenerComeBackFromStreams) {
    TestGame& game = Start();
    Camera* saved = TUN_NEW(Camera, 30.0f);
    saved->SetName("eye");
    LayerAt(1).AddGameObject(saved);
    Step(1);
    const Core::RefPtr<Camera> clean = NewCamera(70.0f);
    clean->Cleanup();

    Core::MemoryFile file;
    file << game.GetCurrentLevel();
    Camera::SaveActiveListener(file);
    file << clean;
    const Core::RefPtr<Tundra::Level> level = file.ReadObjectAs<Tundra::Level>(Core::File::Reference::Owning);
    Camera::LoadActiveListener(file);
    const Core::RefPtr<Camera> cleanRead = file.ReadObjectAs<Camera>(Core::File::Reference::Owning);
    ASSERT_TRUE(level && cleanRead && !file.HasFailed());
    std::vector<Tundra::GameObject*> objects;
    level->GetGameObjects(nullptr, objects);
    ASSERT_EQ(objects.size(), 1u);
    const auto* read = dynamic_cast<Camera*>(objects[0]);
    ASSERT_TRUE(read != nullptr && read != saved);
    EXPECT_TRUE(read->GetName() == "eye" && read->GetFOV() == 30.0f && read->GetCameraNode()->GetFOV() == 30.0f);
    EXPECT_TRUE(read->IsActiveListener() && !read->IsCleanedUp());
    EXPECT_TRUE(cleanRead->IsCleanedUp() && cleanRead->GetFOV() == 70.0f);
    level->Shutdown();
    EXPECT_EQ(Camera::GetActiveListener(), nullptr);

    // Made by the registry while none listens, then read as cleaned up: no listener.
    const Bytes cleaned = Saved(clean.Get());
    Core::MemoryFile alone(cleaned.data(), static_cast<std::uint32_t>(cleaned.size()));
    EXPECT_TRUE(alone.ReadObjectAs<Camera>() != nullptr && Camera::GetActiveListener() == nullptr);
}
