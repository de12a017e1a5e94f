#include "collision/Collision_FiniteRecords.h"

#include <cmath>

namespace Collision2D {

namespace {

using Math::IsFinite;

bool IsFinite(const COLLISION_C& r) {
    if (!IsFinite(r.contactPosition) || !std::isfinite(r.penetrationDistance)) {
        return false;
    }
    for (std::uint32_t k = 0; k < 2; ++k) {
        if (!IsFinite(r.contactPoint[k]) || !IsFinite(r.normal[k])) {
            return false;
        }
    }
    return true;
}

template <class Record>
bool AllFinite(const RecordList<Record>& records) {
    for (std::uint32_t i = 0; i < records.Count(); ++i) {
        if (!IsFinite(records[i])) {
            return false;
        }
    }
    return true;
}

bool AllFinite(const std::vector<COLLISION_C>& list, std::uint32_t count) {
    for (std::uint32_t i = 0; i < count; ++i) {
        if (!IsFinite(list[i])) {
            return false;
        }
    }
    return true;
}

}  // namespace

bool RecordsAreFinite(const DynamicObject& object) {
    const RecordList<DGEO_C>& shapes = object.GetShapeCollisions();
    for (std::uint32_t i = 0; i < shapes.Count(); ++i) {
        const DGEO_C& d = shapes[i];
        if (!IsFinite(d.contactPosition) || !AllFinite(d.lineSegments, d.currentLineSegmentsNumber) ||
            !AllFinite(d.circles, d.currentCirclesNumber)) {
            return false;
        }
    }
    return AllFinite(object.GetLineSegmentCollisions()) && AllFinite(object.GetCircleCollisions());
}

}  // namespace Collision2D
