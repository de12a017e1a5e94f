#include "os/OS_MessageBox.h"
#include "pal/PAL_MessageBox.h"

#include <gtest/gtest.h>

namespace {

class MessageBoxes : public testing::Test {
protected:
    void SetUp() override { os::headless::ClearMessageBoxAnswers(); }
    void TearDown() override { os::headless::ClearMessageBoxAnswers(); }
};

}  // namespace

TEST(MessageBoxTables, ButtonSetsMapToTheirButtonTypes) {
    const std::pair<int, std::uint32_t> cases[] = {
        {34, os::MB_OKCANCEL},      {72, os::MB_ABORTRETRYIGNORE}, {274, os::MB_YESNOCANCEL},
        {272, os::MB_YESNO},        {66, os::MB_RETRYCANCEL},      {134, os::MB_CANCELTRYCONTINUE},
        {MessageBoxOK, os::MB_OK},  {0, os::MB_OK},                {-1, os::MB_OK},
        {34 | 256, os::MB_OK},      {0x7FFFFFFF, os::MB_OK},
    };
    for (const auto& [buttonSet, type] : cases) {
        EXPECT_EQ(ToMessageBoxButtons(buttonSet), type) << buttonSet;
    }
}

TEST(MessageBoxTables, SeveritiesMapToIcons) {
    EXPECT_EQ(ToMessageBoxIcon(MessageBoxInformation), 0x40u);
    EXPECT_EQ(ToMessageBoxIcon(MessageBoxWarning), 0x30u);
    EXPECT_EQ(ToMessageBoxIcon(MessageBoxError), 0x10u);
    EXPECT_EQ(ToMessageBoxIcon(MessageBoxQuestion), 0x20u);
    for (int other : {0, 5, -1, 100}) {
        EXPECT_EQ(ToMessageBoxIcon(other), 0u) << other;
    }
}

TEST_F(MessageBoxes, ShowMessageBoxAddsTheIconAndReturnsTheRawAnswer) {
    os::headless::QueueMessageBoxAnswer(os::IDNO);
    EXPECT_EQ(ShowMessageBox("Caption", "Text", MessageBoxQuestion, os::MB_YESNO), os::IDNO);
    const os::headless::ShownMessageBox box = os::headless::LastMessageBox();
    EXPECT_EQ(box.caption, "Caption");
    EXPECT_EQ(box.text, "Text");
    EXPECT_EQ(box.type, os::MB_YESNO | os::MB_ICONQUESTION);
}

TEST_F(MessageBoxes, AbortRetryIgnoreAnswers) {
    const int abortRetryIgnore = MessageBoxAbort | MessageBoxRetry | MessageBoxIgnore;
    os::headless::QueueMessageBoxAnswer(os::IDABORT);
    os::headless::QueueMessageBoxAnswer(os::IDRETRY);
    os::headless::QueueMessageBoxAnswer(os::IDIGNORE);
    EXPECT_EQ(AskUser("Disk", "Read failed", MessageBoxError, abortRetryIgnore), 0);
    EXPECT_EQ(AskUser("Disk", "Read failed", MessageBoxError, abortRetryIgnore), 64);
    EXPECT_EQ(AskUser("Disk", "Read failed", MessageBoxError, abortRetryIgnore), 8);
    EXPECT_EQ(os::headless::LastMessageBox().type, os::MB_ABORTRETRYIGNORE | os::MB_ICONHAND);
}

TEST_F(MessageBoxes, EveryAnswerTranslatesBack) {
    const std::pair<int, int> cases[] = {
        {os::IDOK, MessageBoxOK},           {os::IDCANCEL, MessageBoxCancel},     {os::IDABORT, MessageBoxAbort},
        {os::IDRETRY, MessageBoxRetry},     {os::IDIGNORE, MessageBoxIgnore},     {os::IDYES, MessageBoxYes},
        {os::IDNO, MessageBoxNo},           {os::IDTRYAGAIN, MessageBoxTryAgain}, {os::IDCONTINUE, MessageBoxContinue},
        {42, MessageBoxOK},
    };
    for (const auto& [answer, expected] : cases) {
        os::headless::QueueMessageBoxAnswer(answer);
        EXPECT_EQ(AskUser("c", "t", MessageBoxInformation, 274), expected) << answer;
    }
}

TEST_F(MessageBoxes, ABoxThatCannotBeShownAnswersCancel) {
    os::headless::QueueMessageBoxAnswer(0);
    EXPECT_EQ(AskUser("Script Error", "line 3: unexpected symbol", MessageBoxError, MessageBoxOK), MessageBoxCancel);
    EXPECT_EQ(os::headless::LastMessageBox().type, os::MB_OK | os::MB_ICONHAND);
}
