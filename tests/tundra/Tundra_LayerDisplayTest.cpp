#include "Tundra_TestGame.h"

#include "tundra/Tundra_Circle.h"
#include "tundra/Tundra_Layer.h"
#include "tundra/Tundra_Level.h"
#include "tundra/Tundra_Line.h"

using namespace tundratest;

namespace {

template <class T>
std::vector<T*> Members(const Tundra::Layer& layer) {
    std::vector<Tundra::GameObject*> objects;
    layer.GetGameObjects(objects);
    std::vector<T*> found;
    for (Tundra::GameObject* object : objects) {
        if (T* shown = dynamic_cast<T*>(object)) {
            found.push_back(shown);
        }
    }
    return found;
}

}  // namespace

TEST_F(GameTest, TheLayerShowsEachStaticShapeOnceAndAgainAfterHiding) {
    Start();
    Tundra::Layer& layer = LayerAt(0);
    layer.AddStaticLineSegment({0.0f, 0.0f}, {10.0f, 5.0f}, 0, 1);
    layer.AddStaticLineSegment({1.0f, 1.0f}, {2.0f, 2.0f}, 0, 2);
    layer.AddStaticCircle({4.0f, 6.0f}, 3.0f, 0, 3);
    const auto counts = [&layer] {
        return std::pair(Members<Tundra::Line>(layer).size(), Members<Tundra::Circle>(layer).size());
    };

    layer.SetVisibleCollisionData(true);
    layer.SetVisibleCollisionData(true);
    Step(1);
    EXPECT_EQ(counts(), std::pair(std::size_t(2), std::size_t(1)));
    const Tundra::Line& first = *Members<Tundra::Line>(layer).front();
    EXPECT_EQ(first.GetEndPoint(), Vector2D(10.0f, 5.0f));
    EXPECT_EQ(Members<Tundra::Circle>(layer).front()->GetPosition(), Vector2D(4.0f, 6.0f));
    EXPECT_EQ(Members<Tundra::Circle>(layer).front()->GetRadius(), 3.0f);

    layer.AddStaticLineSegment({5.0f, 0.0f}, {6.0f, 0.0f}, 0, 4);
    layer.SetVisibleCollisionData(true);
    Step(1);
    EXPECT_EQ(counts(), std::pair(std::size_t(3), std::size_t(1)));

    layer.SetVisibleCollisionData(false);
    Step(1);
    EXPECT_EQ(counts(), std::pair(std::size_t(0), std::size_t(0)));
    layer.SetVisibleCollisionData(true);
    Step(1);
    EXPECT_EQ(counts(), std::pair(std::size_t(3), std::size_t(1)));
}

TEST_F(GameTest, ACollisionColourReachesEveryShownShapeEvenAfterOneWasDestroyedElsewhere) {
    Start();
    Tundra::Layer& layer = LayerAt(0);
    layer.AddStaticLineSegment({0.0f, 0.0f}, {1.0f, 0.0f}, 0, 1);
    layer.AddStaticCircle({0.0f, 0.0f}, 1.0f, 0, 2);
    layer.SetVisibleCollisionData(true);
    Step(1);
    Members<Tundra::Line>(layer).front()->Destroy();
    Step(1);
    ASSERT_TRUE(Members<Tundra::Line>(layer).empty());

    const Color green(0.0f, 1.0f, 0.0f, 1.0f);
    layer.SetCollisionDataColor(green);
    Tundra::Circle& circle = *Members<Tundra::Circle>(layer).front();
    EXPECT_EQ(circle.GetModulationColor().g, 1.0f);
    Step(1);
    EXPECT_EQ(circle.GetCircleNode()->GetColor().g, 1.0f);
    // The line left the layer already: hiding destroys only the circle, without a fault.
    layer.SetVisibleCollisionData(false);
    Step(1);
    EXPECT_TRUE(Members<Tundra::Circle>(layer).empty());
    layer.SetVisibleCollisionData(true);
    m_game->RestartLevel();
    Step(2);
}
