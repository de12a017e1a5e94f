#include "Engine_SceneTestSupport.h"

#include "core/Core_MemoryFile.h"
#include "engine/Engine_Sprite.h"
#include "engine/Engine_TransformationGroup.h"

#include <random>
#include <tuple>

using Core::RefPtr;
using Engine::Sprite;
using Engine::SpriteAnimation;
using enginetest::New;

namespace {

// What the renderer held at each draw.
struct ItemSpy : testsupport::RecordingRenderer {
    void DrawIndexRange(std::int32_t first, std::int32_t last) override {
        drawn.push_back({GetWorldMatrix(), GetTextureMatrix(0), GetCurrentColor(), first});
        RecordingRenderer::DrawIndexRange(first, last);
    }
    std::vector<std::tuple<Matrix4, Matrix4, Color, std::int32_t>> drawn;
};

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

class Sprites : public testing::Test {
protected:
    // Draws the sprite through the queue; what each draw held.
    auto Draw(Sprite& sprite) {
        renderer->drawn.clear();
        scene->SetViewportCount(1);
        sprite.DrawSelf();
        scene->GetRenderQueue().Flush();
        scene->GetRenderQueue().EndFrame();
        return renderer->drawn;
    }
    RefPtr<ItemSpy> renderer = New<ItemSpy>();
    RefPtr<Engine::SceneGraph> scene = New<Engine::SceneGraph>(renderer.Get());
};

TEST_F(Sprites, PlaybackAdvancesOneFrameAtMostAndWrapsAsTheLoopWindowSays) {
    struct Case {
        bool loop;
        std::uint32_t loopStart, loopEnd;
        float speed, dt;
        std::vector<std::uint32_t> frames;
        std::vector<bool> ends;
    };
    const Case cases[] = {
        {true, 1, 2, 1, 0.15f, {1, 2, 1, 2, 1}, {0, 0, 1, 0, 1}},
        {false, 0, 3, 1, 0.15f, {1, 2, 3, 3}, {0, 0, 0, 1}},
        {true, 7, 9, 1, 0.15f, {1, 2, 3, 3}, {0, 0, 0, 1}},  // the window kept within 4 frames
        {true, 0, 3, 1, 10.0f, {1}, {0}},
        {true, 0, 3, 0, 1.0f, {0, 0}, {0, 0}},
        {true, 0, 3, 1, 0.06f, {0}, {0}},
        {true, 0, 3, 2, 0.06f, {1}, {0}},
    };
    for (const Case& c : cases) {
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
        EXPECT_EQ(sprite->IsPlaying(), c.loop);
        EXPECT_TRUE(c.dt < 1.0f || sprite->GetFrameTimer() == 0.0f);
    }
}

TEST_F(Sprites, StoppingPausingAndChoosingFramesAndAnimations) {
    const RefPtr<Sprite> sprite = Playing({Animation(4, "run"), Animation(2, "jump"), Animation(0, "none")});
    sprite->SetLoop(false);
    for (int i = 0; i < 4; ++i) {
        sprite->Update(0.15f);
    }
    EXPECT_TRUE(!sprite->IsPlaying() && sprite->IsEndOfAnimation() && sprite->GetCurrentFrameIndex() == 3);
    sprite->SetPlaying(true);
    EXPECT_TRUE(sprite->IsPlaying() && sprite->GetCurrentFrameIndex() == 0);
    sprite->Pause();
    sprite->Update(1.0f);
    EXPECT_TRUE(sprite->IsPaused() && sprite->GetCurrentFrameIndex() == 0);
    sprite->SetCurrentFrameIndex(4, true);
    EXPECT_EQ(sprite->GetCurrentFrameIndex(), 0u);
    sprite->GoToLastFrame(false);
    EXPECT_EQ(sprite->GetCurrentFrame(), (Engine::SpriteFrame{3, 1, 0.1f}));
    sprite->SetCurrentAnimationName("jump", false);
    EXPECT_TRUE(sprite->GetCurrentAnimationIndex() == 1 && sprite->GetCurrentFrameIndex() == 0);
    sprite->SetCurrentAnimationName("swim", false);
    EXPECT_EQ(sprite->GetCurrentAnimationName(), "run");
    sprite->SetCurrentAnimationIndex(2, false);  // no frames: the frame stays
    sprite->SetCurrentAnimationIndex(3, true);
    EXPECT_EQ(std::tuple(sprite->GetCurrentAnimationIndex(), sprite->GetCurrentFrame()),
              std::tuple(2u, Engine::SpriteFrame{}));
    EXPECT_TRUE(!sprite->GetAnimation(3) && sprite->GetAnimation(0)->GetFrame(4) == Engine::SpriteFrame{});
    const RefPtr<Sprite> clone(static_cast<Sprite*>(sprite->Clone()));
    EXPECT_TRUE(clone->GetAnimation(1) == sprite->GetAnimation(1) && clone->GetCurrentAnimationIndex() == 2);
}

TEST_F(Sprites, ItemIsTheFrameCellScaledToTheFrameWithTheOpacityAsAlpha) {
    const RefPtr<Engine::TransformationGroup> place = New<Engine::TransformationGroup>();
    place->SetTransformation(Matrix4::Translation(10, 20, 0));
    scene->AddChild(place);
    const RefPtr<Sprite> sprite = Playing({Animation(6)});
    place->AddChild(sprite);
    scene->UpdateAsCurrent(0.0f);
    sprite->SetCurrentFrameIndex(5, false);  // column 5, row 2: eight bits of a 256 x 128 sheet
    sprite->SetHUDObject(true);
    sprite->SetModulationColor({0.5f, 1, 1, 0});
    sprite->SetOpacity(0.25f);
    const Matrix4 cell = Matrix4::Translation(1.25f, 0.5f, 0) * Matrix4::Scaling(0.25f, 0.25f, 1);
    const auto item = Draw(*sprite);
    ASSERT_EQ(item.size(), 1u);
    EXPECT_EQ(std::get<0>(item[0]).m, (Matrix4::Translation(10, 20, 0) * Matrix4::Scaling(64, 32, 1)).m);
    EXPECT_EQ(std::get<1>(item[0]).m, cell.m);
    const Color colour = std::get<2>(item[0]);
    EXPECT_EQ(std::tuple(colour.r, colour.a, std::get<3>(item[0])), std::tuple(0.5f, 0.25f, 0));  // sub-range 0
    sprite->SetCurrentFrameIndex(2, false);  // the sheet's column 2, row 1
    EXPECT_EQ(sprite->GetFrameTextureMatrix().m,
              (Matrix4::Translation(0.5f, 0.25f, 0) * Matrix4::Scaling(0.25f, 0.25f, 1)).m);
    sprite->SetFlipHorizontal(true);
    const auto flipped = Draw(*sprite);
    EXPECT_EQ(std::get<0>(flipped.at(0)).m, (Matrix4::Translation(10, 20, 0) * Matrix4::Scaling(-64, 32, 1)).m);
    EXPECT_EQ(std::get<1>(flipped[0]).m, sprite->GetFrameTextureMatrix().m);
}

TEST_F(Sprites, OnlyWhatCanBeDrawnIsQueued) {
    const RefPtr<Engine::TransformationGroup> far = New<Engine::TransformationGroup>(), eye = New<Engine::TransformationGroup>();
    far->SetTransformation(Matrix4::Translation(100000, 0, 0));
    eye->SetTransformation(Matrix4::Translation(0, 0, 500));
    const RefPtr<Engine::Camera> camera = New<Engine::Camera>(45.0f, 1.0f, 1000.0f);
    scene->AddChild(far);
    scene->AddChild(eye);
    eye->AddChild(camera);
    const RefPtr<Sprite> outside = Playing({Animation(1)}), inside = Playing({Animation(1)});
    far->AddChild(outside);
    scene->AddChild(inside);
    scene->AddChild(New<Sprite>());  // made by class name: no animations
    scene->AddChild(Playing({Animation(1, "", nullptr)}));
    scene->AddChild(Playing({Animation(1, "", New<testsupport::FakeTexture>(0, 16))}));
    scene->SetViewportCount(1);
    scene->UpdateAsCurrent(1.0f);
    const auto drawn = [&] {
        renderer->drawn.clear();
        scene->Render(camera, New<Engine::Viewport>(0, 0, 640, 480));
        return renderer->drawn.size();
    };
    EXPECT_EQ(drawn(), 1u);
    outside->SetHUDObject(true);
    EXPECT_EQ(drawn(), 2u);
    inside->SetVisible(false, false);
    EXPECT_EQ(drawn(), 1u);
    const RefPtr<Sprite> orphan = Playing({Animation(1)});
    orphan->SetHUDObject(true);
    EXPECT_EQ(std::get<0>(Draw(*orphan).at(0)).m, Matrix4::Scaling(64, 32, 1).m);
}

// A sprite with two animations, one shared by a second sprite, every field off its default.
std::vector<std::uint8_t> Stream(const RefPtr<Renderer::ITexture>& texture) {
    const RefPtr<SpriteAnimation> walk = Animation(3, "walk", texture), idle = Animation(2, "idle", texture);
    walk->SetLoopStartingFrame(1);
    const RefPtr<Sprite> sprite = Playing({walk, idle}), twin = Playing({idle});
    sprite->SetCurrentAnimationIndex(1, false);
    sprite->Update(0.15f);
    sprite->SetLoop(false);
    sprite->SetFlipVertical(true);
    sprite->SetOpacity(0.5f);
    sprite->SetModulationColor({0.1f, 0.2f, 0.3f, 0.4f});
    sprite->SetAnimationSpeed(3.0f);
    Core::MemoryFile file;
    file << sprite << twin;
    return {file.GetData(), file.GetData() + file.GetSize()};
}

TEST(SpriteStream, HostileStreamsNeverCrash) {
    const std::vector<std::uint8_t> valid = Stream(New<testsupport::FakeTexture>(64, 64));
    std::mt19937 random(1103);
    for (std::size_t round = 0; round < valid.size() + 4000; ++round) {
        std::vector<std::uint8_t> bytes(valid.begin(), valid.begin() + std::min(round, valid.size()));
        for (int change = 0; change < 3 && round >= valid.size(); ++change) {
            const std::size_t at = random() % (bytes.size() - 3);
            const std::uint32_t value = random() % 2 == 0 ? random() : std::uint32_t(random() % 3) - 1;
            for (std::size_t i = 0; i < (value > 255 ? 4 : 1); ++i) {
                bytes[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
            }
        }
        Core::MemoryFile file(bytes.data(), static_cast<std::uint32_t>(bytes.size()));
        if (const RefPtr<Sprite> sprite = file.ReadObjectAs<Sprite>(Core::File::Reference::Owning)) {
            sprite->Update(0.2f);
            sprite->DrawSelf();
            sprite->GetCurrentFrame();
        }
    }
}

}  // namespace
