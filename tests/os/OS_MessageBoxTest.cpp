#include "os/OS_MessageBox.h"

#include <gtest/gtest.h>

class HeadlessMessageBox : public testing::Test {
protected:
    void SetUp() override { os::headless::ClearMessageBoxAnswers(); }
    void TearDown() override { os::headless::ClearMessageBoxAnswers(); }
};

TEST_F(HeadlessMessageBox, AnswersFromTheScriptInOrder) {
    os::headless::QueueMessageBoxAnswer(os::IDRETRY);
    os::headless::QueueMessageBoxAnswer(0);
    EXPECT_EQ(os::MessageBox("disk?", "Error", os::MB_ABORTRETRYIGNORE | os::MB_ICONHAND), os::IDRETRY);
    EXPECT_EQ(os::MessageBox("again", "Error", os::MB_ABORTRETRYIGNORE), 0);
    EXPECT_EQ(os::headless::MessageBoxCount(), 2);
    EXPECT_EQ(os::headless::LastMessageBox().text, "again");
}

TEST_F(HeadlessMessageBox, WithoutAScriptTheFirstButtonAnswers) {
    EXPECT_EQ(os::MessageBox("t", "c", os::MB_OK), os::IDOK);
    EXPECT_EQ(os::MessageBox("t", "c", os::MB_YESNO), os::IDYES);
    EXPECT_EQ(os::MessageBox("t", "c", os::MB_CANCELTRYCONTINUE), os::IDCANCEL);
    EXPECT_EQ(os::MessageBox("t", "c", 0xE), os::IDOK);  // unknown set: OK only
    const os::headless::ShownMessageBox last = os::headless::LastMessageBox();
    EXPECT_EQ(last.caption, "c");
    EXPECT_EQ(last.type, 0xEu);
}
