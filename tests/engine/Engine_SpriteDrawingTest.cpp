#include "core/Core_MemoryFile.h"
#include "engine/Engine_RenderingApplication.h"
#include "engine/Engine_SceneGraph.h"
#include "engine/Engine_Sprite.h"
#include "engine/Engine_TransformationGroup.h"
#include "renderer/Renderer_TextureManager.h"
#include "support/Renderer_OffscreenFixture.h"
#include "support/TempDirectory.h"
#include "support/TestImages.h"
#include "support/VideoDriver.h"

#include <filesystem>

using Core::RefPtr;
using Engine::Sprite;
using Engine::SpriteAnimation;

// Sheets decoded from image files and drawn, and sprites read back with their textures.
namespace {

// A 16 x 16 sheet of 8 x 8 cells: red and green on top, blue and yellow below.
const testsupport::Rgba kCells[2][2] = {{{255, 0, 0, 255}, {0, 255, 0, 255}}, {{0, 0, 255, 255}, {255, 255, 0, 255}}};

RefPtr<SpriteAnimation> Sheet(const std::string& path, std::vector<Engine::SpriteFrame> frames) {
    testsupport::SavePng(testsupport::MakeImage(16, 16, [](auto x, auto y) { return kCells[y / 8][x / 8]; }), path);
    return RefPtr<SpriteAnimation>(TUN_NEW(SpriteAnimation, TextureManager::GetTexture(path.c_str(), true), 8, 8, frames));
}

RefPtr<Sprite> Showing(const RefPtr<SpriteAnimation>& animation) {
    Core::RefPtrVector<SpriteAnimation> animations;
    animations.push_back(animation);
    return RefPtr<Sprite>(TUN_NEW(Sprite, animations));
}

using SpriteSheets = testsupport::OffscreenRendererTest;

TEST_F(SpriteSheets, CellRowsCountFromTheImagesBottom) {
    const testsupport::TempDirectory files;
    const RefPtr<Engine::SceneGraph> scene(TUN_NEW(Engine::SceneGraph, &Renderer()));
    const RefPtr<Engine::TransformationGroup> place(TUN_NEW(Engine::TransformationGroup));
    place->SetTransformation(Matrix4::Scaling(4, 4, 1));
    const RefPtr<Sprite> sprite = Showing(Sheet(files.Path() + "/sheet.png", {{0, 0, 1}, {1, 1, 1}}));
    scene->AddChild(place);
    place->AddChild(sprite);
    sprite->SetHUDObject(true);
    scene->SetViewportCount(1);
    scene->UpdateAsCurrent(0.0f);
    for (const auto& [frame, colour] : {std::pair(0u, kCells[1][0]), std::pair(1u, kCells[0][1])}) {
        sprite->SetCurrentFrameIndex(frame, false);
        sprite->DrawSelf();
        scene->GetRenderQueue().Flush();
        scene->GetRenderQueue().EndFrame();
        EXPECT_EQ(PixelAt(kWidth / 2, kHeight / 2), colour) << frame;
    }
}

struct Application : Engine::RenderingApplication {
    Application() : RenderingApplication({64, 48, 60, 0, false, false}) {}
};

std::vector<std::uint8_t> Bytes(const Core::MemoryFile& file) { return {file.GetData(), file.GetData() + file.GetSize()}; }

TEST(SpriteTextures, ReadBackThroughTheAnimationDirectoryAndTheFileName) {
    const testsupport::ScopedVideoDriver driver("offscreen");
    const testsupport::TempDirectory files;
    std::filesystem::create_directories(files.Path() + "/Animations/elsewhere");
    const RefPtr<Application> application(TUN_NEW(Application));
    application->SetAnimationDirectory((files.Path() + "/Animations").c_str());
    const std::string directory = files.Path() + "/Animations\\";
    Core::RefPtrVector<SpriteAnimation> animations;
    animations.push_back(Sheet(directory + "walk.png", {{0, 0, 0.1f}, {1, 0, 0.2f}}));
    animations.push_back(Sheet(directory + "idle.png", {{1, 1, 0.3f}}));
    animations[1]->SetName("idle");
    animations[1]->SetLoopEndingFrame(7);
    const RefPtr<Sprite> sprite(TUN_NEW(Sprite, animations));
    sprite->SetName("hero");
    sprite->SetOpacity(0.5f);
    sprite->SetCurrentAnimationIndex(1, false);
    sprite->SetModulationColor({0.1f, 0.2f, 0.3f, 0.4f});
    sprite->SetFlipHorizontal(true);
    sprite->SetPlaying(true);
    sprite->Update(0.1f);
    Core::MemoryFile written;
    written << sprite;
    Core::MemoryFile reading(written.GetData(), written.GetSize());
    const RefPtr<Sprite> read = reading.ReadObjectAs<Sprite>(Core::File::Reference::Owning);
    ASSERT_TRUE(read && read->GetAnimationsCount() == 2);
    for (std::uint32_t i = 0; i < 2; ++i) {
        EXPECT_EQ(read->GetAnimation(i)->GetTexture(), animations[i]->GetTexture());
    }
    Core::MemoryFile again;
    again << read;
    EXPECT_EQ(Bytes(again), Bytes(written));

    // Saved on another machine: only the file name counts.
    const RefPtr<SpriteAnimation> moved = Sheet(files.Path() + "/Animations/elsewhere/idle.png", {{0, 0, 1}});
    Core::MemoryFile away;
    away << moved;
    Core::MemoryFile back(away.GetData(), away.GetSize());
    const RefPtr<SpriteAnimation> found = back.ReadObjectAs<SpriteAnimation>(Core::File::Reference::Owning);
    EXPECT_EQ(found ? found->GetTexture() : nullptr, animations[1]->GetTexture());
}

}  // namespace
