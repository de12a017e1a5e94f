#include "tundra/Lua_MethodTable.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct Golden {
    const char* scriptName;
    bool holdsValues;
    std::vector<std::string> names;
};

const Golden kTables[] = {
    {"LineSegment2D",
     true,
     {"GetPointA", "SetPointA", "GetPointB", "SetPointB", "ClassifyToLineSegment", "Perpendicular", "Parallel",
      "Alligned", "AngleBetween", "ClassifyToCircle", "Tangent", "ClassifyToRay", "ClassifyToLine"}},
    {"Circle2D",
     true,
     {"GetCenter", "SetCenter", "GetRadius", "SetRadius", "ClassifyToCircle", "ClassifyToLineSegment"}},
    {"Ray2D",
     true,
     {"GetOrigin", "SetOrigin", "GetDirection", "SetDirection", "ClassifyToRay", "Perpendicular", "Parallel",
      "AngleBetween", "ClassifyToCircle", "Tangent", "ClassifyToLineSegment", "ClassifyToLine"}},
    {"Line2D",
     true,
     {"GetPoint", "SetPoint", "GetDirection", "SetDirection", "ClassifyToLine", "Perpendicular", "Parallel",
      "AngleBetween", "ClassifyToCircle", "Tangent", "ClassifyToRay", "ClassifyToLineSegment"}},
    {"MouseImp",
     false,
     {"GetPosition", "GetPositionX", "GetPositionY", "IsInWindow", "IsMoved", "IsPressed", "IsTriggered", "IsDown",
      "IsUp", "IsCursorVisible"}},
    {"KeyboardImp",
     false,
     {"IsPressed", "IsTriggered", "IsDown", "IsUp", "AnyKey", "GetPressed", "GetTriggered", "GetKeyAsChar"}},
};

TEST(ShapeAndInputTables, HoldTheirMethodsInOrderEachBound) {
    std::size_t entries = 0;
    for (const Golden& golden : kTables) {
        const Lua::MethodTable* table = Lua::FindTable(golden.scriptName);
        ASSERT_NE(table, nullptr) << golden.scriptName;
        EXPECT_EQ(table->holdsValues, golden.holdsValues) << golden.scriptName;
        std::vector<std::string> names;
        for (const Lua::Method& method : table->methods) {
            names.emplace_back(method.name);
            EXPECT_NE(method.binding, nullptr) << golden.scriptName << "." << method.name;
            EXPECT_EQ(method.accepts == nullptr, golden.holdsValues) << golden.scriptName << "." << method.name;
        }
        EXPECT_EQ(names, golden.names) << golden.scriptName;
        entries += names.size();
    }
    EXPECT_EQ(entries, 61u);
}

}  // namespace
