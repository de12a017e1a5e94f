#include "Core_StreamTestClasses.h"

#include "core/Core_MemoryPool.h"
#include "core/Core_RefPtrVector.h"

#include <gtest/gtest.h>
#include <lua.hpp>

namespace {

int g_destroyed = 0;

// A counted class with state, to see copies, clones and destruction.
class Counter : public Core::Object {
    TUN_DECLARE_CLASS(Counter);

    Counter() = default;
    Counter(const Counter&) = default;
    ~Counter() override { ++g_destroyed; }

    char padding[56] = {};
};

// A class that overrides nothing reports the root's name.
class Plain : public Core::Object {};

}  // namespace

TUN_DEFINE_CLASS(Counter)

using Core::RefPtr;

class ObjectModel : public testing::Test {
protected:
    void SetUp() override { g_destroyed = 0; }

    static Counter* NewCounter() { return static_cast<Counter*>(Counter::Create()); }
};

// Copies and clones of a referenced object start unreferenced; a class that
// overrides nothing reports and clones as the root.
TEST_F(ObjectModel, CopiesAndClonesStartUnreferencedAsTheirOwnClass) {
    RefPtr<Counter> holder(NewCounter());
    RefPtr<Counter> second(holder);
    Counter copy(*holder);
    EXPECT_EQ(copy.GetReferenceCount(), 0u);
    Plain plain;
    EXPECT_EQ(plain.GetScript(), nullptr);
    for (const Core::Object* source : {static_cast<Core::Object*>(holder.Get()), static_cast<Core::Object*>(&plain)}) {
        Core::Object* clone = source->Clone();
        EXPECT_EQ(clone->GetReferenceCount(), 0u);
        EXPECT_STREQ(clone->GetType(), source == &plain ? "Object" : "Counter");
        EXPECT_EQ(clone->GetSize(), source == &plain ? sizeof(Core::Object) : sizeof(Counter));
        delete clone;
    }
}

// Released through a base pointer, the delete still hands back the derived
// size: the next block of that size is this one again.
TEST_F(ObjectModel, ObjectDiesAtTheLastReleaseIntoTheBucketOfItsOwnSize) {
    Counter* counter = NewCounter();
    RefPtr<Core::Object> first(counter);
    {
        RefPtr<Counter> second(counter);
        EXPECT_EQ(counter->GetReferenceCount(), 2u);
    }
    first.Reset(first.Get());  // resetting to the held object keeps it alive
    EXPECT_EQ(g_destroyed, 0);
    first.Reset();
    EXPECT_EQ(g_destroyed, 1);
#if !defined(TUNDRA_POOL_PASSTHROUGH)
    void* next = Core::PoolAllocate(sizeof(Counter));
    EXPECT_EQ(next, static_cast<void*>(counter));
    Core::PoolFree(next, sizeof(Counter));
#endif
}

// The release of a chain's head destroys every link before it returns,
// without one nested destructor per link.
TEST_F(ObjectModel, ReleasingAMillionLinkChainDestroysItAll) {
    const int live = streamtest::Counted::Live();
    RefPtr<streamtest::StreamNode> chain = streamtest::MakeChain(1000000);
    EXPECT_EQ(streamtest::Counted::Live(), live + 1000000);
    chain = nullptr;
    EXPECT_EQ(streamtest::Counted::Live(), live);
}

TEST_F(ObjectModel, RefPtrVectorDestroySkipsNullsAndLeavesItEmpty) {
    Core::RefPtrVector<Counter> vector;
    RefPtr<Counter> kept(NewCounter());
    vector.push_back(NewCounter());
    vector.push_back(nullptr);
    vector.push_back(kept);
    vector.Destroy();
    EXPECT_TRUE(vector.empty());
    EXPECT_EQ(vector.capacity(), 0u);
    EXPECT_EQ(g_destroyed, 1);
    EXPECT_EQ(kept->GetReferenceCount(), 1u);
}

// The userdata holds a whole pointer, not the 4 bytes of a 32-bit build.
TEST_F(ObjectModel, PushToLuaGivesAUserdataWithTheClassMetatable) {
    lua_State* state = luaL_newstate();
    luaL_newmetatable(state, "Object");
    lua_pop(state, 1);
    Core::Object object;
    object.PushToLua(state);
    ASSERT_TRUE(lua_isuserdata(state, -1));
    EXPECT_EQ(*static_cast<Core::Object**>(lua_touserdata(state, -1)), &object);
    ASSERT_TRUE(lua_getmetatable(state, -1));
    luaL_getmetatable(state, "Object");
    EXPECT_TRUE(lua_rawequal(state, -1, -2));
    lua_close(state);
}
