#include "support/Lua_TestScripts.h"

#include "core/Core_MemoryFile.h"
#include "tundra/Lua_Host.h"
#include "tundra/Lua_TaggedValues.h"

#include <gtest/gtest.h>
#include <lua.hpp>

#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

class LuaTaggedValuesTest : public testing::Test {
protected:
    void SetUp() override {
        Lua::Host::Open(nullptr);
        L = Lua::Host::GetMainState();
    }
    void TearDown() override { Lua::Host::Close(); }

    // The values the chunk returns, written as tagged values.
    Bytes Written(const char* chunk) {
        luaL_loadstring(L, chunk);
        lua_call(L, 0, LUA_MULTRET);
        Core::MemoryFile file;
        Lua::WriteTaggedValues(L, 1, lua_gettop(L), file);
        lua_settop(L, 0);
        return Bytes(file.GetData(), file.GetData() + file.GetSize());
    }

    // Reads the bytes onto an empty stack: the count pushed, -1 when the stream failed.
    int Read(const Bytes& bytes) {
        lua_settop(L, 0);
        Core::MemoryFile file(bytes.data(), static_cast<std::uint32_t>(bytes.size()));
        const int count = Lua::ReadTaggedValues(L, file);
        EXPECT_EQ(lua_gettop(L), count);
        return file.HasFailed() ? -1 : count;
    }

    lua_State* L = nullptr;
};

TEST_F(LuaTaggedValuesTest, OneNumberHasItsExactBytes) {
    EXPECT_EQ(Written("return 1.5"), (Bytes{0x01, 0x00, 0x00, 0x00, 0x04, 0x00, 0x00, 0x00, 0x74, 0x6E,
                                            0x75, 0x6D, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xF8, 0x3F}));
}

TEST_F(LuaTaggedValuesTest, EveryKindComesBackAsTheFormatSays) {
    lua_newuserdata(L, 1);
    lua_setglobal(L, "userdata");
    const Bytes bytes = Written(
        "return nil, true, 2.25, 'text', CreatePoint(), { className = 'Vector2D', X = 1, Y = -2 },"
        " { className = 'Color', R = 0.5, G = 0, B = 1, A = 0.25 }, { className = 'Thing', x = 1 }, {},"
        " print, Game, userdata");
    ASSERT_EQ(Read(bytes), 12);
    lua_setglobal(L, "user");
    lua_setglobal(L, "game");
    lua_setglobal(L, "fun");
    lua_setglobal(L, "plain");
    lua_setglobal(L, "thing");
    lua_setglobal(L, "color");
    lua_setglobal(L, "vector");
    lua_setglobal(L, "point");
    lua_setglobal(L, "text");
    lua_setglobal(L, "number");
    lua_setglobal(L, "flag");
    EXPECT_TRUE(lua_isnil(L, 1));
    EXPECT_EQ(testsupport::RunChunk(L, "assert(flag == true and number == 2.25 and text == 'text')\n"
                                       "assert(point.className == 'Point2D' and point.X == 0)\n"
                                       "assert(vector.className == 'Vector2D' and vector.X == 1 and vector.Y == -2)\n"
                                       "assert(color.R == 0.5 and color.B == 1 and color.A == 0.25)\n"
                                       "assert(thing.className == 'Thing' and thing.x == nil)\n"
                                       "assert(type(plain) == 'table' and plain.className == nil)\n"
                                       "assert(fun == nil and game == nil and user == nil)"),
              "");
}

TEST_F(LuaTaggedValuesTest, HostileAndTruncatedStreamsFailCleanly) {
    const Bytes whole = Written("return 1, 'two', CreateColor(), true, {}");
    for (std::size_t size = 0; size < whole.size(); ++size) {
        EXPECT_EQ(Read(Bytes(whole.begin(), whole.begin() + static_cast<long>(size))), -1) << size;
    }
    EXPECT_EQ(Read(whole), 5);
    const Bytes hugeCount{0xFF, 0xFF, 0xFF, 0xFF, 0x03, 0x00, 0x00, 0x00, 'n', 'i'};
    EXPECT_EQ(Read(hugeCount), -1);
    const Bytes unknownTag{0x01, 0x00, 0x00, 0x00, 0x03, 0x00, 0x00, 0x00, 'x', 'y', 'z'};
    EXPECT_EQ(Read(unknownTag), -1);
    // Valid values beyond what a stack may hold.
    Bytes many{0x40, 0x1F, 0x00, 0x00};  // 8000
    for (int i = 0; i < 8000; ++i) {
        many.insert(many.end(), {0x03, 0x00, 0x00, 0x00, 'n', 'i', 'l'});
    }
    EXPECT_EQ(Read(many), -1);
    lua_settop(L, 0);
}

}  // namespace
