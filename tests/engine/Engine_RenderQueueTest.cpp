#include "Engine_SceneTestSupport.h"

#include "renderer/Renderer_DefaultEffects.h"
#include "renderer/Renderer_States.h"

#include <cmath>
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
        mesh->AddVertex({});
    }
    return mesh;
}

RenderItem Sprite(float z, float tag, bool screenSpace = false) {
    RenderItem item;
    item.sprite = true;
    item.screenSpace = screenSpace;
    item.subRange = 0;
    item.texture = enginetest::Texture();
    item.worldMatrix = Matrix4::Translation(0, 0, z);
    item.color = {tag, 1, 1, 1};
    return item;
}

std::vector<float> Tags(const std::vector<enginetest::DrawRecord>& draws) {
    std::vector<float> tags;
    for (const auto& draw : draws) {
        tags.push_back(draw.red);
    }
    return tags;
}

class Queues : public enginetest::SceneTest {
protected:
    void Viewport(std::uint32_t count, std::uint32_t index) {
        scene->SetViewportCount(count);
        scene->SetViewportIndex(index);
    }
};

TEST_F(Queues, SubmitFilesEachItemByHowItIsDrawn) {
    struct Case {
        bool sprite, screenSpace;
        int meshFlag;  // -1: no mesh
        std::int32_t subRange;
        std::uint32_t primitive, viewports, index;
        char lands;  // o opaque, b blended, v overlay, - dropped
    };
    const Case cases[] = {
        {true, false, -1, 0, 4, 2, 0, 'b'}, {true, true, -1, 0, 4, 2, 0, '-'}, {true, true, -1, 0, 4, 2, 1, 'v'},
        {true, true, -1, 0, 4, 1, 0, 'v'},  {false, false, 0, 0, 4, 1, 0, 'o'}, {false, false, 1, 0, 4, 1, 0, 'b'},
        {false, false, -1, 0, 4, 1, 0, '-'}, {false, false, -1, 0, 1, 1, 0, 'b'}, {false, false, 0, 3, 4, 1, 0, '-'},
        {false, false, 0, -1, 4, 1, 0, '-'},
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
        const auto before = std::tuple(Queue().GetOpaqueCount(), Queue().GetBlendedCount(), Queue().GetOverlayCount());
        Queue().Submit(item);
        const auto after = std::tuple(Queue().GetOpaqueCount(), Queue().GetBlendedCount(), Queue().GetOverlayCount());
        const auto landed = std::tuple(std::get<0>(after) - std::get<0>(before), std::get<1>(after) - std::get<1>(before),
                                       std::get<2>(after) - std::get<2>(before));
        EXPECT_EQ(landed, std::tuple(c.lands == 'o', c.lands == 'b', c.lands == 'v')) << &c - cases;
        if (c.sprite) {
            EXPECT_TRUE(item.effect == Queue().GetColoredTexturedEffect() && item.mesh == Queue().GetSpriteQuad());
        }
    }

    Engine::TextRenderContext bare;
    Queue().SubmitBackground(bare);
    EXPECT_TRUE(Queue().GetBackgroundCount() == 0 && bare.effect == nullptr);

    // The overlay lasts until the last viewport ends.
    Viewport(2, 0);
    Queue().EndFrame();
    EXPECT_EQ(Queue().GetOverlayCount(), 2u);
    Viewport(2, 1);
    Queue().EndFrame();
    EXPECT_EQ(Queue().GetOverlayCount() + Queue().GetBlendedCount() + Queue().GetOpaqueCount(), 0u);
}

TEST_F(Queues, TheInstanceIsTheNewestLiveQueue) {
    EXPECT_EQ(RenderQueue::GetInstance(), &Queue());
    {
        const RefPtr<Engine::SceneGraph> copy(static_cast<Engine::SceneGraph*>(scene->Clone()));
        EXPECT_EQ(RenderQueue::GetInstance(), &copy->GetRenderQueue());
        EXPECT_EQ(Engine::SceneGraph::GetCurrent(), copy.Get());
    }
    EXPECT_EQ(RenderQueue::GetInstance(), &Queue());
    EXPECT_EQ(Engine::SceneGraph::GetCurrent(), nullptr);
    EXPECT_TRUE(RenderQueue::IsLastViewport());
}

TEST_F(Queues, BlendedItemsDrawBackToFrontAndOpaqueItemsByState) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float depths[] = {-5, 0, nan, -10, -5};
    for (int i = 0; i < 5; ++i) {
        RenderItem item = Sprite(depths[i], static_cast<float>(i));
        Queue().Submit(item);
    }
    const RefPtr<Mesh> mesh = Ranges(0);
    const RefPtr<Renderer::Effect> a = Renderer::CreateTextEffect();
    const RefPtr<Renderer::Effect> b = Renderer::CreateTextureDepthEffect();
    const std::tuple<Renderer::Effect*, std::int32_t> opaque[] = {{a.Get(), 2}, {b.Get(), 0}, {a.Get(), 0},
                                                                  {b.Get(), 1}, {a.Get(), 1}};
    for (const auto& [effect, range] : opaque) {
        RenderItem item;
        item.effect = effect;
        item.mesh = mesh;
        item.subRange = range;
        item.color.r = effect == a.Get() ? 10.0f : 20.0f;
        Queue().Submit(item);
    }
    Queue().Flush();
    const auto& draws = renderer->draws;
    ASSERT_EQ(draws.size(), 10u);
    const std::vector<float> groups = Tags({draws.begin(), draws.begin() + 5});
    EXPECT_TRUE(groups == (std::vector<float>{10, 10, 10, 20, 20}) || groups == (std::vector<float>{20, 20, 10, 10, 10}));
    std::vector<std::int32_t> ranges;
    for (std::size_t i = 0; i < 5; ++i) {
        ranges.push_back(draws[i].first);
    }
    EXPECT_EQ(ranges, groups[0] == 10 ? (std::vector<std::int32_t>{0, 1, 2, 0, 1})
                                      : (std::vector<std::int32_t>{0, 1, 0, 1, 2}));
    EXPECT_EQ(Tags({draws.begin() + 5, draws.end()}), (std::vector<float>{3, 0, 4, 1, 2}));
}

TEST_F(Queues, BackgroundsShareBindsAndStatesWithTheirNeighbours) {
    Engine::TextRenderContext context;
    context.texture = enginetest::Texture();
    Queue().SubmitBackground(context);
    Queue().SubmitBackground(context);
    EXPECT_EQ(context.effect, Queue().GetTextureDepthEffect());
    renderer->ClearCalls();
    Queue().Flush();
    EXPECT_EQ(Calls({"SetTexture ", "SetDepthBufferState", "DrawIndexRange"}),
              (std::vector<std::string>{"SetTexture 0", "SetDepthBufferState", "DrawIndexRange 0 5",
                                        "DrawIndexRange 0 5", "SetDepthBufferState", "SetTexture 0"}));
}

// The technique's saved colour: what the renderer held when the effect drew.
float SavedRed(const RefPtr<Renderer::Effect>& effect) {
    const RefPtr<Renderer::Technique> technique = effect->GetTechnique(0);
    for (std::uint32_t i = 0; i < technique->GetSavedStateCount(); ++i) {
        if (auto* colour = dynamic_cast<Renderer::CurrentColorState*>(technique->GetSavedState(i).Get())) {
            return colour->color.r;
        }
    }
    return -1;
}

TEST_F(Queues, LinesPointsAndParticlesUseTheQueueEffects) {
    const float points[6] = {};
    const std::tuple<std::uint32_t, float, RefPtr<Renderer::Effect>> cases[] = {
        {1, 0.25f, Queue().GetColorEffect()}, {0, 0.75f, Queue().GetColorEffectSecond()}};
    for (const auto& [primitive, red, effect] : cases) {
        renderer->SetCurrentColor({red, 0, 0, 1});
        RenderItem item;
        item.primitiveType = primitive;
        item.vertices = points;
        item.vertexCount = 2;
        Queue().Submit(item);
        renderer->ClearCalls();
        Queue().Flush();
        Queue().EndFrame();
        EXPECT_EQ(SavedRed(effect), red);
        EXPECT_EQ(renderer->Count("Draw 2"), 1);
    }
    RenderItem particle;
    particle.particle = true;
    particle.mesh = Ranges(1);
    particle.subRange = 0;
    particle.destinationBlendFactor = 1;
    Queue().Submit(particle);
    Queue().Flush();
    EXPECT_EQ(renderer->draws.back().blendDestination, 1);
    EXPECT_EQ(Queue().GetParticleEffect()->blendTarget->destinationFactor, 1);
}

TEST_F(Queues, OverlayDrawsUnderAPixelExactCameraInTheLastViewportOnly) {
    Viewport(2, 0);
    RenderItem item = Sprite(0, 1, true);
    Queue().Submit(item);
    Viewport(2, 1);
    Queue().Submit(item);
    Queue().Flush();
    ASSERT_EQ(renderer->draws.size(), 1u);
    const auto& draw = renderer->draws[0];
    EXPECT_NEAR(draw.view[14], -927.06f, 0.01f);
    EXPECT_EQ(draw.projection.m, Matrix4::Perspective(45, 1.3333334f, 1, 10000).m);
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
        objects.back()->depth = depth;
        objects.back()->color.r = depth;
        Queue().SubmitScreenObject(objects.back());
    }
    objects[3]->effect = nullptr;
    Queue().DrawScreenObjects();
    EXPECT_EQ(Tags(renderer->draws), (std::vector<float>{0.1f, 0.3f, 0.5f}));
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
        const Color colour = renderer->GetCurrentColor();
        return std::tuple(blending.enabled, blending.sourceFactor, depth.enabled, depth.writeEnabled,
                          unit.enabled, unit.filter, colour.r, renderer->GetTexture(0).Get());
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
    EXPECT_EQ(renderer->draws.size(), 100u);
    EXPECT_EQ(renderer->Count("SetTexture 0"), 2);
    EXPECT_EQ(renderer->Count("SetAlphaBlendingState"), 2);
    EXPECT_EQ(renderer->Count("SetVertexArray"), 2);
    EXPECT_EQ(states(), before);
    EXPECT_EQ(renderer->GetWorldMatrix().m, Matrix4::Translation(0, 0, 0).m);
    for (const auto& draw : renderer->draws) {
        EXPECT_TRUE(draw.texture == texture.Get() && draw.red == 0.25f);
    }
}

}  // namespace
