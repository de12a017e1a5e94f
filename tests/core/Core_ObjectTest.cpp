#include "Core_StreamTestClasses.h"

#include "core/Core_MemoryPool.h"
#include "core/Core_RefPtrVector.h"

#include <gtest/gtest.h>
#include <lua.hpp>

using namespace streamtest;
using Core::RefPtr;

namespace {
// A class that overrides nothing reports and clones as the root.
class Plain : public Core::Object {};
}  // namespace

TEST(ObjectModel, CopiesAndClonesStartUnreferencedAsTheirOwnClass) {
    RefPtr<StreamLeaf> holder = Make<StreamLeaf>();
    RefPtr<StreamLeaf> second(holder);
    EXPECT_EQ(StreamLeaf(*holder).GetReferenceCount(), 0u);
    Plain plain;
    EXPECT_EQ(plain.GetScript(), nullptr);
    for (const Core::Object* source : {static_cast<Core::Object*>(holder.Get()), static_cast<Core::Object*>(&plain)}) {
        RefPtr<Core::Object> clone(source->Clone());
        EXPECT_EQ(clone->GetReferenceCount(), 1u);
        EXPECT_STREQ(clone->GetType(), source == &plain ? "Object" : "StreamLeaf");
        EXPECT_EQ(clone->GetSize(), source == &plain ? sizeof(Core::Object) : sizeof(StreamLeaf));
    }
}

// Released through a base pointer, the delete still hands back the derived
// size: the next block of that size is this one again. A million-link chain
// goes at its head's release, without one nested destructor per link.
TEST(ObjectModel, ObjectsDieAtTheLastReleaseIntoTheBucketOfTheirOwnSize) {
    const int live = Counted::Live();
    StreamLeaf* leaf = static_cast<StreamLeaf*>(StreamLeaf::Create());
    RefPtr<Core::Object> first(leaf);
    first.Reset(leaf);  // resetting to the held object keeps it alive
    EXPECT_EQ(leaf->GetReferenceCount(), 1u);
    first.Reset();
    EXPECT_EQ(Counted::Live(), live);
#if !defined(TUNDRA_POOL_PASSTHROUGH)
    void* next = Core::PoolAllocate(sizeof(StreamLeaf));
    EXPECT_EQ(next, static_cast<void*>(leaf));
    Core::PoolFree(next, sizeof(StreamLeaf));
#endif
    MakeChain(1000000) = nullptr;
    EXPECT_EQ(Counted::Live(), live);
}

TEST(ObjectModel, RefPtrVectorDestroySkipsNullsAndLeavesItEmpty) {
    const int live = Counted::Live();
    Core::RefPtrVector<StreamLeaf> vector;
    RefPtr<StreamLeaf> kept = Make<StreamLeaf>();
    vector.assign({Make<StreamLeaf>(), nullptr, kept});
    vector.Destroy();
    EXPECT_TRUE(vector.empty() && vector.capacity() == 0);
    EXPECT_EQ(Counted::Live(), live + 1);
    EXPECT_EQ(kept->GetReferenceCount(), 1u);
}

// The userdata holds a whole pointer, not the 4 bytes of a 32-bit build.
TEST(ObjectModel, PushToLuaGivesAUserdataWithTheClassMetatable) {
    lua_State* state = luaL_newstate();
    luaL_newmetatable(state, "Object");
    Core::Object object;
    object.PushToLua(state);
    ASSERT_TRUE(lua_isuserdata(state, -1) && lua_getmetatable(state, -1));
    EXPECT_EQ(*static_cast<Core::Object**>(lua_touserdata(state, -2)), &object);
    EXPECT_TRUE(lua_rawequal(state, -1, -3));
    lua_close(state);
}
