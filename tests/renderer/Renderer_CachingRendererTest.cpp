#include "support/Renderer_FakeTexture.h"
#include "support/Renderer_RecordingRenderer.h"

#include "renderer/Renderer_Buffer.h"
#include "renderer/Renderer_Light.h"
#include "renderer/Renderer_States.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <vector>

// The renderer's cache and bookkeeping, shared by the OpenGL renderer and
// the recording stand-in: texture units, slots, projection and the
// process-wide renderer.
namespace {

using namespace Renderer;
using testsupport::FakeTexture;
using testsupport::RecordingRenderer;

Core::RefPtr<RecordingRenderer> MakeRenderer(std::int32_t units = 8) {
    return Core::RefPtr<RecordingRenderer>(TUN_NEW(RecordingRenderer, units));
}

class CountingBuffer : public Buffer {
public:
    bool HasIndices32() const override { return true; }
    void Bind() override { ++binds; }
    void Unbind() override { ++unbinds; }
    const void* GetIndexAddress() const override { return nullptr; }
    int binds = 0;
    int unbinds = 0;
};

// With two units, unit 2 is the first past the count.
TEST(CachedTextureUnits, UnitsBeyondTheCountRecordUnitZeroAndKeepTheirOwnCache) {
    auto renderer = MakeRenderer(2);
    const Core::RefPtr<ITexture> texture(TUN_NEW(FakeTexture, 4, 4));
    TextureUnit3State three;
    three.filter = 1;
    const std::vector<std::pair<std::function<void()>, std::uint32_t>> steps{
        {[&] { renderer->SetTextureUnit1State(TextureUnit1State()); }, 1},
        {[&] { three.Apply(*renderer); }, 0},
        {[&] { renderer->SetTexture(1, texture); }, 1},
        {[&] { renderer->SetTexture(2, texture); }, 0},
        {[&] { renderer->SetTextureMatrix(1, Matrix4::Scaling(2.0f, 2.0f, 1.0f)); }, 1},
        {[&] { renderer->SetTextureMatrix(5, Matrix4::Translation(1.0f, 0.0f, 0.0f)); }, 0}};
    for (std::size_t i = 0; i < steps.size(); ++i) {
        steps[i].first();
        EXPECT_EQ(renderer->GetActiveTextureUnit(), steps[i].second) << "step " << i;
    }
    TextureUnit3State read;
    read.Capture(*renderer);
    EXPECT_EQ(read.filter, 1);
    EXPECT_EQ(renderer->GetTexture(2), texture);
    EXPECT_EQ(renderer->GetTexture(0), nullptr);
    EXPECT_EQ(renderer->GetTextureMatrix(5)[12], 1.0f);
}

TEST(CachedSlots, TexturesAndLightsAreHeldPerSlotUntilTheRendererGoes) {
    auto renderer = MakeRenderer();
    const Core::RefPtr<ITexture> texture(TUN_NEW(FakeTexture, 8, 8));
    renderer->SetTexture(0, texture);
    renderer->SetTexture(31, texture);
    renderer->SetTexture(0, nullptr);
    EXPECT_EQ(texture->GetReferenceCount(), 2u);
    const Core::RefPtr<Light> light(TUN_NEW(PointLight));
    renderer->SetLight(7, light);
    EXPECT_EQ(renderer->GetLight(7), light);
    EXPECT_EQ(renderer->GetLight(0), nullptr);
    renderer = nullptr;
    EXPECT_EQ(texture->GetReferenceCount(), 1u);
    EXPECT_EQ(light->GetReferenceCount(), 1u);
}

TEST(CachedMatrices, ProjectAndUnprojectRoundTrip) {
    auto renderer = MakeRenderer();
    renderer->SetViewport({10, 20, 640, 480, 0.0f, 1.0f});
    renderer->SetProjectionMatrix(Matrix4::Perspective(60.0f, 640.0f / 480.0f, 1.0f, 100.0f));
    renderer->SetViewMatrix(Matrix4::Translation(0.0f, 0.0f, -10.0f));
    renderer->SetWorldMatrix(Matrix4::RotationZ(20.0f));
    const Vector3D point{1.5f, -2.0f, 3.0f};
    Vector3D window;
    ASSERT_TRUE(renderer->Project(window, point));
    EXPECT_TRUE(window.x > 10.0f && window.z > 0.0f && window.z < 1.0f);
    Vector3D back;
    ASSERT_TRUE(renderer->Unproject(back, window));
    EXPECT_TRUE(std::abs(back.x - point.x) < 1e-3f && std::abs(back.y - point.y) < 1e-3f &&
                std::abs(back.z - point.z) < 1e-3f);

    // A singular model-view cannot be inverted: failure, output untouched.
    renderer->SetWorldMatrix(Matrix4::Scaling(0.0f, 0.0f, 0.0f));
    Vector3D untouched{7.0f, 8.0f, 9.0f};
    EXPECT_FALSE(renderer->Unproject(untouched, window));
    EXPECT_EQ(untouched.x, 7.0f);
}

TEST(CachedSlots, BindingABufferUnbindsTheOneBefore) {
    auto renderer = MakeRenderer();
    const Core::RefPtr<CountingBuffer> first(TUN_NEW(CountingBuffer));
    const Core::RefPtr<CountingBuffer> second(TUN_NEW(CountingBuffer));
    renderer->BindVertexBuffer(15, first);
    renderer->BindVertexBuffer(15, second);
    renderer->BindVertexBuffer(15, nullptr);
    EXPECT_TRUE(first->binds == 1 && first->unbinds == 1 && second->binds == 1 && second->unbinds == 1);
    EXPECT_EQ(renderer->GetVertexBuffer(15), nullptr);
    renderer->BindIndexBuffer(first);
    renderer->BindIndexBuffer(first);
    EXPECT_TRUE(first->binds == 3 && first->unbinds == 2);
    EXPECT_EQ(renderer->GetIndexBuffer(), first);
}

// Indices past the slots are ignored; debug builds stop at them.
TEST(CachedSlotsDeathTest, OutOfRangeIndicesChangeNothing) {
    auto renderer = MakeRenderer();
    const Core::RefPtr<ITexture> texture(TUN_NEW(FakeTexture, 1, 1));
    EXPECT_DEBUG_DEATH(renderer->SetTexture(32, texture), "out of range");
    EXPECT_DEBUG_DEATH(renderer->SetTextureMatrix(8, Matrix4::Scaling(2.0f, 2.0f, 2.0f)), "out of range");
    EXPECT_DEBUG_DEATH(renderer->SetLight(8, nullptr), "out of range");
    EXPECT_DEBUG_DEATH(renderer->BindVertexBuffer(16, nullptr), "out of range");
    EXPECT_EQ(texture->GetReferenceCount(), 1u);
    EXPECT_EQ(renderer->GetActiveTextureUnit(), 0u);
}

TEST(ProcessRenderer, TheInstalledRendererIsReachableUntilItGoes) {
    EXPECT_EQ(GetRenderer(), nullptr);
    EXPECT_FALSE(IsExtensionSupported("GL_ARB_multitexture"));
    {
        auto renderer = MakeRenderer();
        EXPECT_EQ(GetRenderer().Get(), renderer.Get());
        renderer->SetOpenGLExtensions({"GL_ARB_multitexture", "GL_ARB_texture_non_power_of_two"});
        EXPECT_TRUE(IsExtensionSupported("GL_ARB_texture_non_power_of_two"));
        EXPECT_FALSE(IsExtensionSupported("GL_ARB_texture"));
        EXPECT_FALSE(IsExtensionSupported(nullptr));
        EXPECT_EQ(renderer->GetDefaultTriple(), (std::array<std::uint32_t, 3>{0, 1, 0}));
    }
    EXPECT_EQ(GetRenderer(), nullptr);
}

}  // namespace
