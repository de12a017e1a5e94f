#include "tundra/Lua_MethodTable.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

// The sprite, particle-system, emitter and sprite-animation tables: names,
// order and count, and entries shared with the game object's table bound
// to the very same binding. The derived tables repeat the game object's
// entries (whose own list is checked with its table) before their own.
namespace {

using Names = std::vector<std::string>;

const Lua::MethodTable& Table(const char* scriptName) {
    const Lua::MethodTable* table = Lua::FindTable(scriptName);
    EXPECT_NE(table, nullptr) << scriptName;
    static const Lua::MethodTable kEmpty{"", {}};
    return table != nullptr ? *table : kEmpty;
}

Names NamesOf(const Lua::MethodTable& table) {
    Names names;
    for (const Lua::Method& method : table.methods) {
        names.emplace_back(method.name);
        EXPECT_NE(method.binding, nullptr) << table.scriptName << "." << method.name;
        EXPECT_NE(method.accepts, nullptr) << table.scriptName << "." << method.name;
    }
    return names;
}

// The game object's entries in its order, without those left out, with
// "AddManagedObject" moved to follow "RunScript".
Names ObjectEntries(const std::vector<std::string>& leftOut) {
    Names names;
    for (const std::string& name : NamesOf(Table("GameObject"))) {
        if (name != "AddManagedObject" && std::find(leftOut.begin(), leftOut.end(), name) == leftOut.end()) {
            names.push_back(name);
        }
    }
    names.push_back("AddManagedObject");
    return names;
}

Names SpriteNames() {
    Names names = ObjectEntries({"ChangeNetworkOwner"});
    names.insert(names.end(),
                 {"SaveNetworkData", "LoadNetworkData", "SetFlipHorizontal", "GetFlipHorizontal", "SetFlipVertical",
                  "GetFlipVertical", "GetCurrentFrameDelay", "GetFrameDelay", "GetFramesCount", "GetFrameWidth",
                  "GetFrameHeight", "SetCurrentFrameIndex", "GetCurrentFrameIndex", "IsEndOfAnimation", "SetLoop",
                  "GetLoop", "GoToFirstFrame", "GoToLastFrame", "SetAnimationSpeed", "GetAnimationSpeed", "Play",
                  "Stop", "IsPlaying", "Pause", "IsPaused", "GetAnimationsCount", "SetCurrentAnimationIndex",
                  "GetCurrentAnimationIndex", "SetCurrentAnimationName", "GetCurrentAnimationName", "IsInViewport",
                  "SetHUDObject", "IsHUDObject", "SetCollisionActorIndex", "SetVisibleCollisionData",
                  "GetVisibleCollisionData", "SetCollisionDataColor", "GetCollisionDataColor",
                  "SetVisibleBoundingRectangle", "GetVisibleBoundingRectangle", "SetBoundingRectangleColor",
                  "GetBoundingRectangleColor", "Clone"});
    return names;
}

Names ParticleSystemNames() {
    Names names = ObjectEntries({"ChangeNetworkOwner", "GetCollidedCircleData", "GetCollidedLineSegmentData",
                                 "GetCollidedTileMapData", "GetCollidedSpriteData"});
    // "AddManagedObject" follows the network data entries here.
    names.insert(names.end() - 1, {"SaveNetworkData", "LoadNetworkData"});
    names.insert(names.end(),
                 {"SetSrcBlendFactor", "GetSrcBlendFactor", "SetDstBlendFactor", "GetDstBlendFactor", "IsInViewport",
                  "SetHUDObject", "IsHUDObject", "SetUseLocalCoordinates", "GetUseLocalCoordinates", "SetEmitter",
                  "GetEmitter", "SetGravity", "GetGravity", "SetEmissionRate", "GetEmissionRate",
                  "SetRecycleParticles", "GetRecycleParticles", "SetDestroyIfNotRecycling",
                  "GetDestroyIfNotRecycling", "SetParticleStartingColor", "GetParticleStartingColor",
                  "SetParticleEndingColor", "GetParticleEndingColor", "SetParticleLifeTime", "GetParticleLifeTime",
                  "SetParticleRotationSpeed", "GetParticleRotationSpeed", "SetParticleSpeed", "GetParticleSpeed",
                  "SetParticleStartingScale", "GetParticleStartingScale", "SetParticleEndingScale",
                  "GetParticleEndingScale", "SetParticleDirection", "GetParticleDirection", "Reset", "Clone",
                  "WarmUp"});
    return names;
}

const Names kEmitter{"ObjectFunction", "GetPositionAndDirection", "Clone",
                     "SetScript",      "RunScript",               "AddManagedObject"};

const Names kSpriteAnimation{"SetName", "GetName", "GetFrameWidth", "GetFrameHeight", "GetFramesCount",
                             "GetFrameDelay", "SetLoopStartingFrame", "GetLoopStartingFrame", "SetLoopEndingFrame",
                             "GetLoopEndingFrame"};

}  // namespace

TEST(SpriteTables, NamesOrderAndCounts) {
    const struct {
        const char* scriptName;
        Names names;
        std::size_t count;
    } cases[] = {
        {"Sprite", SpriteNames(), 153},
        {"ParticleSystem", ParticleSystemNames(), 146},
        {"ParticleEmitter", kEmitter, 6},
        {"PointEmitter", kEmitter, 6},
        {"LineEmitter", kEmitter, 6},
        {"CircleEmitter", kEmitter, 6},
        {"DiskEmitter", kEmitter, 6},
        {"RectangleEmitter", kEmitter, 6},
        {"FilledRectangleEmitter", kEmitter, 6},
        {"SpriteAnimation", kSpriteAnimation, 10},
    };
    for (const auto& [scriptName, names, count] : cases) {
        EXPECT_EQ(NamesOf(Table(scriptName)), names) << scriptName;
        EXPECT_EQ(names.size(), count) << scriptName;
    }
}

TEST(SpriteTables, SharedEntriesAreOneBinding) {
    // Each name a derived table shares with the game object's table keeps
    // its binding; the bindings every framework table shares are one each.
    const Lua::MethodTable& base = Table("GameObject");
    for (const char* derived : {"Sprite", "ParticleSystem"}) {
        for (const Lua::Method& method : Table(derived).methods) {
            if (const Lua::Method* same = Lua::FindMethod(base, method.name)) {
                EXPECT_EQ(method.binding, same->binding) << derived << "." << method.name;
            }
        }
    }
    const Lua::MethodTable& sprite = Table("Sprite");
    for (const char* shared : {"ObjectFunction", "SaveNetworkData", "LoadNetworkData", "Clone"}) {
        for (const char* other : {"GameObject", "ParticleSystem", "Text", "Camera", "PointEmitter"}) {
            const Lua::Method* mine = Lua::FindMethod(sprite, shared);
            const Lua::Method* theirs = Lua::FindMethod(Table(other), shared);
            ASSERT_NE(mine, nullptr) << shared;
            if (theirs != nullptr) {
                EXPECT_EQ(mine->binding, theirs->binding) << other << "." << shared;
            }
        }
    }
    // The emitters' methods are one set of bindings under seven names.
    const Lua::MethodTable& point = Table("PointEmitter");
    for (const char* emitter : {"ParticleEmitter", "LineEmitter", "FilledRectangleEmitter"}) {
        for (std::size_t i = 0; i < point.methods.size(); ++i) {
            EXPECT_EQ(Table(emitter).methods.at(i).binding, point.methods[i].binding) << emitter;
        }
    }
}
