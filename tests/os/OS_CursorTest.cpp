#include "os/OS_Cursor.h"

#include <gtest/gtest.h>

namespace {

class HeadlessCursor : public testing::Test {
protected:
    void SetUp() override { os::headless::ResetCursor(); }
    void TearDown() override { os::headless::ResetCursor(); }
};

TEST_F(HeadlessCursor, PositionIsWhereItWasPut) {
    os::Point position{1, 1};
    ASSERT_TRUE(os::GetCursorPos(&position));
    EXPECT_EQ(position, (os::Point{0, 0}));
    ASSERT_TRUE(os::SetCursorPos(-40, 3000));
    ASSERT_TRUE(os::GetCursorPos(&position));
    EXPECT_EQ(position, (os::Point{-40, 3000}));
    EXPECT_FALSE(os::GetCursorPos(nullptr));
}

TEST_F(HeadlessCursor, DisplayCountDecidesVisibility) {
    os::CursorInfo info;
    ASSERT_TRUE(os::GetCursorInfo(&info));
    EXPECT_EQ(info.flags, os::CURSOR_SHOWING);
    EXPECT_EQ(os::ShowCursor(false), -1);
    EXPECT_EQ(os::ShowCursor(false), -2);
    ASSERT_TRUE(os::GetCursorInfo(&info));
    EXPECT_EQ(info.flags, 0u);
    EXPECT_EQ(os::ShowCursor(true), -1);
    EXPECT_EQ(os::ShowCursor(true), 0);
    ASSERT_TRUE(os::GetCursorInfo(&info));
    EXPECT_EQ(info.flags, os::CURSOR_SHOWING);
    EXPECT_FALSE(os::GetCursorInfo(nullptr));
}

}  // namespace
