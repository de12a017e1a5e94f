#include "Tundra_HostileRead.h"
#include "support/Tundra_TestGame.h"

#include "tundra/Tundra_Circle.h"
#include "tundra/Tundra_Layer.h"
#include "tundra/Tundra_Level.h"
#include "tundra/Tundra_Line.h"

using namespace tundratest;

namespace {

template <class T>
Core::RefPtr<T> RoundTrip(const Core::Object& object) {
    const Bytes bytes = Saved(&object);
    Core::MemoryFile file(bytes.data(), static_cast<std::uint32_t>(bytes.size()));
    return file.ReadObjectAs<T>(Core::File::Reference::Owning);
}

bool SameColor(const Color& a, const Color& b) { return a.r == b.r && a.g == b.g && a.b == b.b && a.a == b.a; }

// The outline's first point lies on the x axis at the radius.
float OutlineRadius(const Tundra::Circle& circle) { return circle.GetCircleNode()->GetPoints().front().x; }

}  // namespace

TEST_F(GameTest, LinesAndCirclesComeBackFromTheirStreamsIntoRegistryMadeObjects) {
    Start();
    const Core::RefPtr<Tundra::Line> line = TUN_NEW(Tundra::Line, Vector2D(0.0f, 0.0f), Vector2D(10.0f, 5.0f));
    const Core::RefPtr<Tundra::Line> lineBack = RoundTrip<Tundra::Line>(*line);
    ASSERT_TRUE(lineBack != nullptr);
    EXPECT_EQ(lineBack->GetStartPoint(), Vector2D(0.0f, 0.0f));
    EXPECT_EQ(lineBack->GetEndPoint(), Vector2D(10.0f, 5.0f));
    EXPECT_EQ(lineBack->GetLinesNode()->GetPoints().size(), 2u);
    EXPECT_EQ(lineBack->GetSceneNode()->GetChildCount(), 1u);

    const Core::RefPtr<Tundra::Circle> circle = TUN_NEW(Tundra::Circle, 3.0f);
    circle->SetRadius(7.0f);
    const Core::RefPtr<Tundra::Circle> circleBack = RoundTrip<Tundra::Circle>(*circle);
    ASSERT_TRUE(circleBack != nullptr);
    EXPECT_EQ(circleBack->GetRadius(), 7.0f);
    EXPECT_EQ(circleBack->GetCircleNode()->GetPoints().size(), 146u);
    EXPECT_EQ(OutlineRadius(*circleBack), 7.0f);
    EXPECT_EQ(circleBack->GetSceneNode()->GetChildCount(), 1u);

    ReadHostile<Tundra::Line>(Saved(line.Get()), 3000);
    ReadHostile<Tundra::Circle>(Saved(circle.Get()), 3000);
}

TEST_F(GameTest, RegistryMadeLinesAndCirclesIgnoreSettersUntilLoaded) {
    const Core::RefPtr<Tundra::Line> line = static_cast<Tundra::Line*>(Tundra::Line::Create());
    line->SetStartPoint({1.0f, 2.0f});
    line->SetEndPoint({3.0f, 4.0f});
    line->RenderSync(0.0f);
    EXPECT_EQ(line->GetEndPoint(), Vector2D());
    EXPECT_EQ(line->GetSceneNode()->GetChildCount(), 0u);
    const Core::RefPtr<Tundra::Circle> circle = static_cast<Tundra::Circle*>(Tundra::Circle::Create());
    circle->SetRadius(4.0f);
    circle->RenderSync(0.0f);
    EXPECT_EQ(circle->GetRadius(), 0.0f);
    EXPECT_EQ(circle->GetSceneNode()->GetChildCount(), 0u);
}

TEST_F(GameTest, ColourAndOpacityReachTheOutlinesAtTheNextTickAndClonesOwnTheirNodes) {
    Start();
    const Core::RefPtr<Tundra::Line> line = TUN_NEW(Tundra::Line, Vector2D(0.0f, 0.0f), Vector2D(1.0f, 0.0f));
    const Core::RefPtr<Tundra::Circle> circle = TUN_NEW(Tundra::Circle, 2.0f);
    LayerAt(0).AddGameObject(line.Get());
    LayerAt(0).AddGameObject(circle.Get());
    Step(1);
    const Color red(1.0f, 0.0f, 0.0f, 1.0f);
    line->SetModulationColor(red);
    line->SetOpacity(0.5f);
    circle->SetModulationColor(red);
    EXPECT_FALSE(SameColor(line->GetLinesNode()->GetColor(), red));
    EXPECT_FALSE(SameColor(circle->GetCircleNode()->GetColor(), red));
    Step(1);
    EXPECT_TRUE(SameColor(line->GetLinesNode()->GetColor(), red));
    EXPECT_EQ(line->GetLinesNode()->GetOpacity(), 0.5f);
    EXPECT_TRUE(SameColor(circle->GetCircleNode()->GetColor(), red));

    const Core::RefPtr<Tundra::Line> copy = static_cast<Tundra::Line*>(line->Clone());
    copy->SetEndPoint({9.0f, 9.0f});
    EXPECT_EQ(line->GetEndPoint(), Vector2D(1.0f, 0.0f));
    EXPECT_EQ(copy->GetSceneNode()->GetChildCount(), 1u);
    const Core::RefPtr<Tundra::Circle> circleCopy = static_cast<Tundra::Circle*>(circle->Clone());
    circleCopy->SetRadius(5.0f);
    EXPECT_EQ(OutlineRadius(*circle), 2.0f);
    EXPECT_EQ(OutlineRadius(*circleCopy), 5.0f);
}
