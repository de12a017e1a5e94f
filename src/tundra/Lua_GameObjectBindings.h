#pragma once

#include "tundra/Lua_Accessors.h"
#include "tundra/Tundra_GameObject.h"

// The bindings of the "GameObject" table that are more than a plain getter,
// setter or operation, by concern; the tables of the derived framework
// classes reuse them through the composed table. Each reads its arguments
// from index 1 and returns how many results it pushed; with fewer arguments
// than it needs it does nothing.
namespace Lua::GameObjectScript {

// Answers nothing: what names a tile map (none exist) and what would hand
// the engine a collision object (scripts hold none of their own).
int Nothing(Tundra::GameObject& self, lua_State* state);

// Identity, life, mounting, network owner and script.
int IsMounted(Tundra::GameObject& self, lua_State* state);
int GetMountSupport(Tundra::GameObject& self, lua_State* state);
int GetNetworkOwner(Tundra::GameObject& self, lua_State* state);
int ChangeNetworkOwner(Tundra::GameObject& self, lua_State* state);
int RunScript(Tundra::GameObject& self, lua_State* state);

// Transform and appearance.
int GetDirectionX(Tundra::GameObject& self, lua_State* state);
int GetDirectionY(Tundra::GameObject& self, lua_State* state);
int SetScale(Tundra::GameObject& self, lua_State* state);
int GetScale(Tundra::GameObject& self, lua_State* state);
int GetCenterX(Tundra::GameObject& self, lua_State* state);
int GetCenterY(Tundra::GameObject& self, lua_State* state);
int SetModulationR(Tundra::GameObject& self, lua_State* state);
int SetModulationG(Tundra::GameObject& self, lua_State* state);
int SetModulationB(Tundra::GameObject& self, lua_State* state);
int GetModulationR(Tundra::GameObject& self, lua_State* state);
int GetModulationG(Tundra::GameObject& self, lua_State* state);
int GetModulationB(Tundra::GameObject& self, lua_State* state);

// Rigid body. Mass properties travel as tables {Mass, Inertia,
// CenterOfMass}; the physics getters push nothing without a body.
int AddPhysicalProperties(Tundra::GameObject& self, lua_State* state);
int RemovePhysicalProperties(Tundra::GameObject& self, lua_State* state);
int SetMassProperties(Tundra::GameObject& self, lua_State* state);
int GetMassProperties(Tundra::GameObject& self, lua_State* state);
int GetCenterOfMass(Tundra::GameObject& self, lua_State* state);
int GetVelocity(Tundra::GameObject& self, lua_State* state);
int GetAngularVelocity(Tundra::GameObject& self, lua_State* state);
int SetSpeed(Tundra::GameObject& self, lua_State* state);
int GetSpeed(Tundra::GameObject& self, lua_State* state);
int SetVelocityDirection(Tundra::GameObject& self, lua_State* state);
int GetVelocityDirection(Tundra::GameObject& self, lua_State* state);
int AddForce(Tundra::GameObject& self, lua_State* state);
int RemoveForce(Tundra::GameObject& self, lua_State* state);

// Collision object and the questions asked of its results.
int GetCollisionObject(Tundra::GameObject& self, lua_State* state);
int GetNumberOfCollidedSprites(Tundra::GameObject& self, lua_State* state);
int GetNumberOfCollidedCircles(Tundra::GameObject& self, lua_State* state);
int GetNumberOfCollidedLineSegments(Tundra::GameObject& self, lua_State* state);
int GetNumberOfCollidedTileMaps(Tundra::GameObject& self, lua_State* state);
int GetCollidedSprite(Tundra::GameObject& self, lua_State* state);
int IsCollidedWithSprite(Tundra::GameObject& self, lua_State* state);
int IsCollidedWithSpriteLineSegment(Tundra::GameObject& self, lua_State* state);
int IsCollidedWithSpriteCircle(Tundra::GameObject& self, lua_State* state);
int IsCollidedWithLineSegment(Tundra::GameObject& self, lua_State* state);
int IsCollidedWithCircle(Tundra::GameObject& self, lua_State* state);
int IsCollidedWithTileMap(Tundra::GameObject& self, lua_State* state);
int IsMyLineSegmentCollided(Tundra::GameObject& self, lua_State* state);
int IsMyCircleCollided(Tundra::GameObject& self, lua_State* state);
// The four tile-map entry queries: false and an empty list.
int GetTileMapEntries(Tundra::GameObject& self, lua_State* state);
int GetCollidedCircleData(Tundra::GameObject& self, lua_State* state);
int GetCollidedLineSegmentData(Tundra::GameObject& self, lua_State* state);
int GetCollidedSpriteData(Tundra::GameObject& self, lua_State* state);

}  // namespace Lua::GameObjectScript
