#include "tundra/Tundra_Line.h"

#include "core/Core_File.h"
#include "tundra/Tundra_ChildNode.h"

namespace Tundra {
namespace {

Vector3D OnPlane(const Vector2D& point) { return {point.x, point.y, 0.0f}; }

}  // namespace

void SyncLinesAppearance(const GameObject& object, Engine::LinesBase* node) {
    if (node != nullptr) {
        node->SetColor(object.GetModulationColor());
        node->SetOpacity(object.GetOpacity());
    }
}

Line::Line(const Vector2D& start, const Vector2D& end) { MakeNode(start, end); }

Line::Line(const Line& other) : GameObject(other) { ReplaceChildNode(*this, m_lines, CloneNode(other.m_lines)); }

void Line::MakeNode(const Vector2D& start, const Vector2D& end) {
    Core::RefPtr<Engine::Lines> lines = TUN_NEW(Engine::Lines);
    lines->AddLine(OnPlane(start), OnPlane(end));
    ReplaceChildNode(*this, m_lines, lines);
}

void Line::SetStartPoint(const Vector2D& point) {
    if (m_lines) {
        m_lines->SetStartPoint(0, OnPlane(point));
    }
}

void Line::SetEndPoint(const Vector2D& point) {
    if (m_lines) {
        m_lines->SetEndPoint(0, OnPlane(point));
    }
}

Vector2D Line::GetStartPoint() const {
    const Vector3D point = m_lines ? m_lines->GetStartPoint(0) : Vector3D();
    return {point.x, point.y};
}

Vector2D Line::GetEndPoint() const {
    const Vector3D point = m_lines ? m_lines->GetEndPoint(0) : Vector3D();
    return {point.x, point.y};
}

void Line::RenderSync(float dt) { SyncLinesAppearance(*this, m_lines.Get()); }

void Line::Save(Core::File& file) const {
    GameObject::Save(file);
    file << GetStartPoint() << GetEndPoint();
}

void Line::Load(Core::File& file) {
    GameObject::Load(file);
    Vector2D start;
    Vector2D end;
    file >> start >> end;
    if (file.HasFailed()) {
        return;
    }
    MakeNode(start, end);
    SetVisible(GetVisible());
}

}  // namespace Tundra

TUN_DEFINE_CLASS(Tundra::Line)
