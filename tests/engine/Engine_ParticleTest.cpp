#include "Engine_SceneTestSupport.h"

#include "engine/Engine_Circle.h"
#include "engine/Engine_Lines.h"
#include "engine/Engine_ParticleSystem.h"
#include "engine/Engine_TransformationGroup.h"

#include <cmath>
#include <tuple>

using Core::RefPtr;
using Engine::Particle;
using Engine::ParticleSystem;
using enginetest::New;

namespace {

// What the renderer held at each draw: placement, colour, destination blend factor.
struct Spy : enginetest::DrawSpy {
    void DrawIndexRange(std::int32_t first, std::int32_t last) override { Note(); DrawSpy::DrawIndexRange(first, last); }
    void Draw(std::int32_t count) override { Note(); DrawSpy::Draw(count); }
    void Note() { held.emplace_back(GetWorldMatrix().m, GetCurrentColor().a); }
    std::vector<std::tuple<std::array<float, 16>, float>> held;
};

class Particles : public testing::Test {
protected:
    // Queues the node and flushes.
    void Draw(Engine::Node& node) {
        renderer->held.clear();
        renderer->draws.clear();
        node.DrawSelf();
        scene->GetRenderQueue().Flush();
        scene->GetRenderQueue().EndFrame();
    }
    RefPtr<Spy> renderer = New<Spy>();
    RefPtr<Engine::SceneGraph> scene = New<Engine::SceneGraph>(renderer.Get());
};

void ExpectNear(const Vector3D& actual, const Vector3D& expected) {
    EXPECT_TRUE(std::abs(actual.x - expected.x) < 1e-4f && std::abs(actual.y - expected.y) < 1e-4f &&
                std::abs(actual.z - expected.z) < 1e-4f)
        << actual.x << " " << actual.y << " " << actual.z;
}

TEST_F(Particles, QuadsFaceAnUntiltedCameraAtTheTexturesSizeInTheirColour) {
    renderer->SetViewMatrix(Matrix4::Translation(3, 4, -500));
    const RefPtr<ParticleSystem> system = New<ParticleSystem>(New<testsupport::FakeTexture>(32, 16), 2);
    system->SetHUDObject(true);
    scene->SetViewportCount(1);
    const Color tint(0.2f, 0.4f, 0.6f, 0.8f);
    system->GetParticles()[0] = {{100, 50, 0}, {1, 1}, 0, tint};
    system->GetParticles()[1] = {{0, 0, 0}, {1, 1}, 90, tint};
    Draw(*system);
    const auto& vertices = system->GetMesh()->GetVertices();
    const float corners[6][2] = {{-1, -1}, {1, -1}, {1, 1}, {1, 1}, {-1, 1}, {-1, -1}};
    for (int k = 0; k < 6; ++k) {
        ExpectNear(vertices[k], {100 + 16 * corners[k][0], 50 + 8 * corners[k][1], 0});
        ExpectNear(vertices[6 + k], {-8 * corners[k][1], 16 * corners[k][0], 0});  // turned a quarter
        const Color colour = system->GetMesh()->GetColors()[k];
        EXPECT_EQ(std::tuple(colour.r, colour.g, colour.b, colour.a), std::tuple(tint.r, tint.g, tint.b, tint.a));
    }
    system->GetParticles().resize(5);  // longer than the mesh: nothing past it is written
    Draw(*system);
    system->GetParticles().resize(1);  // the second quad vanishes
    Draw(*system);
    EXPECT_EQ(system->GetMesh()->GetVertices().size(), 12u);
    ExpectNear(vertices[6], {}), ExpectNear(vertices[9], {});
    EXPECT_EQ(renderer->Count("DrawIndexRange 0 11"), 3);
}

TEST_F(Particles, PlacementAndBlendFactorsReachTheItem) {
    const RefPtr<Engine::TransformationGroup> parent = New<Engine::TransformationGroup>();
    parent->SetTransformation(Matrix4::Translation(7, 0, 0));
    scene->AddChild(parent);
    const RefPtr<ParticleSystem> system = New<ParticleSystem>(New<testsupport::FakeTexture>(8, 8), 1);
    parent->AddChild(system);
    system->SetBoundingSize(4);
    scene->UpdateAsCurrent(0.0f);
    system->SetHUDObject(true);
    scene->SetViewportCount(1);
    system->SetDestinationBlendFactor(2);
    Draw(*system);
    ASSERT_EQ(renderer->held.size(), 1u);
    EXPECT_EQ(std::tuple(std::get<0>(renderer->held[0]), renderer->draws[0].blendDestination),
              std::tuple(Matrix4::Translation(7, 0, 0).m, 2));
    system->SetUseLocalCoordinates(false);
    Draw(*system);
    EXPECT_EQ(std::get<0>(renderer->held.at(0)), Matrix4().m);
    BoundingBox box;
    system->GetWorldBoundingVolume(box);
    ExpectNear(box.corners[0], {9, 2, 2});
    const RefPtr<ParticleSystem> clone(static_cast<ParticleSystem*>(system->Clone()));
    EXPECT_TRUE(clone->GetMesh() != system->GetMesh() && clone->GetTexture() == system->GetTexture() &&
                !clone->GetUseLocalCoordinates() && clone->GetDestinationBlendFactor() == 2);
    const RefPtr<ParticleSystem> bare = New<ParticleSystem>(nullptr, 1);  // no texture: nothing to draw
    bare->SetHUDObject(true);
    Draw(*bare);
    EXPECT_TRUE(renderer->held.empty());
}

TEST_F(Particles, LinesDrawTheirPointsInTheirColourWithTheOpacityAsAlpha) {
    const RefPtr<Engine::Lines> lines = New<Engine::Lines>();
    scene->AddChild(lines);
    Draw(*lines);
    EXPECT_TRUE(renderer->held.empty());
    lines->AddLine({0, 0, 0}, {1, 0, 0});
    lines->AddLine({0, 1, 0}, {1, 1, 0});
    lines->SetEndPoint(1, {5, 5, 5});
    lines->SetEndPoint(2, {9, 9, 9});  // no such line
    ExpectNear(lines->GetEndPoint(1), {5, 5, 5}), ExpectNear(lines->GetStartPoint(7), {});
    lines->SetColor({1, 0, 0, 0});
    lines->SetOpacity(0.5f);
    Draw(*lines);
    EXPECT_EQ(std::tuple(renderer->Count("Draw 4"), std::get<1>(renderer->held.at(0))), std::tuple(1, 0.5f));
    const RefPtr<Engine::Lines> clone(static_cast<Engine::Lines*>(lines->Clone()));
    EXPECT_TRUE(clone->GetOpacity() == 0.5f && clone->GetColor().r == 1 && clone->GetPoints().size() == 4);
}

TEST_F(Particles, CirclesArePiecesOfWholeStepsUpTo360Degrees) {
    const RefPtr<Engine::Circle> circle = New<Engine::Circle>(10.0f, 90);
    const auto& points = circle->GetPoints();
    ASSERT_EQ(points.size(), 10u);
    ExpectNear(points[0], {10, 0, 0}), ExpectNear(points[1], {10, 0, 0}), ExpectNear(points[3], {0, 10, 0});
    ExpectNear(points[9], {10, 0, 0});
    circle->SetOpacity(0.25f);
    circle->Build(10.0f, 7);
    const float end = 357.0f * 3.14159265f / 180.0f;
    ExpectNear(points.back(), {10 * std::cos(end), 10 * std::sin(end), 0});
    for (const int step : {0, -5}) {
        circle->Build(10.0f, step);
        EXPECT_TRUE(points.empty());
    }
    EXPECT_EQ(circle->GetOpacity(), 0.25f);
}

}  // namespace
