#include "collision/Collision_CollisionEngine.h"
#include "tundra/Lua_Accessors.h"
#include "tundra/Lua_MethodTable.h"
#include "tundra/Tundra_Game.h"
#include "tundra/Tundra_GameObject.h"
#include "tundra/Tundra_Layer.h"

#include <lua.hpp>

// The "Layer" table.
namespace Lua {
namespace {

using Tundra::Layer;

constexpr int kScriptGridCellSize = 100;

// A vector, or x and y.
int SetScale(Layer& layer, lua_State* state) {
    if (lua_istable(state, 1)) {
        const Vector2D scale = GetVector2D(state, 1);
        layer.SetScale(scale.x, scale.y);
    } else if (ArgumentCount(state) >= 2) {
        layer.SetScale(GetFloat(state, 1), GetFloat(state, 2));
    }
    return 0;
}

int GetLayerCollision(Layer& layer, lua_State* state) {
    const Tundra::Game* game = Tundra::Game::GetInstance();
    const Collision2D::CollisionEngine* collision = game != nullptr ? game->GetCollisionEngine() : nullptr;
    PushHandle(state, collision != nullptr ? collision->GetLayer(layer.GetCollisionId()) : nullptr);
    return 1;
}

int AddGameObject(Layer& layer, lua_State* state) {
    if (Tundra::GameObject* object = GetObject<Tundra::GameObject>(state, 1)) {
        layer.AddGameObject(object);
    }
    return 0;
}

// (template name, [owner player id]): without an owner, the host's player.
int AddNetworkGameObject(Layer& layer, lua_State* state) {
    const char* name = GetString(state, 1);
    const Tundra::Game* game = Tundra::Game::GetInstance();
    const Tundra::TunNet* network = game != nullptr ? game->GetNetworkEngine() : nullptr;
    if (name == nullptr || network == nullptr) {
        return 0;
    }
    Tundra::TunPlayer* owner = nullptr;
    if (lua_type(state, 2) == LUA_TNUMBER) {
        owner = network->FindPlayer(static_cast<std::uint32_t>(GetInt(state, 2)));
        if (owner == nullptr) {
            lua_pushnil(state);
            return 1;
        }
    }
    PushObject(state, layer.AddNetworkGameObject(name, owner));
    return 1;
}

std::uint32_t UserIdAt(lua_State* state, int index) { return static_cast<std::uint32_t>(GetInt(state, index)); }

// A circle (centre, radius, group, user id) or a segment (two ends, group,
// user id); the user id may be left out. Pushes the shape's collision id.
int AddCollisionData(Layer& layer, lua_State* state) {
    if (ArgumentCount(state) < 3 || !lua_istable(state, 1)) {
        return 0;
    }
    const auto group = static_cast<std::uint8_t>(GetInt(state, 3));
    const std::uint32_t userId = UserIdAt(state, 4);
    std::uint32_t id = 0;
    if (lua_istable(state, 2)) {
        id = layer.AddStaticLineSegment(GetVector2D(state, 1), GetVector2D(state, 2), group, userId);
    } else {
        id = layer.AddStaticCircle(GetVector2D(state, 1), GetFloat(state, 2), group, userId);
    }
    PushUnsigned(state, id);
    return 1;
}

// Origin, width and height; the cell size is always the same.
int SetCollisionProperties(Layer& layer, lua_State* state) {
    if (ArgumentCount(state) >= 3) {
        layer.SetCollisionProperties(GetVector2D(state, 1), GetInt(state, 2), GetInt(state, 3), kScriptGridCellSize);
    }
    return 0;
}

int GetGameObjects(Layer& layer, lua_State* state) {
    std::vector<Tundra::GameObject*> objects;
    layer.GetGameObjects(objects);
    return PushObjects(state, objects);
}

const MethodTable& LayerMethods() {
    static const MethodTable table{
        "Layer",
        {
            BindSetter<Layer, &Layer::SetName>("SetName"),
            BindGetter<Layer, &Layer::GetName>("GetName"),
            BindSetter<Layer, &Layer::SetZOrder>("SetZOrder"),
            BindGetter<Layer, &Layer::GetZOrder>("GetZOrder"),
            Bind<Layer, &SetScale>("SetScale"),
            BindGetter<Layer, &Layer::GetScale>("GetScale"),
            BindSetter<Layer, &Layer::SetRotation>("SetRotation"),
            BindGetter<Layer, &Layer::GetRotation>("GetRotation"),
            BindGetter<Layer, &Layer::GetIndex>("GetIndex"),
            Bind<Layer, &GetLayerCollision>("GetLayerCollision"),
            Bind<Layer, &AddGameObject>("AddGameObject"),
            Bind<Layer, &AddNetworkGameObject>("AddNetworkGameObject"),
            BindSetter<Layer, &Layer::RemoveGameObject>("RemoveGameObject"),
            Bind<Layer, &AddCollisionData>("AddCollisionData"),
            BindSetter<Layer, &Layer::ReadInformation_StaticCollision>("ReadInformation_StaticCollision"),
            Bind<Layer, &SetCollisionProperties>("SetCollisionProperties"),
            BindGetter<Layer, &Layer::GetCollisionId>("GetCollisionId"),
            Bind<Layer, &GetGameObjects>("GetGameObjects"),
            BindGetter<Layer, &Layer::GetGameObjectsCount>("GetGameObjectsCount"),
            BindSetter<Layer, &Layer::SetVisibleCollisionData>("SetVisibleCollisionData"),
            BindGetter<Layer, &Layer::GetVisibleCollisionData>("GetVisibleCollisionData"),
            BindSetter<Layer, &Layer::SetCollisionDataColor>("SetCollisionDataColor"),
            BindGetter<Layer, &Layer::GetCollisionDataColor>("GetCollisionDataColor"),
            BindSetter<Layer, &Layer::SetVisibleCollisionData>("SetVisibleLayerPartition"),
            BindGetter<Layer, &Layer::GetVisibleCollisionData>("GetVisibleLayerPartition"),
            BindSetter<Layer, &Layer::SetLayerPartitionColor>("SetLayerPartitionColor"),
            BindGetter<Layer, &Layer::GetLayerPartitionColor>("GetLayerPartitionColor"),
        },
    };
    return table;
}

const TableRegistration s_layerMethodsRegistration{&LayerMethods};

}  // namespace
}  // namespace Lua
