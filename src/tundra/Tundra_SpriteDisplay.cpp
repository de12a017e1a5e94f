#include "tundra/Tundra_Sprite.h"

#include "collision/Collision_DynamicObject.h"
#include "tundra/Tundra_Circle.h"
#include "tundra/Tundra_Layer.h"
#include "tundra/Tundra_Line.h"

namespace Tundra {
namespace {

void Show(GameObject& object, const Color& color) {
    object.SetVisible(true);
    object.SetModulationColor(color);
}

void Place(Line& line, const Vector2D& start, const Vector2D& end, const Color& color) {
    line.SetStartPoint(start);
    line.SetEndPoint(end);
    Show(line, color);
}

// Objects past the ones a frame uses stay in the layer, hidden.
template <class T>
void HideFrom(const std::vector<Core::RefPtr<T>>& list, std::size_t first) {
    for (std::size_t i = first; i < list.size(); ++i) {
        list[i]->SetVisible(false);
    }
}

template <class T>
void DestroyAll(std::vector<Core::RefPtr<T>>& list) {
    for (const Core::RefPtr<T>& object : list) {
        object->Destroy();
    }
    list.clear();
}

}  // namespace

void Sprite::SetVisibleCollisionData(bool visible) {
    m_collisionDataVisible = visible;
    if (!visible) {
        // The hidden surplus objects go too: the sprite is their only user.
        DestroyAll(m_segmentLines);
        DestroyAll(m_circleObjects);
        m_linesInUse = 0;
        m_circlesInUse = 0;
    }
}

void Sprite::SetVisibleBoundingRectangle(bool visible) {
    m_boundingRectangleVisible = visible;
    if (!visible) {
        for (Core::RefPtr<Line>& line : m_rectangleLines) {
            if (line) {
                line->Destroy();
                line = nullptr;
            }
        }
    }
}

void Sprite::AddDisplayObject(GameObject& object) {
    object.SetZOrder(GetZOrder() + 0.1f);
    if (Layer* layer = GetLayer()) {
        layer->AddGameObject(&object, false, nullptr);
    }
}

void Sprite::UpdateShapeDisplay() {
    const Collision2D::DynamicObject* object = GetCollisionObject();
    if (object == nullptr || m_collisionActorIndex == -1) {
        return;
    }
    if (m_collisionDataVisible) {
        UpdateSegmentDisplay(*object);
        UpdateCircleDisplay(*object);
    }
    if (m_boundingRectangleVisible) {
        UpdateBoundingRectangleDisplay(*object);
    }
}

void Sprite::UpdateSegmentDisplay(const Collision2D::DynamicObject& object) {
    const auto segments = object.GetCurrentLineSegments();
    if (segments.empty()) {
        return;
    }
    for (std::size_t i = 0; i < segments.size(); ++i) {
        if (i < m_segmentLines.size()) {
            Place(*m_segmentLines[i], segments[i].pointA, segments[i].pointB, m_collisionDataColor);
            continue;
        }
        const Core::RefPtr<Line> line = TUN_NEW(Line, segments[i].pointA, segments[i].pointB);
        m_segmentLines.push_back(line);
        Show(*line, m_collisionDataColor);
        AddDisplayObject(*line);
    }
    m_linesInUse = static_cast<std::int32_t>(segments.size());
    HideFrom(m_segmentLines, segments.size());
}

void Sprite::UpdateCircleDisplay(const Collision2D::DynamicObject& object) {
    const auto circles = object.GetCurrentCircles();
    if (circles.empty()) {
        return;
    }
    for (std::size_t i = 0; i < circles.size(); ++i) {
        if (i < m_circleObjects.size()) {
            m_circleObjects[i]->SetRadius(circles[i].radius);
            m_circleObjects[i]->SetPosition(circles[i].center);
            Show(*m_circleObjects[i], m_collisionDataColor);
            continue;
        }
        const Core::RefPtr<Circle> circle = TUN_NEW(Circle, circles[i].radius);
        circle->SetPosition(circles[i].center);
        circle->SetVisible(false);
        Show(*circle, m_collisionDataColor);
        AddDisplayObject(*circle);
        m_circleObjects.push_back(circle);
    }
    m_circlesInUse = static_cast<std::int32_t>(circles.size());
    HideFrom(m_circleObjects, circles.size());
}

void Sprite::UpdateBoundingRectangleDisplay(const Collision2D::DynamicObject& object) {
    const Collision2D::TunRect box = object.GetCurrentBoundingRectangle();
    const Vector2D topLeft(box.left, box.top), topRight(box.right, box.top);
    const Vector2D bottomRight(box.right, box.bottom), bottomLeft(box.left, box.bottom);
    const std::array<std::pair<Vector2D, Vector2D>, 4> edges{
        {{topLeft, topRight}, {topRight, bottomRight}, {bottomRight, bottomLeft}, {bottomLeft, topLeft}}};
    for (std::size_t i = 0; i < edges.size(); ++i) {
        Core::RefPtr<Line>& line = m_rectangleLines[i];
        if (line) {
            Place(*line, edges[i].first, edges[i].second, m_boundingRectangleColor);
            continue;
        }
        line = TUN_NEW(Line, edges[i].first, edges[i].second);
        line->SetVisible(false);
        Show(*line, m_boundingRectangleColor);
        AddDisplayObject(*line);
    }
}

}  // namespace Tundra
