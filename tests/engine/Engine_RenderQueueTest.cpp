#include "Engine_SceneTestSupport.h"

#include "renderer/Renderer_DefaultEffects.h"
#include "renderer/Renderer_States.h"

#include <algorithm>
#include <array>
#include <limits>
#include <tuple>

using Core::RefPtr;
using Engine::Mesh;
using enginetest::New;

namespace {

using Meshes = enginetest::SceneTest;

RefPtr<Renderer::ITexture> Texture() { return New<testsupport::FakeTexture>(8, 8); }

TEST_F(Meshes, BindHandsOverWhatTheMeshHasAndDrawsOnlyRangesItHas) {
    const RefPtr<Mesh> mesh = New<Mesh>();
    mesh->AddVertex({1, 2, 3});
    mesh->OverrideVertices().push_back({7, 8, 9});
    mesh->SecondaryColors() = {{0.1f, 0.2f, 0.3f, 0.4f}, {0.5f, 0.6f, 0.7f, 0.8f}};
    mesh->SetPrimitiveType(1);
    mesh->BindArrays(*renderer);
    // No indices: no index call. No colours: none even with secondary colours.
    EXPECT_EQ(Calls({"Set"}), (std::vector<std::string>{"SetVertexArray", "SetNormalArray", "SetColorArray",
                                                        "SetSecondaryColorArray", "SetTexCoordArray 0",
                                                        "SetPrimitiveType 1"}));
    const float* packed = renderer->SecondaryColorArray();
    EXPECT_EQ(std::vector<float>(packed, packed + 6), (std::vector<float>{0.1f, 0.2f, 0.3f, 0.5f, 0.6f, 0.7f}));
    EXPECT_EQ(renderer->VertexArray()[0], 7.0f);
    Mesh::UnbindArrays(*renderer);
    mesh->Clear();
    mesh->AddVertex({4, 5, 6});
    mesh->BindArrays(*renderer);
    EXPECT_TRUE(renderer->VertexArray()[0] == 4.0f && renderer->Count("SetIndexArray32") == 1);
    renderer->ClearCalls();
    mesh->AddSubRange({4, 9, -1, 1});
    mesh->DrawSubRange(*renderer, 0);
    mesh->DrawSubRangeIndexed(*renderer, 0);
    EXPECT_EQ(renderer->Calls(), (std::vector<std::string>{"DrawIndexRange 4 9", "DrawElements 4 4 6"}));
    EXPECT_DEBUG_DEATH(mesh->DrawSubRange(*renderer, 1), "out of range");
    EXPECT_DEBUG_DEATH(mesh->SetVertex(1, {1, 1, 1}), "out of range");
}

TEST_F(Meshes, CloneOwnsEffectsSharesBuffersAndClearKeepsWhatItShould) {
    struct NoBuffer : Renderer::Buffer {
        bool HasIndices32() const override { return true; }
        void Bind() override {}
        void Unbind() override {}
        const void* GetIndexAddress() const override { return nullptr; }
    };
    const RefPtr<Mesh> mesh = New<Mesh>();
    mesh->AddEffect(Renderer::CreateDefaultEffect());
    std::tie(mesh->VertexBuffer(), mesh->IndexBuffer()) = std::tuple(New<NoBuffer>(), New<NoBuffer>());
    mesh->FurtherPairs().push_back({1, 2});
    mesh->SetPrimitiveType(5);
    const RefPtr<Mesh> clone(static_cast<Mesh*>(mesh->Clone()));
    EXPECT_NE(clone->GetEffects()[0], mesh->GetEffects()[0]);
    EXPECT_TRUE(clone->VertexBuffer() == mesh->VertexBuffer() && clone->IndexBuffer() == mesh->IndexBuffer());
    mesh->Clear();
    EXPECT_TRUE(mesh->GetEffects().empty() && clone->GetEffects().size() == 1);
    EXPECT_TRUE(mesh->VertexBuffer() && mesh->FurtherPairs().size() == 1 && mesh->GetPrimitiveType() == 5);
}

TEST(TextRenderContext, NewOrResetIsAnUndrawableQuadAndCopiesCountTheirReferences) {
    const RefPtr<Renderer::Effect> effect = Renderer::CreateTextureDepthEffect();
    const RefPtr<Renderer::ITexture> texture = Texture();
    Engine::TextRenderContext context;
    for (int round = 0; round < 2; ++round) {
        EXPECT_TRUE(context.IsVisible() && !context.IsDrawable() && context.GetPrimitiveType() == 4);
        EXPECT_EQ(std::vector<std::uint16_t>(context.GetIndices(), context.GetIndices() + 6),
                  (std::vector<std::uint16_t>{0, 1, 2, 0, 2, 3}));
        EXPECT_EQ(std::vector<float>(&context.GetColor().r, &context.GetColor().r + 4),
                  (std::vector<float>{0, 0, 0, 1}));
        std::tie(context.effect, context.texture, context.visible) = std::tuple(effect, texture, 0);
        {
            const Engine::TextRenderContext copy = context;
            EXPECT_EQ(effect->GetReferenceCount() + texture->GetReferenceCount(), 6u);
        }
        context.Reset();
        EXPECT_EQ(effect->GetReferenceCount() + texture->GetReferenceCount(), 2u);
    }
}

// A mesh of single-index ranges 0, 1, 2 with the given flag.
RefPtr<Mesh> Ranges(std::uint8_t flag) {
    RefPtr<Mesh> mesh = New<Mesh>();
    for (std::uint32_t i = 0; i < 3; ++i) {
        mesh->AddSubRange({i, i, -1, flag});
        mesh->AddIndex(i);
    }
    return mesh;
}

RenderItem SpriteItem(float z, float red, bool screen = false, const RefPtr<Renderer::ITexture>& texture = Texture()) {
    RenderItem item;
    std::tie(item.sprite, item.screenSpace, item.subRange, item.texture, item.worldMatrix, item.color) =
        std::tuple(true, screen, 0, texture, Matrix4::Translation(0, 0, z), Color(red, 1, 1, 1));
    return item;
}

class Queues : public enginetest::SceneTest {
protected:
    void Submit(RenderItem item) { Queue().Submit(item); }
    void Viewport(std::uint32_t count, std::uint32_t index) {
        scene->SetViewportCount(count);
        scene->SetViewportIndex(index);
    }
    std::string Lists() {
        return std::to_string(Queue().GetOpaqueCount()) + std::to_string(Queue().GetBlendedCount()) +
               std::to_string(Queue().GetOverlayCount());
    }
};

TEST_F(Queues, SubmitFilesEachItemByHowItIsDrawnIntoTheNewestQueue) {
    struct Case {
        bool sprite, screenSpace;
        int meshFlag;  // -1: no mesh
        std::int32_t subRange;
        std::uint32_t primitive, viewports, index;
        const char* lists;  // opaque, blended and overlay counts afterwards
    };
    const Case cases[] = {
        {true, false, -1, 0, 4, 2, 0, "010"},  {true, true, -1, 0, 4, 2, 0, "010"},
        {true, true, -1, 0, 4, 2, 1, "011"},   {true, true, -1, 0, 4, 1, 0, "012"},
        {false, false, 0, 0, 4, 1, 0, "112"},  {false, false, 1, 0, 4, 1, 0, "122"},
        {false, false, -1, 0, 4, 1, 0, "122"}, {false, false, -1, 0, 1, 1, 0, "132"},
        {false, false, 0, 3, 4, 1, 0, "132"},  {false, false, 0, -1, 4, 1, 0, "132"},
        {false, true, 0, 0, 4, 0, 0, "133"},  // no viewport count: one viewport
    };
    const RefPtr<Renderer::Effect> text = Renderer::CreateTextEffect();
    for (const Case& c : cases) {
        Viewport(c.viewports, c.index);
        RenderItem item;
        std::tie(item.sprite, item.screenSpace, item.effect, item.subRange, item.primitiveType) =
            std::tuple(c.sprite, c.screenSpace, text, c.subRange, c.primitive);
        item.mesh = c.meshFlag < 0 ? nullptr : Ranges(static_cast<std::uint8_t>(c.meshFlag));
        Queue().Submit(item);
        EXPECT_EQ(Lists(), c.lists) << &c - cases;
        EXPECT_TRUE(!c.sprite || item.mesh == Queue().GetSpriteQuad());
    }
    Engine::TextRenderContext bare;
    Queue().SubmitBackground(bare);
    EXPECT_TRUE(Queue().GetBackgroundCount() == 0 && bare.effect == nullptr);
    // The overlay lasts until the last viewport ends.
    Viewport(2, 0);
    Queue().EndFrame();
    EXPECT_EQ(Lists(), "003");
    Viewport(2, 1);
    Queue().EndFrame();
    EXPECT_EQ(Lists(), "000");

    // The instance is the newest live queue; a dying scene graph stops being current.
    EXPECT_EQ(RenderQueue::GetInstance(), &Queue());
    {
        const RefPtr<Engine::SceneGraph> copy(static_cast<Engine::SceneGraph*>(scene->Clone()));
        EXPECT_EQ(RenderQueue::GetInstance(), &copy->GetRenderQueue());
        EXPECT_EQ(Engine::SceneGraph::GetCurrent(), copy.Get());
    }
    EXPECT_TRUE(RenderQueue::GetInstance() == &Queue() && Engine::SceneGraph::GetCurrent() == nullptr);
    EXPECT_TRUE(RenderQueue::IsLastViewport());
}

TEST_F(Queues, BlendedItemsDrawBackToFrontAndOpaqueItemsByState) {
    const float depths[] = {-5, 0, std::numeric_limits<float>::quiet_NaN(), -10, -5};
    for (int i = 0; i < 5; ++i) {
        Submit(SpriteItem(depths[i], static_cast<float>(i)));
    }
    const RefPtr<Mesh> mesh = Ranges(0);
    // Made first but larger, so that an allocator sorting blocks by size may
    // put it at the higher address: creation order decides, never addresses.
    struct Larger : Renderer::Effect {
        std::array<char, 4096> padding{};
    };
    const RefPtr<Renderer::Effect> effects[] = {New<Larger>(), Renderer::CreateTextureDepthEffect()};
    for (const auto& [effect, range] : {std::pair(0, 2), std::pair(1, 0), std::pair(0, 0), std::pair(1, 1),
                                        std::pair(0, 1)}) {
        RenderItem item;
        std::tie(item.effect, item.mesh, item.subRange, item.color.r) =
            std::tuple(effects[effect], mesh, range, static_cast<float>(10 + effect));
        Queue().Submit(item);
    }
    Queue().Flush();
    // Opaque: all of one effect, then the other, ranges ascending; blended: far to near, NaN last.
    std::vector<std::pair<float, std::int32_t>> expected = {{10, 0}, {10, 1}, {10, 2}, {11, 0}, {11, 1}};
    expected.insert(expected.end(), {{3, 0}, {0, 0}, {4, 0}, {1, 0}, {2, 0}});
    EXPECT_EQ(Drawn(), expected);
}

TEST_F(Queues, BackgroundsShareBindsAndStatesWithTheirNeighbours) {
    Engine::TextRenderContext context;
    context.texture = Texture();
    Queue().SubmitBackground(context);
    Queue().SubmitBackground(context);
    EXPECT_EQ(context.effect, Queue().GetTextureDepthEffect());
    Queue().Flush();
    EXPECT_EQ(Calls({"SetTexture ", "SetDepthBufferState", "DrawIndexRange"}),
              (std::vector<std::string>{"SetTexture 0", "SetDepthBufferState", "DrawIndexRange 0 5",
                                        "DrawIndexRange 0 5", "SetDepthBufferState", "SetTexture 0"}));
    Queue().EndFrame();

    // A texture that differs from the next one is let go after its draw.
    const RefPtr<Renderer::ITexture> first = context.texture, second = Texture();
    for (const auto& texture : {first, first, second}) {
        context.texture = texture;
        Queue().SubmitBackground(context);
    }
    renderer->boundTextures.clear();
    Queue().Flush();
    EXPECT_EQ(renderer->boundTextures,
              (std::vector<const Renderer::ITexture*>{first.Get(), nullptr, second.Get(), nullptr}));
}

TEST_F(Queues, LinesPointsAndParticlesUseTheQueueEffects) {
    // The point effect blends differently here, so that its draws can be told apart.
    const RefPtr<Renderer::Pass> pointPass = Queue().GetColorEffectSecond()->GetTechnique(0)->GetPass(0);
    dynamic_cast<Renderer::AlphaBlendingState&>(*pointPass->GetState(3)).destinationFactor = 1;
    const float points[6] = {};
    for (const std::uint32_t primitive : {1u, 0u}) {
        RenderItem item;
        std::tie(item.primitiveType, item.vertices, item.vertexCount) = std::tuple(primitive, points, 2u);
        Queue().Submit(item);
    }
    RenderItem particle;
    std::tie(particle.particle, particle.mesh, particle.subRange, particle.destinationBlendFactor) =
        std::tuple(true, Ranges(1), 0, 2u);
    Queue().Submit(particle);
    Queue().Flush();
    EXPECT_EQ(renderer->Count("Draw 2"), 2);
    std::vector<std::int32_t> blending;
    for (const auto& draw : renderer->draws) {
        blending.push_back(draw.blendDestination);
    }
    EXPECT_EQ(blending, (std::vector<std::int32_t>{7, 1, 2}));
}

TEST_F(Queues, OverlayDrawsUnderAPixelExactCameraInTheLastViewportOnly) {
    for (const std::uint32_t index : {0u, 1u}) {
        Viewport(2, index);
        Submit(SpriteItem(0, 1, true));
    }
    Queue().Flush();
    ASSERT_EQ(renderer->draws.size(), 1u);
    EXPECT_NEAR(renderer->draws[0].view[14], -927.06f, 0.01f);
    EXPECT_EQ(renderer->draws[0].projection.m, Matrix4::Perspective(45, 1.3333334f, 1, 10000).m);
    EXPECT_EQ(renderer->GetProjectionMatrix().m, Matrix4().m);
}

TEST_F(Queues, ScreenObjectsDrawNearestLastOnceAndAreDropped) {
    struct Counting : Engine::TextRenderContext {
        void UpdateEffect() override { ++updates; }
        int updates = 0;
    };
    std::vector<RefPtr<Counting>> objects;
    for (float depth : {0.5f, 0.1f, 0.3f, 0.2f}) {
        objects.push_back(New<Counting>());
        objects.back()->effect = Renderer::CreateTexturedEffect();
        objects.back()->depth = objects.back()->color.r = depth;
        Queue().SubmitScreenObject(objects.back());
    }
    objects[3]->effect = nullptr;  // removed after submission: skipped
    Queue().DrawScreenObjects();
    EXPECT_EQ(Drawn(), (std::vector<std::pair<float, std::int32_t>>{{0.1f, 0}, {0.3f, 0}, {0.5f, 0}}));
    for (const auto& object : objects) {
        EXPECT_EQ(object->updates, 1);
    }
    EXPECT_EQ(Queue().GetScreenObjectCount(), 0u);
}

TEST_F(Queues, ARunOfSpritesSavesBindsAndRestoresOnce) {
    auto states = [this] {
        Renderer::AlphaBlendingState blending;
        Renderer::TextureUnit0State unit;
        renderer->GetAlphaBlendingState(blending);
        renderer->GetTextureUnit0State(unit);
        return std::tuple(blending.enabled, unit.enabled, unit.filter, renderer->GetCurrentColor().r,
                          renderer->GetTexture(0).Get(), renderer->GetPrimitiveType());
    };
    renderer->SetCurrentColor({0.5f, 0, 0, 1});
    const auto before = states();
    const RefPtr<Renderer::ITexture> texture = Texture();
    for (int i = 0; i < 100; ++i) {
        Submit(SpriteItem(-static_cast<float>(i), 0.25f, false, texture));
    }
    RenderItem orphan;  // a mesh item without effect: filed, then skipped
    std::tie(orphan.mesh, orphan.subRange) = std::tuple(Ranges(0), 0);
    Queue().Submit(orphan);
    renderer->ClearCalls();
    Queue().Flush();
    // One draw; the texture matrix: the identity for it, the last sprite's after it, the reset after each list kind.
    for (const auto& [call, count] : {std::pair("SetTexture 0", 2), {"SetAlphaBlendingState", 2},
                                      {"SetVertexArray", 2}, {"SetTextureMatrix 0", 4}, {"DrawIndexRange 0 599", 1}}) {
        EXPECT_EQ(renderer->Count(call), count) << call;
    }
    EXPECT_EQ(states(), before);
    EXPECT_EQ(renderer->GetWorldMatrix().m, Matrix4().m);
    EXPECT_EQ(renderer->draws.size(), 1u);
}

TEST_F(Queues, ALongRunOfSpritesDrawsInFlushedPartsAndOneColourAsTheCurrentColour) {
    const RefPtr<Renderer::ITexture> texture = Texture();
    // Red when every sprite is tinted alike; the effect's white under a colour array.
    for (const auto& [reds, drawnRed] : {std::pair(std::vector<float>{0.25f}, 0.25f), {{0.25f, 0.5f}, 1.0f}}) {
        for (std::size_t i = 0; i < 2049; ++i) {
            Submit(SpriteItem(0, reds[i % reds.size()], false, texture));
        }
        renderer->ClearCalls();
        renderer->draws.clear();
        Queue().Flush();
        Queue().EndFrame();
        // 2048 sprites of six indices into four corners each, then the one left.
        EXPECT_EQ(Calls({"Draw", "FlushCommands", "SetIndexArray16"}),
                  (std::vector<std::string>{"SetIndexArray16", "DrawIndexRange 0 12287", "FlushCommands",
                                            "SetIndexArray16", "DrawIndexRange 0 5"}));
        ASSERT_EQ(renderer->draws.size(), 2u);
        EXPECT_EQ(renderer->draws[1].red, drawnRed);
    }
}

}  // namespace
