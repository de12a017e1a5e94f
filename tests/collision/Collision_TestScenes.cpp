#include "Collision_TestScenes.h"

namespace scenes {

namespace {

struct Hasher {
    std::uint64_t value = 1469598103934665603ull;
    void Add(const void* data, std::size_t size) {
        const auto* bytes = static_cast<const unsigned char*>(data);
        for (std::size_t i = 0; i < size; ++i) {
            value = (value ^ bytes[i]) * 1099511628211ull;
        }
    }
    void Add(std::uint32_t v) { Add(&v, sizeof v); }
    void Add(float v) { Add(&v, sizeof v); }
    void Add(const Vector2D& v) { Add(v.x), Add(v.y); }
    void Add(const COLLISION_C& r) {
        Add(r.contactPosition), Add(r.penetrationDistance), Add(r.numberOfIntersectedPoints);
        for (std::uint32_t k = 0; k < r.numberOfIntersectedPoints; ++k) {
            Add(r.contactPoint[k]), Add(r.normal[k]);
        }
        Add(std::uint32_t(r.ownKind)), Add(r.ownIndex), Add(r.ownUserId), Add(r.otherIndex), Add(r.otherUserId);
    }
};

}  // namespace

std::uint64_t HashRecords(const CollisionEngine& engine, std::uint8_t layerIndex) {
    Hasher h;
    const CollisionLayer* layer = engine.GetLayer(layerIndex);
    for (std::uint32_t entry = 1; layer != nullptr && entry < layer->GetDynamicEntryCount(); ++entry) {
        const DynamicObject* o = layer->GetDynamicObject(entry);
        if (o == nullptr) {
            continue;
        }
        h.Add(o->GetId());
        for (std::uint32_t i = 0; i < o->GetBoundingRectangleCollisions().Count(); ++i) {
            h.Add(o->GetBoundingRectangleCollisions()[i].handle);
        }
        for (std::uint32_t i = 0; i < o->GetShapeCollisions().Count(); ++i) {
            const DGEO_C& d = o->GetShapeCollisions()[i];
            h.Add(d.handle), h.Add(d.contactPosition);
            for (std::uint32_t k = 0; k < d.currentLineSegmentsNumber; ++k) h.Add(d.lineSegments[k]);
            for (std::uint32_t k = 0; k < d.currentCirclesNumber; ++k) h.Add(d.circles[k]);
        }
        for (std::uint32_t i = 0; i < o->GetLineSegmentCollisions().Count(); ++i) {
            h.Add(o->GetLineSegmentCollisions()[i].handle), h.Add(o->GetLineSegmentCollisions()[i]);
        }
        for (std::uint32_t i = 0; i < o->GetCircleCollisions().Count(); ++i) {
            h.Add(o->GetCircleCollisions()[i].handle), h.Add(o->GetCircleCollisions()[i]);
        }
    }
    return h.value;
}

}  // namespace scenes
