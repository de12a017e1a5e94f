#include "collision/Collision_DynamicObject.h"
#include "core/Core_RefPtr.h"
#include "tundra/Lua_GameObjectBindings.h"
#include "tundra/Tundra_CollisionQueries.h"

#include <algorithm>
#include <cstddef>
#include <lua.hpp>
#include <optional>
#include <vector>

namespace Lua::GameObjectScript {
namespace {

// More results than a script stack can take.
constexpr std::size_t kMaxResults = 8000;

using QueryById = bool (*)(const Collision2D::DynamicObject*, std::uint32_t);
using QueryByIds = bool (*)(const Collision2D::DynamicObject*, std::uint32_t, std::uint32_t);

int PushCount(lua_State* state, int count) {
    PushInt(state, count);
    return 1;
}

// (id): whether the query holds for the object's current results; no
// shape has a negative id.
template <QueryById Query>
int AskById(Tundra::GameObject& self, lua_State* state) {
    if (ArgumentCount(state) < 1) {
        return 0;
    }
    const std::optional<std::uint32_t> id = ReadArgument<std::uint32_t>(state, 1);
    PushBool(state, id && Query(self.GetCollisionObject(), *id));
    return 1;
}

// (own id [, other id]).
template <QueryById Query, QueryByIds QueryWithOther>
int AskByOwnId(Tundra::GameObject& self, lua_State* state) {
    const int count = ArgumentCount(state);
    if (count < 1) {
        return 0;
    }
    const Collision2D::DynamicObject* object = self.GetCollisionObject();
    const std::optional<std::uint32_t> id = ReadArgument<std::uint32_t>(state, 1);
    const std::optional<std::uint32_t> otherId = count >= 2 ? ReadArgument<std::uint32_t>(state, 2) : std::nullopt;
    PushBool(state, id && (count >= 2 ? otherId && QueryWithOther(object, *id, *otherId) : Query(object, *id)));
    return 1;
}

void SetVectorList(lua_State* state, const char* field, const Vector2D* vectors, std::uint32_t count) {
    NewList(state, static_cast<int>(count));
    for (std::uint32_t i = 0; i < count; ++i) {
        PushVector2D(state, vectors[i]);
        AppendToList(state, static_cast<int>(i) + 1);
    }
    lua_setfield(state, -2, field);
}

// {ContactPosition, Penetration, Points, Normals} of one shape meeting another.
void PushResultTable(lua_State* state, const Collision2D::COLLISION_C& result) {
    lua_createtable(state, 0, 4);
    PushVector2D(state, result.contactPosition);
    lua_setfield(state, -2, "ContactPosition");
    PushFloat(state, result.penetrationDistance);
    lua_setfield(state, -2, "Penetration");
    const std::uint32_t points = std::min<std::uint32_t>(result.numberOfIntersectedPoints, 2);
    SetVectorList(state, "Points", result.contactPoint, points);
    SetVectorList(state, "Normals", result.normal, points);
}

template <auto Record>
int PushRecordTable(Tundra::GameObject& self, lua_State* state) {
    if (ArgumentCount(state) < 1) {
        return 0;
    }
    const Collision2D::COLLISION_C* record = Record(self.GetCollisionObject(), GetInt(state, 1));
    if (record == nullptr) {
        return 0;
    }
    // A copy: building the table runs script code ("CreateVector"), which
    // may remove the collision object and its results.
    PushResultTable(state, Collision2D::COLLISION_C(*record));
    return 1;
}

}  // namespace

// A handle without methods (no binding takes it back), or nil.
int GetCollisionObject(Tundra::GameObject& self, lua_State* state) {
    PushHandle(state, self.GetCollisionObject());
    return 1;
}

// ([by shape = false]).
int GetNumberOfCollidedSprites(Tundra::GameObject& self, lua_State* state) {
    return PushCount(state, Tundra::GetNumberOfCollidedSprites(self.GetCollisionObject(), GetBool(state, 1)));
}

int GetNumberOfCollidedCircles(Tundra::GameObject& self, lua_State* state) {
    return PushCount(state, Tundra::GetNumberOfCollidedCircles(self.GetCollisionObject()));
}

int GetNumberOfCollidedLineSegments(Tundra::GameObject& self, lua_State* state) {
    return PushCount(state, Tundra::GetNumberOfCollidedLineSegments(self.GetCollisionObject()));
}

int GetNumberOfCollidedTileMaps(Tundra::GameObject& self, lua_State* state) {
    const Collision2D::DynamicObject* object = self.GetCollisionObject();
    return PushCount(state, object != nullptr ? static_cast<int>(object->GetTileMapCollisionCount()) : 0);
}

// (index [, by shape = false]).
int GetCollidedSprite(Tundra::GameObject& self, lua_State* state) {
    if (ArgumentCount(state) < 1) {
        return 0;
    }
    PushObject(state, Tundra::GetCollidedSprite(self.GetCollisionObject(), GetInt(state, 1), GetBool(state, 2)));
    return 1;
}

// (name [, by shape = false]).
int IsCollidedWithSprite(Tundra::GameObject& self, lua_State* state) {
    const char* name = GetString(state, 1);
    if (name == nullptr) {
        return 0;
    }
    PushBool(state, Tundra::IsCollidedWithSprite(self.GetCollisionObject(), name, GetBool(state, 2)));
    return 1;
}

int IsCollidedWithSpriteLineSegment(Tundra::GameObject& self, lua_State* state) {
    return AskById<&Tundra::IsCollidedWithSpriteLineSegment>(self, state);
}

int IsCollidedWithSpriteCircle(Tundra::GameObject& self, lua_State* state) {
    return AskById<&Tundra::IsCollidedWithSpriteCircle>(self, state);
}

int IsCollidedWithLineSegment(Tundra::GameObject& self, lua_State* state) {
    return AskById<&Tundra::IsCollidedWithLineSegment>(self, state);
}

int IsCollidedWithCircle(Tundra::GameObject& self, lua_State* state) {
    return AskById<&Tundra::IsCollidedWithCircle>(self, state);
}

int IsCollidedWithTileMap(Tundra::GameObject&, lua_State* state) {
    PushBool(state, false);
    return 1;
}

int IsMyLineSegmentCollided(Tundra::GameObject& self, lua_State* state) {
    return AskByOwnId<&Tundra::IsMyLineSegmentCollided, &Tundra::IsMyLineSegmentCollided>(self, state);
}

int IsMyCircleCollided(Tundra::GameObject& self, lua_State* state) {
    return AskByOwnId<&Tundra::IsMyCircleCollided, &Tundra::IsMyCircleCollided>(self, state);
}

int GetTileMapEntries(Tundra::GameObject&, lua_State* state) {
    PushBool(state, false);
    NewList(state, 0);
    return 2;
}

// (index): the record's table.
int GetCollidedCircleData(Tundra::GameObject& self, lua_State* state) {
    return PushRecordTable<&Tundra::GetCollidedCircleData>(self, state);
}

int GetCollidedLineSegmentData(Tundra::GameObject& self, lua_State* state) {
    return PushRecordTable<&Tundra::GetCollidedLineSegmentData>(self, state);
}

// (index): one table per shape met in the record, each with the other
// object as "Sprite".
int GetCollidedSpriteData(Tundra::GameObject& self, lua_State* state) {
    if (ArgumentCount(state) < 1) {
        return 0;
    }
    const Collision2D::DynamicObject* object = self.GetCollisionObject();
    const int index = GetInt(state, 1);
    const Collision2D::DGEO_C* record = Tundra::GetCollidedSpriteData(object, index);
    if (record == nullptr) {
        return 0;
    }
    // Copies and a held object: building the tables runs script code
    // ("CreateVector"), which may remove the collision object or the other one.
    const Core::RefPtr<Tundra::GameObject> other = Tundra::GetCollidedSprite(object, index, true);
    const std::size_t segments = std::min<std::size_t>(record->currentLineSegmentsNumber, record->lineSegments.size());
    const std::size_t circles = std::min<std::size_t>(record->currentCirclesNumber, record->circles.size());
    if (segments + circles > kMaxResults || !lua_checkstack(state, static_cast<int>(segments + circles) + 4)) {
        RaiseError(state, "too many collision results to return");
    }
    std::vector<Collision2D::COLLISION_C> results(record->lineSegments.begin(),
                                                  record->lineSegments.begin() + static_cast<std::ptrdiff_t>(segments));
    results.insert(results.end(), record->circles.begin(),
                   record->circles.begin() + static_cast<std::ptrdiff_t>(circles));
    for (const Collision2D::COLLISION_C& result : results) {
        PushResultTable(state, result);
        PushObject(state, other.Get());
        lua_setfield(state, -2, "Sprite");
    }
    return static_cast<int>(results.size());
}

}  // namespace Lua::GameObjectScript
