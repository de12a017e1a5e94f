#include "os/OS_HeadlessMessageBoxHooks.h"
#include "os/OS_MessageBox.h"
#include "pal/PAL_MessageBox.h"

#include <gtest/gtest.h>

// The box type is the button set's type with the severity's icon; a set or
// severity that is not known shows OK or no icon. Every answer translates
// back, and a box that cannot be shown (answer 0) gives Cancel.
TEST(MessageBoxes, ButtonSetsSeveritiesAndAnswersTranslate) {
    const std::uint32_t shown[][3] = {{34, MessageBoxInformation, os::MB_OKCANCEL | 0x40u},
                                      {72, MessageBoxWarning, os::MB_ABORTRETRYIGNORE | 0x30u},
                                      {274, MessageBoxError, os::MB_YESNOCANCEL | 0x10u},
                                      {272, MessageBoxQuestion, os::MB_YESNO | 0x20u},
                                      {66, 0, os::MB_RETRYCANCEL},
                                      {134, 5, os::MB_CANCELTRYCONTINUE},
                                      {0, 0xFFFFFFFFu, os::MB_OK},
                                      {34 | 256, 0, os::MB_OK},
                                      {0x7FFFFFFF, 0, os::MB_OK},
                                      {0xFFFFFFFFu, 0, os::MB_OK}};
    const int answers[][2] = {
        {os::IDABORT, MessageBoxAbort},  {os::IDRETRY, MessageBoxRetry},       {os::IDIGNORE, MessageBoxIgnore},
        {os::IDOK, MessageBoxOK},        {os::IDCANCEL, MessageBoxCancel},     {os::IDYES, MessageBoxYes},
        {os::IDNO, MessageBoxNo},        {os::IDTRYAGAIN, MessageBoxTryAgain}, {os::IDCONTINUE, MessageBoxContinue},
        {42, MessageBoxOK},              {0, MessageBoxCancel}};
    os::headless::ClearMessageBoxAnswers();
    for (std::size_t i = 0; i < std::size(answers); ++i) {
        const auto& [buttonSet, severity, type] = shown[i % std::size(shown)];
        os::headless::QueueMessageBoxAnswer(answers[i][0]);
        EXPECT_EQ(AskUser("Disk", "Read failed", static_cast<int>(severity), static_cast<int>(buttonSet)),
                  answers[i][1])
            << answers[i][0];
        const os::headless::ShownMessageBox box = os::headless::LastMessageBox();
        EXPECT_EQ(box.type, type) << buttonSet;
        EXPECT_TRUE(box.caption == "Disk" && box.text == "Read failed");
    }
    os::headless::ClearMessageBoxAnswers();
}
