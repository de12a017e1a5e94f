#include "engine/Engine_SceneGraph.h"
#include "renderer/Renderer_TextureManager.h"
#include "support/Renderer_OffscreenFixture.h"
#include "support/TempDirectory.h"
#include "support/TestImages.h"
#include "tundra/Tundra_Sprite.h"
#include "tundra/Tundra_SpriteAnimation.h"

using Core::RefPtr;
using Engine::SpriteFrame;
using Tundra::SpriteAnimation;

namespace {

std::vector<SpriteFrame> Frames(const SpriteAnimation& animation) {
    std::vector<SpriteFrame> frames;
    for (std::uint32_t i = 0; i < animation.GetEngineAnimation()->GetFramesCount(); ++i) {
        frames.push_back(animation.GetEngineAnimation()->GetFrame(i));
    }
    EXPECT_EQ(frames, animation.GetFrames());
    return frames;
}

TEST(SpriteAnimations, DelaysFillTheGridRowByRowAndBadGridsCountAsOne) {
    ASSERT_FALSE(TextureManager::Exists());
    struct Case {
        int columns, rows;
        std::vector<SpriteFrame> frames;
    };
    for (const Case& c : {Case{4, 2, {{0, 0, 0.1f}, {1, 0, 0.2f}, {2, 0, 0.3f}, {3, 0, 0.4f}, {0, 1, 0.5f},
                                      {1, 1, 0.6f}}},
                          Case{0, 0, {{0, 0, 0.1f}, {0, 1, 0.2f}, {0, 2, 0.3f}}},
                          Case{-3, 1, {{0, 0, 0.1f}}}}) {
        std::vector<float> delays;
        for (const SpriteFrame& frame : c.frames) {
            delays.push_back(frame.delay);
        }
        const RefPtr<SpriteAnimation> animation = TUN_NEW(SpriteAnimation, "missing.png", c.columns, c.rows, delays);
        EXPECT_EQ(Frames(*animation), c.frames) << c.columns;
        // No renderer, no texture: frames of no size.
        EXPECT_EQ(animation->GetFrameWidth(), 0);
        EXPECT_EQ(animation->GetEngineAnimation()->GetFrameHeight(), 0u);
        EXPECT_EQ(animation->GetTextureName(), "");
    }
    const RefPtr<SpriteAnimation> animation = TUN_NEW(SpriteAnimation, "missing.png", 2, 1, std::vector{0.1f, 0.1f});
    animation->SetName("walk");
    animation->SetLoopStartingFrame(1);
    animation->SetLoopEndingFrame(1);
    EXPECT_EQ(animation->GetEngineAnimation()->GetName(), "walk");
    EXPECT_EQ(animation->GetEngineAnimation()->GetLoopStartingFrame(), 1u);
    EXPECT_EQ(animation->GetEngineAnimation()->GetLoopEndingFrame(), 1u);
}

class SpriteSheets : public testsupport::OffscreenRendererTest {
protected:
    // A sheet whose top half is red and bottom half blue.
    std::string Sheet(std::uint32_t width, std::uint32_t height) {
        const std::string path = m_files.Path() + "/sheet" + std::to_string(width) + ".png";
        testsupport::SavePng(testsupport::MakeImage(width, height,
                                                    [height](auto, auto y) {
                                                        return y < height / 2 ? testsupport::Rgba{255, 0, 0, 255}
                                                                              : testsupport::Rgba{0, 0, 255, 255};
                                                    }),
                             path);
        return path;
    }

    testsupport::TempDirectory m_files;
};

TEST_F(SpriteSheets, FramesAreTheSheetDividedByTheGridDroppingTheRemainder) {
    const std::string path = Sheet(100, 30);
    for (const auto& [columns, width] : {std::pair(3, 33), std::pair(1, 100)}) {
        const RefPtr<SpriteAnimation> animation = TUN_NEW(SpriteAnimation, path.c_str(), columns, 1, std::vector{0.1f});
        EXPECT_EQ(animation->GetFrameWidth(), width);
        EXPECT_EQ(animation->GetFrameHeight(), 30);
        EXPECT_EQ(animation->GetEngineAnimation()->GetFrameWidth(), static_cast<std::uint32_t>(width));
        EXPECT_EQ(animation->GetTextureName(), path.c_str());
        EXPECT_EQ(animation->GetEngineAnimation()->GetTexture(), TextureManager::GetTexture(path.c_str(), true));
    }
}

TEST_F(SpriteSheets, FrameZeroIsTheBottomLeftCellAndRowOneLiesAboveIt) {
    const RefPtr<Engine::SceneGraph> scene(TUN_NEW(Engine::SceneGraph, &Renderer()));
    scene->SetViewportCount(1);
    const std::vector<RefPtr<SpriteAnimation>> animations{
        TUN_NEW(SpriteAnimation, Sheet(16, 16).c_str(), 2, 2, std::vector{1.0f, 1.0f, 1.0f})};
    const RefPtr<Tundra::Sprite> sprite = TUN_NEW(Tundra::Sprite, animations);
    sprite->SetHUDObject(true);
    sprite->RenderSync(0.0f);
    for (const auto& [frame, colour] : {std::pair(0, testsupport::Rgba{0, 0, 255, 255}),
                                        std::pair(2, testsupport::Rgba{255, 0, 0, 255})}) {
        sprite->SetCurrentFrameIndex(frame, false);
        sprite->GetEngineSprite()->DrawSelf();
        scene->FlushRenderQueue();
        EXPECT_EQ(PixelAt(kWidth / 2, kHeight / 2), colour) << frame;
    }
}

}  // namespace
