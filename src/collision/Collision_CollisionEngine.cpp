#include "collision/Collision_CollisionEngine.h"

#include "collision/Collision_Stream.h"

#include <cmath>

namespace Collision2D {

namespace {

using Math::IsFinite;

}  // namespace

CollisionEngine::CollisionEngine() = default;

CollisionEngine::~CollisionEngine() = default;

void CollisionEngine::Update(float) {
    for (const auto& layer : m_layers) {
        m_pass.Run(*layer);
        layer->ReleaseWaitingEntries();
    }
}

void CollisionEngine::Clear() { m_layers.clear(); }

std::uint8_t CollisionEngine::AddLayer() {
    if (m_layers.size() >= kNoLayer) {
        return kNoLayer;
    }
    const auto index = static_cast<std::uint8_t>(m_layers.size());
    m_layers.push_back(std::make_unique<CollisionLayer>(index));
    return index;
}

const CollisionLayer* CollisionEngine::GetLayer(std::uint8_t layer) const {
    return layer < m_layers.size() ? m_layers[layer].get() : nullptr;
}

void CollisionEngine::SetLayerGrid(std::uint8_t layer, const Vector2D& origin, int width, int height, int cellSize) {
    if (layer < m_layers.size() && IsFinite(origin)) {
        m_layers[layer]->SetGrid(origin, width, height, cellSize);
    }
}

std::uint32_t CollisionEngine::AddObject(DynamicObject* object, std::uint8_t layer, const Vector2D& position) {
    if (object == nullptr || object->GetId() != 0) {
        return 0;
    }
    const std::uint32_t id = layer < m_layers.size() ? m_layers[layer]->AddDynamic(object) : 0;
    if (id == 0) {
        delete object;
        return 0;
    }
    object->PlaceAt(position);
    return id;
}

std::uint32_t CollisionEngine::AddObject(StaticCollisionCircle* circle, std::uint8_t layer, const Vector2D& position) {
    if (circle == nullptr || circle->GetId() != 0) {
        return 0;
    }
    circle->center = circle->center + position;
    const bool valid = IsFinite(circle->center) && std::isfinite(circle->radius) && circle->radius >= 0.0f;
    const std::uint32_t id = valid && layer < m_layers.size() ? m_layers[layer]->AddStaticCircle(circle) : 0;
    if (id == 0) {
        delete circle;
    }
    return id;
}

std::uint32_t CollisionEngine::AddObject(StaticCollisionLineSegment* segment, std::uint8_t layer,
                                         const Vector2D& position) {
    if (segment == nullptr || segment->GetId() != 0) {
        return 0;
    }
    segment->pointA = segment->pointA + position;
    segment->pointB = segment->pointB + position;
    const bool valid = IsFinite(segment->pointA) && IsFinite(segment->pointB);
    const std::uint32_t id = valid && layer < m_layers.size() ? m_layers[layer]->AddStaticLineSegment(segment) : 0;
    if (id == 0) {
        delete segment;
    }
    return id;
}

void CollisionEngine::RemoveObject(std::uint32_t id) {
    if (CollisionLayer* layer = LayerOf(id)) {
        layer->Remove(NumberOf(id));
    }
}

std::uint32_t CollisionEngine::CloneObject(std::uint32_t id, const Vector2D& position, Core::Object* owner) {
    const DynamicObject* source = GetCollisionResults(id);
    if (source == nullptr) {
        return 0;
    }
    DynamicObject* copy = source->CloneAt(position);
    copy->SetOwner(owner);
    const std::uint32_t copyId = LayerOf(id)->AddDynamic(copy);
    if (copyId == 0) {
        delete copy;
    }
    return copyId;
}

void CollisionEngine::ClearStaticGeometry(std::uint8_t layer) {
    if (layer < m_layers.size()) {
        m_layers[layer]->ClearStatic();
    }
}

void CollisionEngine::SetObjectPosition(std::uint32_t id, const Vector2D& position) {
    if (DynamicObject* object = GetCollisionResults(id)) {
        object->SetPosition(position);
    }
}

void CollisionEngine::SetObjectOrientation(std::uint32_t id, float degrees) {
    if (DynamicObject* object = GetCollisionResults(id)) {
        object->SetOrientation(degrees);
    }
}

void CollisionEngine::SetObjectOldPosition(std::uint32_t id, const Vector2D& position) {
    if (DynamicObject* object = GetCollisionResults(id)) {
        object->SetOldPosition(position);
    }
}

void CollisionEngine::SetObjectOldOrientation(std::uint32_t id, float degrees) {
    if (DynamicObject* object = GetCollisionResults(id)) {
        object->SetOldOrientation(degrees);
    }
}

void CollisionEngine::SetObjectOffset(std::uint32_t id, const Vector2D& offset) {
    if (DynamicObject* object = GetCollisionResults(id)) {
        object->SetOffset(offset);
    }
}

CollisionObject* CollisionEngine::GetObject(std::uint32_t id) const {
    const CollisionLayer* layer = LayerOf(id);
    return layer == nullptr ? nullptr : layer->Find(NumberOf(id));
}

void CollisionEngine::Save(Core::File& file) const {
    file.WriteU32(GetLayerCount());
    for (const auto& layer : m_layers) {
        layer->Save(file);
    }
}

void CollisionEngine::Load(Core::File& file) {
    Clear();
    const std::uint32_t count = ReadCount(file, kNoLayer);
    for (std::uint32_t i = 0; i < count && !file.HasFailed(); ++i) {
        m_layers.push_back(std::make_unique<CollisionLayer>(static_cast<std::uint8_t>(i)));
        m_layers.back()->Load(file);
    }
    if (file.HasFailed()) {
        Clear();
    }
}

}  // namespace Collision2D
