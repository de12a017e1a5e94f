#pragma once

#include "collision/Collision_Results.h"
#include "core/Core_String.h"

#include <cstdint>

namespace Collision2D {
class DynamicObject;
}

namespace Tundra {

class GameObject;

// Questions game code asks of a collision object's records after the
// collision step. Sprite records come in two lists: by bounding rectangle,
// and by shape (shape = true). A null object answers 0, false or null.

int GetNumberOfCollidedSprites(const Collision2D::DynamicObject* object, bool shape);
int GetNumberOfCollidedCircles(const Collision2D::DynamicObject* object);
int GetNumberOfCollidedLineSegments(const Collision2D::DynamicObject* object);
// The other object of the i-th sprite record; null once it is gone.
GameObject* GetCollidedSprite(const Collision2D::DynamicObject* object, int i, bool shape);
const Collision2D::BRECT_C* GetCollidedSpriteRectangleData(const Collision2D::DynamicObject* object, int i);
const Collision2D::DGEO_C* GetCollidedSpriteData(const Collision2D::DynamicObject* object, int i);
const Collision2D::CIR_C* GetCollidedCircleData(const Collision2D::DynamicObject* object, int i);
const Collision2D::LNS_C* GetCollidedLineSegmentData(const Collision2D::DynamicObject* object, int i);
// Some record of the chosen list has another object of that name.
bool IsCollidedWithSprite(const Collision2D::DynamicObject* object, const Core::String& name, bool shape);
// Some shape record lists a segment (circle) of the other object with that user id.
bool IsCollidedWithSpriteLineSegment(const Collision2D::DynamicObject* object, std::uint32_t id);
bool IsCollidedWithSpriteCircle(const Collision2D::DynamicObject* object, std::uint32_t id);
// Some record names the static segment (circle) with that user id.
bool IsCollidedWithLineSegment(const Collision2D::DynamicObject* object, std::uint32_t id);
bool IsCollidedWithCircle(const Collision2D::DynamicObject* object, std::uint32_t id);
// One of this object's own circles (segments) of that user id is in a
// circle, segment or sprite-shape record.
bool IsMyCircleCollided(const Collision2D::DynamicObject* object, std::uint32_t id);
bool IsMyLineSegmentCollided(const Collision2D::DynamicObject* object, std::uint32_t id);
// As above, and the shape met has the user id otherId.
bool IsMyCircleCollided(const Collision2D::DynamicObject* object, std::uint32_t id, std::uint32_t otherId);
bool IsMyLineSegmentCollided(const Collision2D::DynamicObject* object, std::uint32_t id, std::uint32_t otherId);

}  // namespace Tundra
