#include "Engine_SceneTestSupport.h"

#include "renderer/Renderer_DefaultEffects.h"
#include "renderer/Renderer_States.h"

#include <algorithm>
#include <limits>
#include <tuple>

using Core::RefPtr;
using Engine::Mesh;
using enginetest::New;

namespace {

// A mesh of single-index ranges 0, 1, 2 with the given flag.
RefPtr<Mesh> Ranges(std::uint8_t flag) {
    RefPtr<Mesh> mesh = New<Mesh>();
    for (std::uint32_t i = 0; i < 3; ++i) {
        mesh->AddSubRange({i, i, -1, flag});
        mesh->AddIndex(i);
    }
    return mesh;
}

RenderItem Sprite(float z, float red, bool screenSpace = false) {
    RenderItem item;
    item.sprite = true;
    item.screenSpace = screenSpace;
    item.subRange = 0;
    item.texture = enginetest::Texture();
    item.worldMatrix = Matrix4::Translation(0, 0, z);
    item.color = {red, 1, 1, 1};
    return item;
}

class Queues : public enginetest::SceneTest {
protected:
    void Viewport(std::uint32_t count, std::uint32_t index) {
        scene->SetViewportCount(count);
        scene->SetViewportIndex(index);
    }
    std::string Lists() {
        return std::to_string(Queue().GetOpaqueCount()) + std::to_string(Queue().GetBlendedCount()) +
               std::to_string(Queue().GetOverlayCount());
    }
};

TEST_F(Queues, SubmitFilesEachItemByHowItIsDrawn) {
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
    };
    const RefPtr<Renderer::Effect> text = Renderer::CreateTextEffect();
    for (const Case& c : cases) {
        Viewport(c.viewports, c.index);
        RenderItem item;
        item.sprite = c.sprite;
        item.screenSpace = c.screenSpace;
        item.effect = text;
        item.mesh = c.meshFlag < 0 ? nullptr : Ranges(static_cast<std::uint8_t>(c.meshFlag));
        item.subRange = c.subRange;
        item.primitiveType = c.primitive;
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
    EXPECT_EQ(Lists(), "002");
    Viewport(2, 1);
    Queue().EndFrame();
    EXPECT_EQ(Lists(), "000");
}

TEST_F(Queues, TheInstanceIsTheNewestLiveQueue) {
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
        RenderItem item = Sprite(depths[i], static_cast<float>(i));
        Queue().Submit(item);
    }
    const RefPtr<Mesh> mesh = Ranges(0);
    const RefPtr<Renderer::Effect> effects[] = {Renderer::CreateTextEffect(), Renderer::CreateTextureDepthEffect()};
    for (const auto& [effect, range] : {std::pair(0, 2), std::pair(1, 0), std::pair(0, 0), std::pair(1, 1),
                                        std::pair(0, 1)}) {
        RenderItem item;
        item.effect = effects[effect];
        item.mesh = mesh;
        item.subRange = range;
        item.color.r = static_cast<float>(10 + effect);
        Queue().Submit(item);
    }
    Queue().Flush();
    std::vector<std::pair<float, std::int32_t>> drawn;
    for (const auto& draw : renderer->draws) {
        drawn.emplace_back(draw.red, draw.first);
    }
    // Opaque: all of one effect, then the other, ranges ascending; blended: far to near, NaN last.
    std::vector<std::pair<float, std::int32_t>> expected = {{10, 0}, {10, 1}, {10, 2}, {11, 0}, {11, 1}};
    if (!std::less<>()(effects[0].Get(), effects[1].Get())) {
        std::rotate(expected.begin(), expected.begin() + 3, expected.end());
    }
    expected.insert(expected.end(), {{3, 0}, {0, 0}, {4, 0}, {1, 0}, {2, 0}});
    EXPECT_EQ(drawn, expected);
}

TEST_F(Queues, BackgroundsShareBindsAndStatesWithTheirNeighbours) {
    Engine::TextRenderContext context;
    context.texture = enginetest::Texture();
    Queue().SubmitBackground(context);
    Queue().SubmitBackground(context);
    EXPECT_EQ(context.effect, Queue().GetTextureDepthEffect());
    Queue().Flush();
    EXPECT_EQ(Calls({"SetTexture ", "SetDepthBufferState", "DrawIndexRange"}),
              (std::vector<std::string>{"SetTexture 0", "SetDepthBufferState", "DrawIndexRange 0 5",
                                        "DrawIndexRange 0 5", "SetDepthBufferState", "SetTexture 0"}));
}

TEST_F(Queues, LinesPointsAndParticlesUseTheQueueEffects) {
    // The colour the effect's technique saved: what the renderer held when the effect drew.
    const auto savedRed = [](const RefPtr<Renderer::Effect>& effect) {
        const RefPtr<Renderer::Technique> technique = effect->GetTechnique(0);
        for (std::uint32_t i = 0; i < technique->GetSavedStateCount(); ++i) {
            if (auto* colour = dynamic_cast<Renderer::CurrentColorState*>(technique->GetSavedState(i).Get())) {
                return colour->color.r;
            }
        }
        return -1.0f;
    };
    const float points[6] = {};
    for (const auto& [primitive, red, effect] : {std::tuple(1u, 0.25f, Queue().GetColorEffect()),
                                                 std::tuple(0u, 0.75f, Queue().GetColorEffectSecond())}) {
        renderer->SetCurrentColor({red, 0, 0, 1});
        RenderItem item;
        item.primitiveType = primitive;
        item.vertices = points;
        item.vertexCount = 2;
        Queue().Submit(item);
        Queue().Flush();
        Queue().EndFrame();
        EXPECT_EQ(savedRed(effect), red);
    }
    EXPECT_EQ(renderer->Count("Draw 2"), 2);
    RenderItem particle;
    particle.particle = true;
    particle.mesh = Ranges(1);
    particle.subRange = 0;
    particle.destinationBlendFactor = 1;
    Queue().Submit(particle);
    Queue().Flush();
    EXPECT_EQ(renderer->draws.back().blendDestination, 1);
}

TEST_F(Queues, OverlayDrawsUnderAPixelExactCameraInTheLastViewportOnly) {
    RenderItem item = Sprite(0, 1, true);
    Viewport(2, 0);
    Queue().Submit(item);
    Viewport(2, 1);
    Queue().Submit(item);
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
    EXPECT_EQ(DrawnReds(), (std::vector<float>{0.1f, 0.3f, 0.5f}));
    for (const auto& object : objects) {
        EXPECT_EQ(object->updates, 1);
    }
    EXPECT_EQ(Queue().GetScreenObjectCount(), 0u);
}

TEST_F(Queues, ARunOfSpritesSavesBindsAndRestoresOnce) {
    auto states = [this] {
        Renderer::AlphaBlendingState blending;
        Renderer::DepthBufferState depth;
        Renderer::TextureUnit0State unit;
        renderer->GetAlphaBlendingState(blending);
        renderer->GetDepthBufferState(depth);
        renderer->GetTextureUnit0State(unit);
        return std::tuple(blending.enabled, depth.enabled, depth.writeEnabled, unit.enabled, unit.filter,
                          renderer->GetCurrentColor().r, renderer->GetTexture(0).Get());
    };
    renderer->SetCurrentColor({0.5f, 0, 0, 1});
    const auto before = states();
    const RefPtr<Renderer::ITexture> texture = enginetest::Texture();
    for (int i = 0; i < 100; ++i) {
        RenderItem item = Sprite(-static_cast<float>(i), 0.25f);
        item.texture = texture;
        Queue().Submit(item);
    }
    RenderItem orphan;  // a mesh item without effect: filed, then skipped
    orphan.mesh = Ranges(0);
    orphan.subRange = 0;
    Queue().Submit(orphan);
    renderer->ClearCalls();
    Queue().Flush();
    for (const char* call : {"SetTexture 0", "SetAlphaBlendingState", "SetVertexArray"}) {
        EXPECT_EQ(renderer->Count(call), 2) << call;
    }
    EXPECT_EQ(states(), before);
    EXPECT_EQ(renderer->GetWorldMatrix().m, Matrix4().m);
    ASSERT_EQ(renderer->draws.size(), 100u);
    for (const auto& draw : renderer->draws) {
        EXPECT_TRUE(draw.texture == texture.Get() && draw.red == 0.25f);
    }
}

}  // namespace
