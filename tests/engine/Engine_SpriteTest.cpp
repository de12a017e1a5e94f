#include "Engine_SceneTestSupport.h"

#include "core/Core_MemoryFile.h"
#include "engine/Engine_RenderingApplication.h"
#include "engine/Engine_Sprite.h"
#include "engine/Engine_TransformationGroup.h"
#include "renderer/Renderer_TextureManager.h"
#include "support/Renderer_OffscreenFixture.h"
#include "support/TempDirectory.h"
#include "support/TestImages.h"
#include "support/VideoDriver.h"

#include <random>

using Core::RefPtr;
using Engine::Sprite;
using Engine::SpriteAnimation;
using enginetest::New;

namespace {

// The placement, the cell and the alpha the renderer held at each draw.
struct ItemSpy : testsupport::RecordingRenderer {
    void DrawIndexRange(std::int32_t first, std::int32_t last) override {
        drawn.emplace_back(GetWorldMatrix().m, GetTextureMatrix(0).m, GetCurrentColor().a);
        RecordingRenderer::DrawIndexRange(first, last);
    }
    std::vector<std::tuple<std::array<float, 16>, std::array<float, 16>, float>> drawn;
};

// Frame i is cell (i, i / 2) of a 256 x 128 sheet of 64 x 32 cells, shown 0.1 s.
RefPtr<SpriteAnimation> Animation(std::uint32_t frames, const char* name = "",
                                  const RefPtr<Renderer::ITexture>& texture = New<testsupport::FakeTexture>(256, 128)) {
    std::vector<Engine::SpriteFrame> list;
    for (std::uint32_t i = 0; i < frames; ++i) {
        list.push_back({i, i / 2, 0.1f});
    }
    const RefPtr<SpriteAnimation> animation = New<SpriteAnimation>(texture, 64, 32, list);
    animation->SetName(name);
    return animation;
}

RefPtr<Sprite> Playing(std::initializer_list<RefPtr<SpriteAnimation>> animations) {
    Core::RefPtrVector<SpriteAnimation> list;
    list.assign(animations.begin(), animations.end());
    const RefPtr<Sprite> sprite = New<Sprite>(list);
    sprite->SetPlaying(true);
    return sprite;
}

Matrix4 Cell(float x, float y, float w, float h) { return Matrix4::Translation(x, y, 0) * Matrix4::Scaling(w, h, 1); }

TEST(Sprites, PlaybackAdvancesOneFrameAtMostAndWrapsAsTheLoopWindowSays) {
    struct Case {
        bool loop;
        std::uint32_t loopStart, loopEnd;
        float speed, dt;
        std::vector<std::uint32_t> frames;
        std::vector<bool> ends;
    };
    for (const Case& c : {Case{true, 1, 2, 1, 0.15f, {1, 2, 1, 2, 1}, {0, 0, 1, 0, 1}},
                          Case{false, 0, 3, 1, 0.15f, {1, 2, 3, 3}, {0, 0, 0, 1}},
                          Case{true, 7, 9, 1, 0.15f, {1, 2, 3, 3}, {0, 0, 0, 1}},  // kept within 4 frames
                          Case{true, 0, 3, 1, 10.0f, {1}, {0}}, Case{true, 0, 3, 0, 1.0f, {0, 0}, {0, 0}},
                          Case{true, 0, 3, 1, 0.06f, {0}, {0}}, Case{true, 0, 3, 2, 0.06f, {1}, {0}}}) {
        const RefPtr<SpriteAnimation> animation = Animation(4);
        animation->SetLoopStartingFrame(c.loopStart);
        animation->SetLoopEndingFrame(c.loopEnd);
        const RefPtr<Sprite> sprite = Playing({animation});
        sprite->SetLoop(c.loop);
        sprite->SetAnimationSpeed(c.speed);
        std::vector<std::uint32_t> frames;
        std::vector<bool> ends;
        for (std::size_t i = 0; i < c.frames.size(); ++i) {
            sprite->Update(c.dt);
            frames.push_back(sprite->GetCurrentFrameIndex());
            ends.push_back(sprite->IsEndOfAnimation());
        }
        EXPECT_EQ(std::tie(frames, ends), std::tie(c.frames, c.ends)) << c.loopStart << " " << c.dt;
        EXPECT_TRUE(sprite->IsPlaying() == c.loop && (c.dt < 1.0f || sprite->GetFrameTimer() == 0.0f));
        sprite->SetPlaying(true);  // an ended sprite starts again
        EXPECT_EQ(sprite->GetCurrentFrameIndex(), c.loop ? frames.back() : 0u);
    }
}

TEST(Sprites, ChoicesOutOfRangeChangeNothing) {
    const RefPtr<Sprite> sprite = Playing({Animation(4, "run"), Animation(2, "jump"), Animation(0, "none")});
    sprite->SetCurrentAnimationName("jump", false);
    sprite->SetCurrentAnimationName("swim", false);
    sprite->SetCurrentFrameIndex(4, true);
    EXPECT_TRUE(sprite->GetCurrentAnimationName() == "run" && sprite->GetCurrentFrameIndex() == 0);
    sprite->SetCurrentAnimationIndex(2, false);
    sprite->SetCurrentAnimationIndex(3, true);
    EXPECT_EQ(std::tuple(sprite->GetCurrentAnimationIndex(), sprite->GetCurrentFrame()),
              std::tuple(2u, Engine::SpriteFrame{}));
    EXPECT_TRUE(!sprite->GetAnimation(3) && sprite->GetAnimation(0)->GetFrame(4) == Engine::SpriteFrame{});
    const RefPtr<Sprite> clone(static_cast<Sprite*>(sprite->Clone()));
    EXPECT_TRUE(clone->GetAnimation(1) == sprite->GetAnimation(1) && clone->GetCurrentAnimationIndex() == 2);
    BoundingBox box;
    Playing({Animation(1)})->GetWorldBoundingVolume(box);  // outside a tree: placed at the origin
    EXPECT_TRUE(box.corners[0].x == 32 && box.corners[0].y == 16);
}

TEST(Sprites, QueuedAsTheFrameCellScaledToTheFrameWhenSomethingCanBeDrawn) {
    const RefPtr<ItemSpy> renderer = New<ItemSpy>();
    const RefPtr<Engine::SceneGraph> scene = New<Engine::SceneGraph>(renderer.Get());
    const RefPtr<Engine::TransformationGroup> eye = New<Engine::TransformationGroup>(),
                                              far = New<Engine::TransformationGroup>();
    eye->SetTransformation(Matrix4::Translation(0, 0, 500));
    far->SetTransformation(Matrix4::Translation(100000, 0, 0));
    const RefPtr<Engine::Camera> camera = New<Engine::Camera>(45.0f, 1.0f, 1000.0f);
    const RefPtr<Sprite> sprite = Playing({Animation(6)}), outside = Playing({Animation(1)});
    eye->AddChild(camera);
    far->AddChild(outside);
    for (const RefPtr<Engine::Node>& node : std::initializer_list<RefPtr<Engine::Node>>{
             eye, far, sprite, New<Sprite>(), Playing({Animation(1, "", nullptr)}),
             Playing({Animation(1, "", New<testsupport::FakeTexture>(0, 16))})}) {
        scene->AddChild(node);
    }
    scene->SetViewportCount(1);
    scene->UpdateAsCurrent(0.0f);
    sprite->SetCurrentFrameIndex(2, false);  // column 2, row 1
    sprite->SetModulationColor({0.5f, 1, 1, 0});
    sprite->SetOpacity(0.25f);
    const auto draw = [&] {
        renderer->drawn.clear();
        scene->Render(camera, New<Engine::Viewport>(0, 0, 640, 480));
        return renderer->drawn;
    };
    const Matrix4 cell = Cell(0.5f, 0.25f, 0.25f, 0.25f);
    EXPECT_EQ(draw(), (std::vector{std::tuple(Cell(0, 0, 64, 32).m, cell.m, 0.25f)}));
    sprite->SetFlipHorizontal(true);
    outside->SetHUDObject(true);
    EXPECT_EQ(draw(), (std::vector{std::tuple(Cell(0, 0, -64, 32).m, cell.m, 0.25f),
                                   std::tuple(Cell(100000, 0, 64, 32).m, Cell(0, 0, 0.25f, 0.25f).m, 1.0f)}));
}

TEST(SpriteStream, HostileStreamsNeverCrash) {
    const RefPtr<Sprite> source = Playing({Animation(3, "walk"), Animation(2, "idle")});
    Core::MemoryFile written;
    written << source;
    const std::vector<std::uint8_t> valid(written.GetData(), written.GetData() + written.GetSize());
    std::mt19937 random(1103);
    for (std::size_t round = 0; round < valid.size() + 4000; ++round) {
        std::vector<std::uint8_t> bytes(valid.begin(), valid.begin() + std::min(round, valid.size()));
        for (int change = 0; change < 3 && round >= valid.size(); ++change) {
            bytes[random() % bytes.size()] = static_cast<std::uint8_t>(random());
        }
        Core::MemoryFile file(bytes.data(), static_cast<std::uint32_t>(bytes.size()));
        if (const RefPtr<Sprite> sprite = file.ReadObjectAs<Sprite>(Core::File::Reference::Owning)) {
            sprite->Update(0.2f);
        }
    }
}

using SpriteSheets = testsupport::OffscreenRendererTest;

TEST_F(SpriteSheets, CellRowsCountFromTheImagesBottom) {
    const testsupport::TempDirectory files;
    const RefPtr<Engine::SceneGraph> scene(TUN_NEW(Engine::SceneGraph, &Renderer()));
    // 8 x 8 cells, red and green on top, blue and yellow below; frames (0, 0) and (1, 1).
    testsupport::Rgba cells[2][2] = {{{255, 0, 0, 255}, {0, 255, 0, 255}}, {{0, 0, 255, 255}, {255, 255, 0, 255}}};
    const std::string path = files.Path() + "/sheet.png";
    testsupport::SavePng(testsupport::MakeImage(16, 16, [&](auto x, auto y) { return cells[y / 8][x / 8]; }), path);
    const RefPtr<Sprite> sprite = Playing({New<SpriteAnimation>(
        TextureManager::GetTexture(path.c_str(), true), 8, 8, std::vector<Engine::SpriteFrame>{{0, 0, 1}, {1, 1, 1}})});
    sprite->SetHUDObject(true);
    scene->SetViewportCount(1);
    for (const auto& [frame, colour] : {std::pair(0u, cells[1][0]), std::pair(1u, cells[0][1])}) {
        sprite->SetCurrentFrameIndex(frame, false);
        sprite->DrawSelf();
        scene->FlushRenderQueue();
        EXPECT_EQ(PixelAt(kWidth / 2, kHeight / 2), colour) << frame;
    }
}

TEST(SpriteTextures, ReadBackThroughTheAnimationDirectoryAndTheFileName) {
    const testsupport::ScopedVideoDriver driver("offscreen");
    const RefPtr<Engine::RenderingApplication> application(
        TUN_NEW(Engine::RenderingApplication, Engine::StartupSettings{64, 48, 60, 0, false, false}));
    application->SetAnimationDirectory("/missing/Animations");
    const auto sheet = [](const char* name) { return Animation(2, name, TextureManager::GetTexture(name, true)); };
    const RefPtr<SpriteAnimation> walk = sheet("/missing/Animations\\walk.png"),
                                  idle = sheet("/missing/Animations\\idle.png"), moved = sheet("C:\\Saves\\idle.png");
    const RefPtr<Sprite> sprite = Playing({walk, idle});
    sprite->SetCurrentAnimationIndex(1, false);
    sprite->SetFlipHorizontal(true);
    sprite->Update(0.05f);
    Core::MemoryFile written, again;
    written << sprite << moved;
    Core::MemoryFile reading(written.GetData(), written.GetSize());
    const RefPtr<Sprite> read = reading.ReadObjectAs<Sprite>(Core::File::Reference::Owning);
    ASSERT_TRUE(read && read->GetAnimationsCount() == 2);
    again << read;  // every stored field came back
    EXPECT_EQ(std::vector(again.GetData(), again.GetData() + again.GetSize()),
              std::vector(written.GetData(), written.GetData() + std::min(again.GetSize(), written.GetSize())));
    EXPECT_TRUE(read->GetAnimation(0)->GetTexture() == walk->GetTexture() &&
                read->GetAnimation(1)->GetTexture() == idle->GetTexture());
    // Saved on another machine: only the file name counts.
    const RefPtr<SpriteAnimation> found = reading.ReadObjectAs<SpriteAnimation>(Core::File::Reference::Owning);
    EXPECT_EQ(found ? found->GetTexture() : nullptr, idle->GetTexture());
}

}  // namespace
