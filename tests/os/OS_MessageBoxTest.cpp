#include "os/OS_Backend.h"
#include "os/OS_MessageBox.h"

#include <gtest/gtest.h>

#include <cstdlib>

// Scripted answers come in order; without a script the first button answers.
TEST(HeadlessMessageBox, AnswersFromTheScriptInOrderThenTheFirstButton) {
    os::headless::ClearMessageBoxAnswers();
    os::headless::QueueMessageBoxAnswer(os::IDRETRY);
    os::headless::QueueMessageBoxAnswer(0);
    EXPECT_EQ(os::MessageBox("disk?", "Error", os::MB_ABORTRETRYIGNORE | os::MB_ICONHAND), os::IDRETRY);
    EXPECT_EQ(os::MessageBox("again", "Error", os::MB_ABORTRETRYIGNORE), 0);
    EXPECT_EQ(os::headless::MessageBoxCount(), 2);
    EXPECT_EQ(os::headless::LastMessageBox().text, "again");

    EXPECT_EQ(os::MessageBox("t", "c", os::MB_OK), os::IDOK);
    EXPECT_EQ(os::MessageBox("t", "c", os::MB_YESNO), os::IDYES);
    EXPECT_EQ(os::MessageBox("t", "c", os::MB_CANCELTRYCONTINUE), os::IDCANCEL);
    EXPECT_EQ(os::MessageBox("t", "c", 0xE), os::IDOK);  // unknown set: OK only
    EXPECT_EQ(os::headless::LastMessageBox().type, 0xEu);
    os::headless::ClearMessageBoxAnswers();
}

// A box nobody can see is not an answer: callers get 0, never a button.
TEST(RealMessageBox, UnattendedRunsAnswerNothing) {
    os::SelectBackend(os::Backend::Real);
    setenv("TUNDRA_NONINTERACTIVE", "1", 1);
    EXPECT_EQ(os::MessageBox("no one is here to click", "Error", os::MB_YESNO), 0);
    os::SelectBackend(os::Backend::Headless);
}
