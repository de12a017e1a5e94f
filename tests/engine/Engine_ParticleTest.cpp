#include "Engine_SceneTestSupport.h"

#include "engine/Engine_Circle.h"
#include "engine/Engine_Lines.h"
#include "engine/Engine_ParticleSystem.h"
#include "engine/Engine_TransformationGroup.h"

#include <cmath>

using Core::RefPtr;
using Engine::ParticleSystem;
using enginetest::New;

namespace {

// Notes the alpha of the last vertex-array draw.
struct Spy : enginetest::DrawSpy {
    void Draw(std::int32_t count) override { alpha = GetCurrentColor().a, DrawSpy::Draw(count); }
    float alpha = 0;
};

class Particles : public testing::Test {
protected:
    // Queues the node as an overlay and flushes; how many draws it made.
    std::size_t Draw(Engine::Node& node) {
        renderer->draws.clear();
        scene->SetViewportCount(1);
        node.SetHUDObject(true);
        node.DrawSelf();
        scene->FlushRenderQueue();
        return renderer->draws.size();
    }
    RefPtr<Spy> renderer = New<Spy>();
    RefPtr<Engine::SceneGraph> scene = New<Engine::SceneGraph>(renderer.Get());
};

void ExpectNear(const Vector3D& actual, float x, float y) {
    EXPECT_TRUE(std::abs(actual.x - x) < 1e-4f && std::abs(actual.y - y) < 1e-4f && actual.z == 0) << actual.x;
}

TEST_F(Particles, QuadsFaceTheCameraAtTheTexturesSizeInTheirColourPlacedAndBlendedAsSet) {
    renderer->SetViewMatrix(Matrix4::Translation(3, 4, -500));  // untilted
    const RefPtr<Engine::TransformationGroup> parent = New<Engine::TransformationGroup>();
    const RefPtr<ParticleSystem> system = New<ParticleSystem>(New<testsupport::FakeTexture>(32, 16), 2);
    parent->SetTransformation(Matrix4::Translation(7, 0, 0));
    parent->AddChild(system);
    system->SetDestinationBlendFactor(2);
    const Color tint(0.2f, 0.4f, 0.6f, 0.8f);
    system->GetParticles() = {{{100, 50, 0}, {1, 1}, 0, tint}, {{0, 0, 0}, {1, 1}, 90, tint}, {}};  // one too many
    Draw(*system);
    EXPECT_EQ(std::tuple(renderer->GetWorldMatrix().m, renderer->draws.at(0).blendDestination),
              std::tuple(Matrix4::Translation(7, 0, 0).m, 2));
    const auto& vertices = system->GetMesh()->GetVertices();
    const float corners[6][2] = {{-1, -1}, {1, -1}, {1, 1}, {1, 1}, {-1, 1}, {-1, -1}};
    for (int k = 0; k < 6; ++k) {
        ExpectNear(vertices[k], 100 + 16 * corners[k][0], 50 + 8 * corners[k][1]);
        ExpectNear(vertices[6 + k], -8 * corners[k][1], 16 * corners[k][0]);  // turned a quarter
        EXPECT_EQ(system->GetMesh()->GetColors()[k].b, tint.b);
    }
    system->GetParticles().resize(1);  // the second quad vanishes
    system->SetUseLocalCoordinates(false);
    Draw(*system);
    ExpectNear(vertices[9], 0, 0);
    EXPECT_EQ(std::tuple(vertices.size(), renderer->GetWorldMatrix().m), std::tuple(12u, Matrix4().m));
    EXPECT_EQ(Draw(*New<ParticleSystem>(nullptr, 1)), 0u);  // no texture
}

TEST_F(Particles, LinesAndCirclesDrawTheirPointsWithTheOpacityAsAlpha) {
    const RefPtr<Engine::Lines> lines = New<Engine::Lines>();
    EXPECT_EQ(Draw(*lines), 0u);
    lines->AddLine({0, 0, 0}, {1, 0, 0});
    lines->AddLine({0, 1, 0}, {1, 1, 0});
    lines->SetEndPoint(2, {9, 9, 9});  // no such line
    ExpectNear(lines->GetStartPoint(7), 0, 0);
    lines->SetOpacity(0.5f);
    Draw(*lines);
    EXPECT_EQ(std::tuple(renderer->alpha, renderer->Count("Draw 4")), std::tuple(0.5f, 1));
    const RefPtr<Engine::Lines> clone(static_cast<Engine::Lines*>(lines->Clone()));
    EXPECT_TRUE(clone->GetOpacity() == 0.5f && clone->GetPoints().size() == 4);

    const RefPtr<Engine::Circle> circle = New<Engine::Circle>(10.0f, 90);
    const auto& points = circle->GetPoints();
    ASSERT_EQ(points.size(), 10u);
    ExpectNear(points[0], 10, 0), ExpectNear(points[1], 10, 0);
    ExpectNear(points[3], 0, 10), ExpectNear(points[9], 10, 0);
    circle->SetOpacity(0.25f);
    circle->Build(10.0f, 7);
    ExpectNear(points.back(), 10 * std::cos(357 * M_PI / 180), 10 * std::sin(357 * M_PI / 180));
    circle->Build(10.0f, -5);
    circle->Build(10.0f, 0);  // would never end
    EXPECT_TRUE(points.empty() && circle->GetOpacity() == 0.25f);
}

}  // namespace
