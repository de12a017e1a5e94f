#include "support/Tundra_TestGame.h"

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

TEST_F(GameTest, TheLayerShowsEachStaticShapeOnceInItsColourAndAgainAfterHiding) {
    Start();
    Tundra::Layer& layer = LayerAt(0);
    layer.AddStaticLineSegment({0.0f, 0.0f}, {10.0f, 5.0f}, 0, 1);
    layer.AddStaticLineSegment({1.0f, 1.0f}, {2.0f, 2.0f}, 0, 2);
    layer.AddStaticCircle({4.0f, 6.0f}, 3.0f, 0, 3);
    const auto shown = [&layer](std::size_t lines, std::size_t circles) {
        return Members<Tundra::Line>(layer).size() == lines && Members<Tundra::Circle>(layer).size() == circles;
    };
    layer.SetVisibleCollisionData(true);
    layer.SetVisibleCollisionData(true);
    Step(1);
    ASSERT_TRUE(shown(2, 1));
    EXPECT_EQ(Members<Tundra::Line>(layer).front()->GetEndPoint(), Vector2D(10.0f, 5.0f));
    const Tundra::Circle& circle = *Members<Tundra::Circle>(layer).front();
    EXPECT_TRUE(circle.GetPosition() == Vector2D(4.0f, 6.0f) && circle.GetRadius() == 3.0f);

    // Only the shape added since gets an object.
    layer.AddStaticLineSegment({5.0f, 0.0f}, {6.0f, 0.0f}, 0, 4);
    layer.SetVisibleCollisionData(true);
    Step(1);
    EXPECT_TRUE(shown(3, 1));

    // One destroyed from elsewhere leaves the layer; colouring and hiding the rest never touch it again.
    Members<Tundra::Line>(layer).front()->Destroy();
    Step(1);
    layer.SetCollisionDataColor(Color(0.0f, 1.0f, 0.0f, 1.0f));
    EXPECT_EQ(circle.GetModulationColor().g, 1.0f);
    EXPECT_EQ(Members<Tundra::Line>(layer).back()->GetModulationColor().g, 1.0f);
    Step(1);
    EXPECT_EQ(circle.GetCircleNode()->GetColor().g, 1.0f);

    layer.SetVisibleCollisionData(false);
    Step(1);
    EXPECT_TRUE(shown(0, 0));
    layer.SetVisibleCollisionData(true);
    Step(1);
    EXPECT_TRUE(shown(3, 1));
}
