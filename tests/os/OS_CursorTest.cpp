#include "os/OS_Cursor.h"

#include <gtest/gtest.h>

// The cursor shows while the display count is at least 0.
TEST(HeadlessCursor, DisplayCountDecidesVisibility) {
    os::headless::ResetCursor();
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
    EXPECT_FALSE(os::GetCursorPos(nullptr));
    os::headless::ResetCursor();
}
