#include "tundra/Lua_MethodTable.h"

#include <gtest/gtest.h>

#include <cstddef>

// Every script-visible class of the engine has its table, and every entry
// is bound: a null binding would crash the dispatcher on the first call.
TEST(TableRegistry, EveryEngineTableIsRegisteredWithEveryEntryBound) {
    const struct {
        const char* scriptName;
        std::size_t count;
    } tables[] = {
        {"LineSegment2D", 13},    {"Circle2D", 6},        {"Ray2D", 12},          {"Line2D", 12},
        {"MouseImp", 10},         {"KeyboardImp", 8},     {"Game", 60},           {"Level", 21},
        {"GameObject", 111},      {"Sprite", 153},        {"Layer", 27},          {"Text", 113},
        {"Viewport", 20},         {"Camera", 114},        {"SpriteAnimation", 10}, {"ParticleSystem", 146},
        {"ParticleEmitter", 6},   {"PointEmitter", 6},    {"LineEmitter", 6},     {"CircleEmitter", 6},
        {"DiskEmitter", 6},       {"RectangleEmitter", 6}, {"FilledRectangleEmitter", 6}, {"Sound", 123},
        {"JukeBox", 17},          {"HUD", 5},             {"Control", 45},        {"Form", 63},
        {"Button", 45},           {"RadioButton", 47},    {"NRectangle", 19},
    };
    std::size_t entries = 0;
    for (const auto& [scriptName, count] : tables) {
        const Lua::MethodTable* table = Lua::FindTable(scriptName);
        ASSERT_NE(table, nullptr) << scriptName;
        EXPECT_EQ(table->methods.size(), count) << scriptName;
        for (const Lua::Method& method : table->methods) {
            EXPECT_NE(method.name, nullptr) << scriptName;
            EXPECT_NE(method.binding, nullptr) << scriptName << "." << method.name;
            EXPECT_EQ(method.accepts == nullptr, table->holdsValues) << scriptName << "." << method.name;
        }
        entries += table->methods.size();
    }
    EXPECT_EQ(std::size(tables), 31u);
    EXPECT_EQ(entries, 1242u);
}
