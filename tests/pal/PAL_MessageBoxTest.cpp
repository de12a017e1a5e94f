#include "os/OS_HeadlessMessageBoxHooks.h"
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

TEST(MessageBoxTables, ButtonSetsAndSeveritiesMapToTheirTypes) {
    const std::pair<int, std::uint32_t> buttons[] = {
        {34, os::MB_OKCANCEL},     {72, os::MB_ABORTRETRYIGNORE}, {274, os::MB_YESNOCANCEL},
        {272, os::MB_YESNO},       {66, os::MB_RETRYCANCEL},      {134, os::MB_CANCELTRYCONTINUE},
        {MessageBoxOK, os::MB_OK}, {0, os::MB_OK},                {-1, os::MB_OK},
        {34 | 256, os::MB_OK},     {0x7FFFFFFF, os::MB_OK},
    };
    for (const auto& [buttonSet, type] : buttons) {
        EXPECT_EQ(ToMessageBoxButtons(buttonSet), type) << buttonSet;
    }
    const std::pair<int, std::uint32_t> icons[] = {
        {MessageBoxInformation, 0x40u}, {MessageBoxWarning, 0x30u}, {MessageBoxError, 0x10u},
        {MessageBoxQuestion, 0x20u},    {0, 0u},                    {5, 0u},
        {-1, 0u},
    };
    for (const auto& [severity, icon] : icons) {
        EXPECT_EQ(ToMessageBoxIcon(severity), icon) << severity;
    }
}

// The icon goes with the button type; a box that cannot be shown (answer 0)
// gives Cancel.
TEST_F(MessageBoxes, EveryAnswerTranslatesBack) {
    const std::pair<int, int> cases[] = {
        {os::IDABORT, MessageBoxAbort},  {os::IDRETRY, MessageBoxRetry},       {os::IDIGNORE, MessageBoxIgnore},
        {os::IDOK, MessageBoxOK},        {os::IDCANCEL, MessageBoxCancel},     {os::IDYES, MessageBoxYes},
        {os::IDNO, MessageBoxNo},        {os::IDTRYAGAIN, MessageBoxTryAgain}, {os::IDCONTINUE, MessageBoxContinue},
        {42, MessageBoxOK},              {0, MessageBoxCancel},
    };
    const int abortRetryIgnore = MessageBoxAbort | MessageBoxRetry | MessageBoxIgnore;
    for (const auto& [answer, expected] : cases) {
        os::headless::QueueMessageBoxAnswer(answer);
        EXPECT_EQ(AskUser("Disk", "Read failed", MessageBoxError, abortRetryIgnore), expected) << answer;
    }
    const os::headless::ShownMessageBox box = os::headless::LastMessageBox();
    EXPECT_EQ(box.caption, "Disk");
    EXPECT_EQ(box.text, "Read failed");
    EXPECT_EQ(box.type, os::MB_ABORTRETRYIGNORE | os::MB_ICONHAND);
}
