#include "Engine_SceneTestSupport.h"

#include "engine/Engine_Mesh.h"
#include "engine/Engine_TextRenderContext.h"
#include "renderer/Renderer_DefaultEffects.h"

using Core::RefPtr;
using Engine::Mesh;
using enginetest::New;

namespace {

class Meshes : public enginetest::SceneTest {
protected:
    // The Set calls of one bind.
    std::vector<std::string> Bound(Mesh& mesh) {
        renderer->ClearCalls();
        mesh.BindArrays(*renderer);
        return Calls({"Set"});
    }
    RefPtr<Mesh> mesh = New<Mesh>();
};

TEST_F(Meshes, BindHandsOverWhatTheMeshHas) {
    mesh->AddVertex({1, 2, 3});
    mesh->OverrideVertices().push_back({7, 8, 9});
    mesh->SecondaryColors().push_back({0.1f, 0.2f, 0.3f, 0.4f});
    mesh->SetPrimitiveType(1);
    // No indices: no index call. No colours: none even with secondary colours.
    EXPECT_EQ(Bound(*mesh), (std::vector<std::string>{"SetVertexArray", "SetNormalArray", "SetColorArray",
                                                       "SetSecondaryColorArray", "SetTexCoordArray 0",
                                                       "SetPrimitiveType 1"}));
    EXPECT_EQ(renderer->GetPrimitiveType(), 1);
    Mesh::UnbindArrays(*renderer);
    EXPECT_EQ(renderer->Count("SetIndexArray32"), 1);

    // The override list wins while it lasts, and secondary colours arrive as packed RGB.
    struct Spy : testsupport::RecordingRenderer {
        void SetVertexArray(const float* v) override { vertices = v; }
        void SetSecondaryColorArray(const float* c) override { secondary = c; }
        const float* vertices = nullptr;
        const float* secondary = nullptr;
    };
    RefPtr<Spy> spy = New<Spy>();
    mesh->SecondaryColors().push_back({0.5f, 0.6f, 0.7f, 0.8f});
    mesh->BindArrays(*spy);
    EXPECT_EQ(spy->vertices[0], 7.0f);
    EXPECT_EQ(std::vector<float>(spy->secondary, spy->secondary + 6),
              (std::vector<float>{0.1f, 0.2f, 0.3f, 0.5f, 0.6f, 0.7f}));
    mesh->Clear();
    mesh->AddVertex({4, 5, 6});
    mesh->BindArrays(*spy);
    EXPECT_EQ(spy->vertices[0], 4.0f);
}

TEST_F(Meshes, SubRangesDrawPlainAndIndexed) {
    mesh->AddSubRange({4, 9, -1, 1});
    renderer->ClearCalls();
    mesh->DrawSubRange(*renderer, 0);
    mesh->DrawSubRangeIndexed(*renderer, 0);
    EXPECT_EQ(renderer->Calls(), (std::vector<std::string>{"DrawIndexRange 4 9", "DrawElements 4 4 6"}));
    EXPECT_DEBUG_DEATH(mesh->DrawSubRange(*renderer, 1), "out of range");
    EXPECT_DEBUG_DEATH(mesh->SetVertex(0, {1, 1, 1}), "out of range");
}

TEST_F(Meshes, CloneOwnsEffectsSharesBuffersAndClearKeepsWhatItShould) {
    struct NoBuffer : Renderer::Buffer {
        bool HasIndices32() const override { return true; }
        void Bind() override {}
        void Unbind() override {}
        const void* GetIndexAddress() const override { return nullptr; }
    };
    mesh->AddEffect(Renderer::CreateDefaultEffect());
    mesh->VertexBuffer() = New<NoBuffer>();
    mesh->IndexBuffer() = New<NoBuffer>();
    mesh->FurtherPairs().push_back({1, 2});
    mesh->SetPrimitiveType(5);
    mesh->AddSubRange({0, 2, -1, 1});
    mesh->AddIndex(3);
    const RefPtr<Mesh> clone(static_cast<Mesh*>(mesh->Clone()));
    EXPECT_NE(clone->GetEffects()[0], mesh->GetEffects()[0]);
    EXPECT_TRUE(clone->VertexBuffer() == mesh->VertexBuffer() && clone->IndexBuffer() == mesh->IndexBuffer());
    EXPECT_EQ(clone->GetIndices().size(), 1u);

    mesh->Clear();
    EXPECT_TRUE(mesh->GetEffects().empty() && mesh->GetIndices().empty() && mesh->GetSubRangeCount() == 0);
    EXPECT_TRUE(mesh->VertexBuffer() && mesh->FurtherPairs().size() == 1 && mesh->GetPrimitiveType() == 5);
}

TEST(TextRenderContext, DefaultsAfterConstructionAndResetAndCountedCopies) {
    const RefPtr<Renderer::Effect> effect = Renderer::CreateTextureDepthEffect();
    const RefPtr<Renderer::ITexture> texture = enginetest::Texture();
    Engine::TextRenderContext context;
    for (int pass = 0; pass < 2; ++pass) {
        EXPECT_TRUE(context.IsVisible());
        EXPECT_FALSE(context.IsDrawable());
        EXPECT_EQ(context.GetEffect(), nullptr);
        EXPECT_EQ(std::vector<std::uint16_t>(context.GetIndices(), context.GetIndices() + 6),
                  (std::vector<std::uint16_t>{0, 1, 2, 0, 2, 3}));
        const Color c = context.GetColor();
        EXPECT_TRUE(c.r == 0 && c.g == 0 && c.b == 0 && c.a == 1);
        EXPECT_EQ(context.GetPrimitiveType(), 4);
        context.effect = effect;
        context.texture = texture;
        context.visible = 0;
        context.depth = 3;
        {
            const Engine::TextRenderContext copy = context;
            EXPECT_EQ(effect->GetReferenceCount(), 3u);
            EXPECT_EQ(texture->GetReferenceCount(), 3u);
        }
        EXPECT_EQ(effect->GetReferenceCount(), 2u);
        context.Reset();
        EXPECT_EQ(texture->GetReferenceCount(), 1u);
    }
}

}  // namespace
