#include "tundra/Tundra_CollisionQueries.h"

#include "collision/Collision_CollisionEngine.h"
#include "tundra/Tundra_Game.h"
#include "tundra/Tundra_GameObject.h"

namespace Tundra {
namespace {

GameObject* OwnerOf(std::uint32_t handle) {
    const Game* game = Game::GetInstance();
    const Collision2D::CollisionEngine* collision = game != nullptr ? game->GetCollisionEngine() : nullptr;
    const Collision2D::CollisionObject* entry = collision != nullptr ? collision->GetObject(handle) : nullptr;
    return entry != nullptr ? dynamic_cast<GameObject*>(entry->GetOwner()) : nullptr;
}

template <class List>
auto* At(const List& list, int i) {
    return i >= 0 && static_cast<std::uint32_t>(i) < list.Count() ? &list[static_cast<std::uint32_t>(i)] : nullptr;
}

template <class List, class Test>
bool Any(const List& list, Test test) {
    for (std::uint32_t i = 0; i < list.Count(); ++i) {
        if (test(list[i])) {
            return true;
        }
    }
    return false;
}

template <class Test>
bool AnyShapeResult(const Collision2D::DGEO_C& record, Test test) {
    for (std::uint32_t k = 0; k < record.currentLineSegmentsNumber && k < record.lineSegments.size(); ++k) {
        if (test(record.lineSegments[k], Collision2D::ShapeKind::LineSegment)) {
            return true;
        }
    }
    for (std::uint32_t k = 0; k < record.currentCirclesNumber && k < record.circles.size(); ++k) {
        if (test(record.circles[k], Collision2D::ShapeKind::Circle)) {
            return true;
        }
    }
    return false;
}

// otherId, when given, must be the user id of the shape met too.
bool IsMyShapeCollided(const Collision2D::DynamicObject* object, Collision2D::ShapeKind kind, std::uint32_t id,
                       const std::uint32_t* otherId) {
    if (object == nullptr) {
        return false;
    }
    const auto mine = [kind, id, otherId](const Collision2D::COLLISION_C& result) {
        return result.ownKind == kind && result.ownUserId == id && (otherId == nullptr || result.otherUserId == *otherId);
    };
    return Any(object->GetCircleCollisions(), mine) || Any(object->GetLineSegmentCollisions(), mine) ||
           Any(object->GetShapeCollisions(), [&mine](const Collision2D::DGEO_C& record) {
               return AnyShapeResult(record, [&mine](const Collision2D::COLLISION_C& result, Collision2D::ShapeKind) {
                   return mine(result);
               });
           });
}

bool IsCollidedWithSpriteShape(const Collision2D::DynamicObject* object, Collision2D::ShapeKind kind,
                               std::uint32_t id) {
    return object != nullptr && Any(object->GetShapeCollisions(), [kind, id](const Collision2D::DGEO_C& record) {
               return AnyShapeResult(record, [kind, id](const Collision2D::COLLISION_C& result,
                                                        Collision2D::ShapeKind otherKind) {
                   return otherKind == kind && result.otherUserId == id;
               });
           });
}

}  // namespace

int GetNumberOfCollidedSprites(const Collision2D::DynamicObject* object, bool shape) {
    if (object == nullptr) {
        return 0;
    }
    return static_cast<int>(shape ? object->GetShapeCollisions().Count() : object->GetBoundingRectangleCollisions().Count());
}

int GetNumberOfCollidedCircles(const Collision2D::DynamicObject* object) {
    return object != nullptr ? static_cast<int>(object->GetCircleCollisions().Count()) : 0;
}

int GetNumberOfCollidedLineSegments(const Collision2D::DynamicObject* object) {
    return object != nullptr ? static_cast<int>(object->GetLineSegmentCollisions().Count()) : 0;
}

GameObject* GetCollidedSprite(const Collision2D::DynamicObject* object, int i, bool shape) {
    if (object == nullptr) {
        return nullptr;
    }
    if (shape) {
        const Collision2D::DGEO_C* record = At(object->GetShapeCollisions(), i);
        return record != nullptr ? OwnerOf(record->handle) : nullptr;
    }
    const Collision2D::BRECT_C* record = At(object->GetBoundingRectangleCollisions(), i);
    return record != nullptr ? OwnerOf(record->handle) : nullptr;
}

const Collision2D::BRECT_C* GetCollidedSpriteRectangleData(const Collision2D::DynamicObject* object, int i) {
    return object != nullptr ? At(object->GetBoundingRectangleCollisions(), i) : nullptr;
}

const Collision2D::DGEO_C* GetCollidedSpriteData(const Collision2D::DynamicObject* object, int i) {
    return object != nullptr ? At(object->GetShapeCollisions(), i) : nullptr;
}

const Collision2D::CIR_C* GetCollidedCircleData(const Collision2D::DynamicObject* object, int i) {
    return object != nullptr ? At(object->GetCircleCollisions(), i) : nullptr;
}

const Collision2D::LNS_C* GetCollidedLineSegmentData(const Collision2D::DynamicObject* object, int i) {
    return object != nullptr ? At(object->GetLineSegmentCollisions(), i) : nullptr;
}

bool IsCollidedWithSprite(const Collision2D::DynamicObject* object, const Core::String& name, bool shape) {
    if (object == nullptr) {
        return false;
    }
    const auto named = [&name](std::uint32_t handle) {
        const GameObject* other = OwnerOf(handle);
        return other != nullptr && other->GetName() == name;
    };
    if (shape) {
        return Any(object->GetShapeCollisions(), [&named](const Collision2D::DGEO_C& r) { return named(r.handle); });
    }
    return Any(object->GetBoundingRectangleCollisions(),
               [&named](const Collision2D::BRECT_C& r) { return named(r.handle); });
}

bool IsCollidedWithSpriteLineSegment(const Collision2D::DynamicObject* object, std::uint32_t id) {
    return IsCollidedWithSpriteShape(object, Collision2D::ShapeKind::LineSegment, id);
}

bool IsCollidedWithSpriteCircle(const Collision2D::DynamicObject* object, std::uint32_t id) {
    return IsCollidedWithSpriteShape(object, Collision2D::ShapeKind::Circle, id);
}

bool IsCollidedWithLineSegment(const Collision2D::DynamicObject* object, std::uint32_t id) {
    return object != nullptr &&
           Any(object->GetLineSegmentCollisions(), [id](const Collision2D::LNS_C& r) { return r.otherUserId == id; });
}

bool IsCollidedWithCircle(const Collision2D::DynamicObject* object, std::uint32_t id) {
    return object != nullptr &&
           Any(object->GetCircleCollisions(), [id](const Collision2D::CIR_C& r) { return r.otherUserId == id; });
}

bool IsMyCircleCollided(const Collision2D::DynamicObject* object, std::uint32_t id) {
    return IsMyShapeCollided(object, Collision2D::ShapeKind::Circle, id, nullptr);
}

bool IsMyLineSegmentCollided(const Collision2D::DynamicObject* object, std::uint32_t id) {
    return IsMyShapeCollided(object, Collision2D::ShapeKind::LineSegment, id, nullptr);
}

bool IsMyCircleCollided(const Collision2D::DynamicObject* object, std::uint32_t id, std::uint32_t otherId) {
    return IsMyShapeCollided(object, Collision2D::ShapeKind::Circle, id, &otherId);
}

bool IsMyLineSegmentCollided(const Collision2D::DynamicObject* object, std::uint32_t id, std::uint32_t otherId) {
    return IsMyShapeCollided(object, Collision2D::ShapeKind::LineSegment, id, &otherId);
}

}  // namespace Tundra
