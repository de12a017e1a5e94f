#include "Engine_SceneTestSupport.h"

#include "renderer/Renderer_DefaultEffects.h"

using Core::RefPtr;
using Engine::Mesh;
using enginetest::New;

namespace {

class Meshes : public enginetest::SceneTest {
protected:
    RefPtr<Mesh> mesh = New<Mesh>();
};

TEST_F(Meshes, BindHandsOverWhatTheMeshHas) {
    mesh->AddVertex({1, 2, 3});
    mesh->OverrideVertices().push_back({7, 8, 9});
    mesh->SecondaryColors() = {{0.1f, 0.2f, 0.3f, 0.4f}, {0.5f, 0.6f, 0.7f, 0.8f}};
    mesh->SetPrimitiveType(1);
    mesh->BindArrays(*renderer);
    // No indices: no index call. No colours: none even with secondary colours.
    EXPECT_EQ(Calls({"Set"}), (std::vector<std::string>{"SetVertexArray", "SetNormalArray", "SetColorArray",
                                                        "SetSecondaryColorArray", "SetTexCoordArray 0",
                                                        "SetPrimitiveType 1"}));
    EXPECT_EQ(renderer->VertexArray()[0], 7.0f);
    const float* packed = renderer->SecondaryColorArray();
    EXPECT_EQ(std::vector<float>(packed, packed + 6), (std::vector<float>{0.1f, 0.2f, 0.3f, 0.5f, 0.6f, 0.7f}));
    Mesh::UnbindArrays(*renderer);
    EXPECT_EQ(renderer->Count("SetIndexArray32"), 1);
    mesh->Clear();
    mesh->AddVertex({4, 5, 6});
    mesh->BindArrays(*renderer);
    EXPECT_EQ(renderer->VertexArray()[0], 4.0f);
}

TEST_F(Meshes, SubRangesDrawPlainAndIndexedAndOnlyThoseThatExist) {
    mesh->AddSubRange({4, 9, -1, 1});
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
    mesh->AddIndex(3);
    const RefPtr<Mesh> clone(static_cast<Mesh*>(mesh->Clone()));
    EXPECT_NE(clone->GetEffects()[0], mesh->GetEffects()[0]);
    EXPECT_TRUE(clone->VertexBuffer() == mesh->VertexBuffer() && clone->IndexBuffer() == mesh->IndexBuffer());
    mesh->Clear();
    EXPECT_TRUE(mesh->GetEffects().empty() && mesh->GetIndices().empty() && clone->GetIndices().size() == 1);
    EXPECT_TRUE(mesh->VertexBuffer() && mesh->FurtherPairs().size() == 1 && mesh->GetPrimitiveType() == 5);
}

TEST(TextRenderContext, NewOrResetIsAnUndrawableQuadAndCopiesCountTheirReferences) {
    const RefPtr<Renderer::Effect> effect = Renderer::CreateTextureDepthEffect();
    const RefPtr<Renderer::ITexture> texture = enginetest::Texture();
    Engine::TextRenderContext context;
    for (int round = 0; round < 2; ++round) {
        EXPECT_TRUE(context.IsVisible() && !context.IsDrawable() && context.GetPrimitiveType() == 4);
        EXPECT_EQ(std::vector<std::uint16_t>(context.GetIndices(), context.GetIndices() + 6),
                  (std::vector<std::uint16_t>{0, 1, 2, 0, 2, 3}));
        EXPECT_EQ(std::vector<float>(&context.GetColor().r, &context.GetColor().r + 4),
                  (std::vector<float>{0, 0, 0, 1}));
        context.effect = effect;
        context.texture = texture;
        context.visible = 0;
        {
            const Engine::TextRenderContext copy = context;
            EXPECT_EQ(effect->GetReferenceCount() + texture->GetReferenceCount(), 6u);
        }
        context.Reset();
        EXPECT_EQ(effect->GetReferenceCount() + texture->GetReferenceCount(), 2u);
    }
}

}  // namespace
