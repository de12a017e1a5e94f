#include "support/Renderer_FakeTexture.h"
#include "support/Renderer_RecordingRenderer.h"

#include "renderer/Renderer_Effect.h"
#include "renderer/Renderer_ParticleEffect.h"
#include "renderer/Renderer_States.h"

#include <gtest/gtest.h>

// Effects, techniques and passes without a device: which state objects a
// pass holds, what a technique saves, clones and the particle factors. What
// a draw leaves behind is checked on OpenGL with the default effects.
namespace {

using namespace Renderer;
using Core::RefPtr;
using testsupport::FakeTexture;
using testsupport::RecordingRenderer;

template <class T>
RefPtr<T> New() {
    return RefPtr<T>(TUN_NEW(T));
}

RefPtr<DepthBufferState> Depth(std::int32_t compareFunction, bool enabled, bool writeEnabled) {
    RefPtr<DepthBufferState> depth = New<DepthBufferState>();
    depth->compareFunction = compareFunction;
    depth->enabled = enabled;
    depth->writeEnabled = writeEnabled;
    return depth;
}

RefPtr<Technique> TechniqueOf(std::initializer_list<RefPtr<Pass>> passes) {
    RefPtr<Technique> technique = New<Technique>();
    for (const RefPtr<Pass>& pass : passes) {
        technique->AddPass(pass);
    }
    technique->CollectStates();
    return technique;
}

RefPtr<Pass> PassOf(std::initializer_list<RefPtr<State>> states) {
    RefPtr<Pass> pass = New<Pass>();
    for (const RefPtr<State>& state : states) {
        pass->AddState(state);
    }
    return pass;
}

class Effects : public testing::Test {
protected:
    RefPtr<RecordingRenderer> renderer{TUN_NEW(RecordingRenderer)};
};

TEST_F(Effects, AddStateReplacesTheSameExactTypeInPlace) {
    const RefPtr<Pass> pass = New<Pass>();
    const RefPtr<DepthBufferState> first = Depth(1, true, true);
    EXPECT_EQ(pass->AddState(first), 0u);
    EXPECT_EQ(pass->AddState(New<TextureUnit0State>()), 1u);
    EXPECT_EQ(pass->AddState(New<TextureUnit1State>()), 2u) << "unit 1 is another type than unit 0";

    const RefPtr<DepthBufferState> second = Depth(2, false, false);
    EXPECT_EQ(pass->AddState(second), 0u);
    EXPECT_EQ(pass->GetStateCount(), 3u);
    EXPECT_EQ(pass->GetState(0).Get(), second.Get());
    EXPECT_EQ(first->GetReferenceCount(), 1u) << "the replaced state was not released";
    EXPECT_EQ(pass->AddState(second), 0u);
    EXPECT_EQ(second->GetReferenceCount(), 2u);

    EXPECT_EQ(pass->AddState(nullptr), 3u);
    EXPECT_EQ(pass->GetStateCount(), 3u);
    EXPECT_FALSE(pass->GetState(3));
}

TEST_F(Effects, CollectStatesSavesOneResetObjectPerType) {
    const RefPtr<DepthBufferState> depth = Depth(4, false, false);
    const RefPtr<Technique> technique =
        TechniqueOf({PassOf({depth, New<AlphaBlendingState>()}), PassOf({Depth(5, true, false)})});
    ASSERT_EQ(technique->GetSavedStateCount(), 2u);
    const auto* saved = dynamic_cast<const DepthBufferState*>(technique->GetSavedState(0).Get());
    ASSERT_TRUE(saved != nullptr && saved != depth.Get()) << "a pass's own object was saved";
    EXPECT_TRUE(saved->compareFunction == 1 && saved->enabled && saved->writeEnabled) << "not reset";

    // A later call adds the new types and keeps one of each.
    technique->AddPass(PassOf({New<CullingState>(), Depth(1, true, true)}));
    technique->CollectStates();
    EXPECT_EQ(technique->GetSavedStateCount(), 3u);

    // Without passes there is nothing to save and nothing reaches the renderer.
    const RefPtr<Technique> empty = TechniqueOf({});
    renderer->ClearCalls();
    empty->SaveStates();
    PassOf({})->Apply();
    empty->RestoreStates();
    EXPECT_EQ(empty->GetSavedStateCount(), 0u);
    EXPECT_TRUE(renderer->Calls().empty());
}

TEST_F(Effects, AHandedOverRunSavesWhatTheRestoreWouldHaveLeft) {
    DepthBufferState outside;
    outside.compareFunction = 6;
    renderer->SetDepthBufferState(outside);
    const RefPtr<Technique> previous = TechniqueOf({PassOf({Depth(2, false, false)})});
    previous->SaveStates();
    previous->GetPass(0)->Apply();

    EXPECT_FALSE(previous->TakeSavedStates(*previous, *previous->GetPass(0)));

    CullingState culling;
    culling.face = 1;
    renderer->SetCullingState(culling);
    const RefPtr<Pass> pass = PassOf({Depth(3, true, true), New<CullingState>()});
    const RefPtr<Technique> next = TechniqueOf({pass});
    ASSERT_TRUE(next->TakeSavedStates(*previous, *pass));
    ASSERT_EQ(next->GetSavedStateCount(), 2u);
    for (std::uint32_t i = 0; i < 2; ++i) {
        if (const auto* depth = dynamic_cast<const DepthBufferState*>(next->GetSavedState(i).Get())) {
            EXPECT_EQ(depth->compareFunction, 6) << "not the value from before the previous run";
        } else if (const auto* saved = dynamic_cast<const CullingState*>(next->GetSavedState(i).Get())) {
            EXPECT_EQ(saved->face, 1) << "a type only the next technique saves is captured as it is";
        } else {
            ADD_FAILURE() << "saved a type of neither technique";
        }
    }

    // A type the next pass leaves alone is restored for it.
    next->GetPass(0)->Apply();
    const RefPtr<Pass> cullingOnly = PassOf({New<CullingState>()});
    const RefPtr<Technique> last = TechniqueOf({cullingOnly});
    ASSERT_TRUE(last->TakeSavedStates(*next, *cullingOnly));
    DepthBufferState depth;
    renderer->GetDepthBufferState(depth);
    EXPECT_EQ(depth.compareFunction, 6);
}

TEST_F(Effects, TextureSlotsRefuseBadSlotsAndAClonedEffectSharesTexturesButNotStates) {
    const RefPtr<Effect> effect = New<Effect>();
    const RefPtr<ITexture> texture(TUN_NEW(FakeTexture, 4, 4));
    effect->SetTexture(1, texture);
    effect->SetTexture(1, texture);
    effect->SetTexture(Effect::kTextureSlotCount, texture);
    effect->SetTexture(0xFFFFFFFFu, texture);
    EXPECT_EQ(texture->GetReferenceCount(), 2u);
    EXPECT_FALSE(effect->GetTexture(Effect::kTextureSlotCount));
    EXPECT_FALSE(effect->GetTechnique(0));
    effect->blended = true;
    effect->AddTechnique(TechniqueOf({PassOf({Depth(1, true, false)})}));

    const RefPtr<Effect> clone(static_cast<Effect*>(effect->Clone()));
    EXPECT_TRUE(clone->blended);
    EXPECT_EQ(clone->GetTexture(1), texture);
    const RefPtr<Technique> source = effect->GetTechnique(0);
    const RefPtr<Technique> copied = clone->GetTechnique(0);
    ASSERT_TRUE(copied && copied.Get() != source.Get());
    EXPECT_NE(copied->GetSavedState(0).Get(), source->GetSavedState(0).Get());
    auto* copiedState = dynamic_cast<DepthBufferState*>(copied->GetPass(0)->GetState(0).Get());
    ASSERT_NE(copiedState, nullptr);
    copiedState->compareFunction = 5;
    EXPECT_EQ(static_cast<const DepthBufferState&>(*source->GetPass(0)->GetState(0)).compareFunction, 1);
    effect->SetTexture(1, nullptr);
    clone->SetTexture(1, nullptr);
    EXPECT_EQ(texture->GetReferenceCount(), 1u);
}

TEST_F(Effects, ParticleFactorsReachTheBlendingStateOfTheirOwnPass) {
    const RefPtr<ParticleEffect> effect = New<ParticleEffect>();
    effect->UpdateStates();  // no target yet: nothing to do
    const RefPtr<AlphaBlendingState> blending = New<AlphaBlendingState>();
    blending->enabled = false;
    effect->blendTarget = blending;
    effect->AddTechnique(TechniqueOf({PassOf({Depth(1, true, false), blending})}));
    effect->destinationFactor = 1;
    effect->UpdateStates();
    EXPECT_TRUE(blending->sourceFactor == 6 && blending->destinationFactor == 1);
    EXPECT_FALSE(blending->enabled) << "the enabled flag is the pass's own";

    const RefPtr<ParticleEffect> clone(static_cast<ParticleEffect*>(effect->Clone()));
    ASSERT_EQ(clone->blendTarget.Get(), clone->GetTechnique(0)->GetPass(0)->GetState(1).Get());
    clone->sourceFactor = 1;
    clone->UpdateStates();
    EXPECT_EQ(clone->blendTarget->sourceFactor, 1);
    EXPECT_EQ(blending->sourceFactor, 6) << "the clone changed its source's pass";
}

}  // namespace
