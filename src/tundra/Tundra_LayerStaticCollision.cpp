#include "collision/Collision_CollisionEngine.h"
#include "collision/Collision_CollisionLayer.h"
#include "os/OS_File.h"
#include "tundra/Tundra_Circle.h"
#include "tundra/Tundra_Game.h"
#include "tundra/Tundra_Layer.h"
#include "tundra/Tundra_Line.h"
#include "tundra/Tundra_StaticCollisionFile.h"

#include <cstdio>
#include <string>

namespace Tundra {
namespace {

// Display objects of empty slots are none.
template <class T, class Action>
void ForEachShown(const std::vector<Core::RefPtr<T>>& objects, const Action& action) {
    for (const Core::RefPtr<T>& object : objects) {
        if (object) {
            action(*object);
        }
    }
}

}  // namespace

void Layer::ReadInformation_StaticCollision(const Core::String& path) {
    const os::FilePointer file = os::OpenFile(path, "rb");
    if (!file) {
        return;
    }
    std::string text;
    char buffer[4096];
    for (std::size_t read; (read = std::fread(buffer, 1, sizeof buffer, file.get())) != 0;) {
        text.append(buffer, read);
        if (text.size() > StaticCollisionFile::kMaxFileBytes) {
            std::fprintf(stderr, "Static collision file %s is larger than %zu bytes: no shapes added\n", path.c_str(),
                         StaticCollisionFile::kMaxFileBytes);
            return;
        }
    }
    const StaticCollisionFile shapes = StaticCollisionFile::Parse(text);
    for (const StaticCollisionFile::Segment& segment : shapes.segments) {
        AddStaticLineSegment(segment.a, segment.b, segment.group, segment.userId);
    }
    for (const StaticCollisionFile::Circle& circle : shapes.circles) {
        AddStaticCircle(circle.center, circle.radius, circle.group, circle.userId);
    }
}

void Layer::SetVisibleCollisionData(bool show) {
    m_collisionDataShown = show ? 1 : 0;
    if (show) {
        ShowStaticShapes();
        return;
    }
    // Destroy may run hooks that show the data again: the vectors are let go of first.
    const std::vector<Core::RefPtr<Circle>> circles = std::move(m_debugCircles);
    const std::vector<Core::RefPtr<Line>> lines = std::move(m_debugLines);
    m_debugCircles.clear();
    m_debugLines.clear();
    const auto destroy = [](GameObject& object) { object.Destroy(); };
    ForEachShown(circles, destroy);
    ForEachShown(lines, destroy);
}

void Layer::ShowStaticShapes() {
    const Game* game = Game::GetInstance();
    const Collision2D::CollisionEngine* collision = game != nullptr ? game->GetCollisionEngine() : nullptr;
    const Collision2D::CollisionLayer* shapes = collision != nullptr ? collision->GetLayer(m_collisionLayer) : nullptr;
    if (shapes == nullptr) {
        return;
    }
    // Slot 0 holds no shape; slots already covered keep their objects.
    for (std::uint32_t slot = static_cast<std::uint32_t>(m_debugCircles.size()) + 1;
         slot < shapes->GetStaticCircleSlotCount(); ++slot) {
        Core::RefPtr<Circle> shown;
        if (const Collision2D::StaticCollisionCircle* circle = shapes->GetStaticCircle(slot)) {
            shown = TUN_NEW(Circle, circle->radius);
            shown->SetPosition(circle->center);
            AddDisplayObject(*shown);
        }
        m_debugCircles.push_back(shown);
    }
    for (std::uint32_t slot = static_cast<std::uint32_t>(m_debugLines.size()) + 1;
         slot < shapes->GetStaticLineSegmentSlotCount(); ++slot) {
        Core::RefPtr<Line> shown;
        if (const Collision2D::StaticCollisionLineSegment* segment = shapes->GetStaticLineSegment(slot)) {
            shown = TUN_NEW(Line, segment->pointA, segment->pointB);
            AddDisplayObject(*shown);
        }
        m_debugLines.push_back(shown);
    }
}

void Layer::AddDisplayObject(GameObject& object) {
    object.SetVisible(true);
    object.SetModulationColor(m_collisionDataColor);
    AddGameObject(&object);
}

void Layer::SetCollisionDataColor(const Color& color) {
    m_collisionDataColor = color;
    const auto paint = [&color](GameObject& object) { object.SetModulationColor(color); };
    ForEachShown(m_debugCircles, paint);
    ForEachShown(m_debugLines, paint);
}

}  // namespace Tundra
