#include "tundra/Tundra_Sprite.h"

#include "collision/Collision_DynamicObject.h"
#include "core/Core_File.h"
#include "engine/Engine_RenderingApplication.h"
#include "tundra/Tundra_Circle.h"
#include "tundra/Tundra_CollisionQueries.h"
#include "tundra/Tundra_Game.h"
#include "tundra/Tundra_Layer.h"
#include "tundra/Tundra_Level.h"
#include "tundra/Tundra_Line.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace Tundra {
namespace {

// Written for a record whose other object is gone: 0 is a valid ID.
constexpr std::uint32_t kGoneObjectId = 0xFFFFFFFF;


std::uint32_t ReadU32(Core::File& file) {
    std::uint32_t value = 0;
    file.ReadU32(value);
    return value;
}

template <class T>
void WriteList(Core::File& file, const std::vector<Core::RefPtr<T>>& list) {
    file.WriteU32(static_cast<std::uint32_t>(list.size()));
    for (const Core::RefPtr<T>& object : list) {
        file << object;
    }
}

// Element by element, so a hostile count fails when the bytes run out;
// null entries are left out.
template <class T>
std::vector<Core::RefPtr<T>> ReadList(Core::File& file) {
    std::vector<Core::RefPtr<T>> list;
    const std::uint32_t count = ReadU32(file);
    for (std::uint32_t i = 0; i < count && !file.HasFailed(); ++i) {
        if (T* object = file.ReadObjectAs<T>()) {
            list.emplace_back(object);
        }
    }
    return list;
}

// A stored count, kept within the objects that were read.
std::int32_t CountInUse(std::uint32_t stored, std::size_t available) {
    return static_cast<std::int32_t>(std::min<std::size_t>(stored, available));
}

// The object of that ID that the layer holds (queued ones too: they collide
// already), or null. Any game object with a collision entry is met in a
// sprite's records, not sprites alone.
GameObject* FindObject(const Layer* layer, std::uint32_t id) {
    if (layer == nullptr) {
        return nullptr;
    }
    std::vector<GameObject*> objects;
    layer->GetHeldGameObjects(objects);
    for (GameObject* object : objects) {
        if (object->GetID() == id) {
            return object;
        }
    }
    return nullptr;
}

GameObject* FindObjectInLevel(const Level& level, std::uint32_t id) {
    for (std::uint32_t i = 0; i < level.GetLayersCount(); ++i) {
        if (GameObject* object = FindObject(level.GetLayer(i), id)) {
            return object;
        }
    }
    return nullptr;
}

std::uint32_t HandleOf(const GameObject* object) {
    return object != nullptr && object->GetCollisionObject() != nullptr ? object->GetCollisionId() : 0;
}

template <class Record>
void WriteOtherIds(Core::File& file, const Collision2D::DynamicObject& object,
                   const Collision2D::RecordList<Record>& records, bool shape) {
    for (std::uint32_t i = 0; i < records.Count(); ++i) {
        const GameObject* other = GetCollidedSprite(&object, static_cast<int>(i), shape);
        file.WriteU32(other != nullptr ? other->GetID() : kGoneObjectId);
    }
}

// Reads one id per record and names that record's other object again. A
// record whose object was gone keeps the handle the collision engine read.
template <class Find, class SetHandle>
void ReadOtherHandles(Core::File& file, std::uint32_t count, Find find, SetHandle setHandle) {
    for (std::uint32_t i = 0; i < count; ++i) {
        const std::uint32_t id = ReadU32(file);
        if (file.HasFailed()) {
            return;
        }
        if (id != kGoneObjectId) {
            setHandle(i, HandleOf(find(id)));
        }
    }
}

}  // namespace

void Sprite::Save(Core::File& file) const {
    GameObject::Save(file);
    const std::uint32_t animations = m_sprite ? m_sprite->GetAnimationsCount() : 0;
    file.WriteU32(animations);
    for (std::uint32_t i = 0; i < animations; ++i) {
        file << m_sprite->GetAnimation(i);
    }
    file.WriteU8(GetFlipHorizontal() ? 1 : 0);
    file.WriteU8(GetFlipVertical() ? 1 : 0);
    file.WriteU8(GetLoop() ? 1 : 0);
    file.WriteF32(GetAnimationSpeed());
    file.WriteU8(IsPaused() ? 1 : 0);
    file.WriteU8(IsPlaying() ? 1 : 0);
    file.WriteU32(static_cast<std::uint32_t>(GetCurrentAnimationIndex()));
    file.WriteU32(static_cast<std::uint32_t>(GetCurrentFrameIndex()));
    file.WriteU8(IsHUDObject() ? 1 : 0);
    file.WriteU32(static_cast<std::uint32_t>(m_collisionActorIndex));
    file.WriteU8(m_collisionDataVisible ? 1 : 0);
    file.WriteU8(m_boundingRectangleVisible ? 1 : 0);
    file.WriteU32(static_cast<std::uint32_t>(m_linesInUse));
    file.WriteU32(static_cast<std::uint32_t>(m_circlesInUse));
    file << m_collisionDataColor;
    WriteList(file, m_circleObjects);
    WriteList(file, m_segmentLines);
    // The time on the current frame: without it a loaded game's animations
    // lag the saved one's, and so do the collision shapes that follow them.
    file.WriteF32(m_sprite ? m_sprite->GetFrameTimer() : 0.0f);
    file.WriteU8(m_sprite && m_sprite->IsEndOfAnimation() ? 1 : 0);
}

void Sprite::Load(Core::File& file) {
    GameObject::Load(file);
    if (Engine::RenderingApplication* application = Engine::RenderingApplication::GetInstance()) {
        application->SetAnimationDirectory(Game::GetDirectory() + "\\Resources\\Animations");
    }
    Core::RefPtrVector<Engine::SpriteAnimation> animations;
    const std::uint32_t count = ReadU32(file);
    for (std::uint32_t i = 0; i < count && !file.HasFailed(); ++i) {
        Core::RefPtr<Engine::SpriteAnimation> animation;
        file >> animation;
        if (animation) {
            animations.push_back(std::move(animation));
        }
    }
    SetRenderNode(TUN_NEW(Engine::Sprite, animations));
    // The new drawing takes this object's stored visibility; the objects
    // mounted on it were read with their own.
    GetSceneNode()->SetVisible(GetVisible(), true);
    LoadAnimationState(file);
    m_collisionActorIndex = static_cast<std::int32_t>(ReadU32(file));
    LoadCollisionActor();
    m_collisionDataVisible = file.ReadFlag();
    m_boundingRectangleVisible = file.ReadFlag();
    const std::uint32_t linesInUse = ReadU32(file);
    const std::uint32_t circlesInUse = ReadU32(file);
    file >> m_collisionDataColor;
    m_circleObjects = ReadList<Circle>(file);
    m_segmentLines = ReadList<Line>(file);
    m_linesInUse = CountInUse(linesInUse, m_segmentLines.size());
    m_circlesInUse = CountInUse(circlesInUse, m_circleObjects.size());
    float frameTimer = 0.0f;
    file.ReadF32(frameTimer);
    const bool endOfAnimation = file.ReadFlag();
    if (!std::isfinite(frameTimer) || frameTimer < 0.0f) {
        file.SetFailed();
    } else if (!file.HasFailed()) {
        m_sprite->RestoreFrameProgress(frameTimer, endOfAnimation);
    }
}

void Sprite::LoadAnimationState(Core::File& file) {
    SetFlipHorizontal(file.ReadFlag());
    SetFlipVertical(file.ReadFlag());
    SetLoop(file.ReadFlag());
    float speed = 1.0f;
    file.ReadF32(speed);
    SetAnimationSpeed(speed);
    const bool paused = file.ReadFlag();
    const bool playing = file.ReadFlag();
    if (playing) {
        Play(true);
    } else if (paused) {
        Pause();
    } else {
        Stop();
    }
    const std::uint32_t animation = ReadU32(file);
    const std::uint32_t frame = ReadU32(file);
    if (animation != static_cast<std::uint32_t>(GetCurrentAnimationIndex())) {
        m_sprite->SetCurrentAnimationIndex(animation, true);
    }
    if (frame != static_cast<std::uint32_t>(GetCurrentFrameIndex())) {
        m_sprite->SetCurrentFrameIndex(frame, true);
    }
    SetHUDObject(file.ReadFlag());
}

void Sprite::LoadCollisionActor() {
    Collision2D::DynamicObject* object = GetCollisionObject();
    if (object == nullptr || m_collisionActorIndex < 0) {
        return;
    }
    const std::vector<Collision2D::CollisionActor*> actors = Game::GetInstance()->GetCollisionAssets();
    // The frame the object had selected, not the one drawn: a sprite not
    // updated since its frame changed (one held outside the layers) still
    // tests the shapes it was saved with.
    if (static_cast<std::size_t>(m_collisionActorIndex) < actors.size()) {
        object->AddCollisionData(actors[static_cast<std::size_t>(m_collisionActorIndex)],
                                 object->GetAnimationIndex(), object->GetFrameIndex());
    }
}

void Sprite::NetworkSyncSend(Core::File& file) const {
    GameObject::NetworkSyncSend(file);
    file << GetCurrentAnimationName();
    file.WriteU32(static_cast<std::uint32_t>(GetCurrentAnimationIndex()));
    file.WriteU32(static_cast<std::uint32_t>(GetCurrentFrameIndex()));
    file.WriteU8(GetFlipHorizontal() ? 1 : 0);
    file.WriteU8(GetFlipVertical() ? 1 : 0);
    file.WriteU8(IsHUDObject() ? 1 : 0);
}

void Sprite::NetworkSyncReceive(Core::File& file) {
    // A replica's frames come from the host.
    Stop();
    GameObject::NetworkSyncReceive(file);
    Core::String name;
    file >> name;
    const std::uint32_t animation = ReadU32(file);
    const std::uint32_t frame = ReadU32(file);
    const bool flipHorizontal = file.ReadFlag();
    const bool flipVertical = file.ReadFlag();
    const bool hud = file.ReadFlag();
    if (file.HasFailed()) {
        return;
    }
    SetCurrentAnimationName(name, false);
    SetCurrentAnimationIndex(static_cast<int>(std::min<std::uint32_t>(animation, std::numeric_limits<int>::max())),
                             false);
    SetCurrentFrameIndex(static_cast<int>(std::min<std::uint32_t>(frame, std::numeric_limits<int>::max())), true);
    SetFlipHorizontal(flipHorizontal);
    SetFlipVertical(flipVertical);
    SetHUDObject(hud);
}

void Sprite::WriteCollidedSpriteIds(Core::File& file) const {
    const Collision2D::DynamicObject* object = GetCollisionObject();
    if (object != nullptr) {
        WriteOtherIds(file, *object, object->GetBoundingRectangleCollisions(), false);
        WriteOtherIds(file, *object, object->GetShapeCollisions(), true);
    }
}

void Sprite::ReadCollidedSpriteIds(Core::File& file, const Level& level) {
    Collision2D::DynamicObject* object = GetCollisionObject();
    if (object == nullptr) {
        return;
    }
    ReadOtherHandles(file, object->GetBoundingRectangleCollisions().Count(),
                     [&level](std::uint32_t id) { return FindObjectInLevel(level, id); },
                     [object](std::uint32_t i, std::uint32_t handle) {
                         object->SetBoundingRectangleCollisionHandle(i, handle);
                     });
    const Layer* layer = GetLayer();
    ReadOtherHandles(
        file, object->GetShapeCollisions().Count(), [layer](std::uint32_t id) { return FindObject(layer, id); },
        [object](std::uint32_t i, std::uint32_t handle) { object->SetShapeCollisionHandle(i, handle); });
}

}  // namespace Tundra
