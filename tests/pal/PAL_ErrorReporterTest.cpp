#include "os/OS_Error.h"
#include "os/OS_HeadlessMessageBoxHooks.h"
#include "os/OS_MessageBox.h"
#include "os/OS_Process.h"
#include "pal/PAL_ErrorReporter.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <climits>
#include <string>

namespace {

class ErrorReporter : public testing::Test {
protected:
    void SetUp() override { os::headless::ClearMessageBoxAnswers(); }
    void TearDown() override { os::headless::ClearMessageBoxAnswers(); }
};

using ErrorReporterDeathTest = ErrorReporter;

struct ExitCaught {
    std::uint32_t code;
};
void ThrowExit(std::uint32_t code) { throw ExitCaught{code}; }

}  // namespace

TEST_F(ErrorReporter, ReturnsWithoutABoxUnlessFailedWithAnError) {
    os::SetLastError(5);
    SetErrorContext("DestroyWindow", "Destroy", 20, "PAL_Window.cpp");
    EXPECT_EQ(os::GetLastError(), 0u);
    ReportLastErrorAndExit(true);  // failed, but the system reports no error
    os::SetLastError(5);
    ReportLastErrorAndExit(false);  // an error left over from elsewhere, but the call succeeded
    EXPECT_EQ(os::headless::MessageBoxCount(), 0);
}

// The line reported is the one after the context. Codes that Linux would
// truncate to 0 still fail, and a long name is cut, not overflowed.
TEST_F(ErrorReporterDeathTest, ReportNamesTheCallAfterTheContextAndExitsWithTheCode) {
    EXPECT_EXIT(
        {
            SetErrorContext("CreateWindowExA", "Create", 669, "PAL_Window.cpp");
            os::SetLastError(ENOENT);
            ReportLastErrorAndExit(true);
        },
        testing::ExitedWithCode(ENOENT),
        "The \"CreateWindowExA\" function failed with error 2: No such file or directory\n"
        "Enclosing Function: Create\nFile: PAL_Window.cpp\nLine: 670");
    EXPECT_EXIT(
        {
            SetErrorContext("wglMakeCurrent", "Release", 1, "Renderer.cpp");
            os::SetLastError(256);
            ReportLastErrorAndExit(true);
        },
        testing::ExitedWithCode(1), "failed with error 256: unknown error");
    const std::string longName(5000, 'f');
    EXPECT_EXIT(
        {
            SetErrorContext(longName.c_str(), nullptr, INT_MAX, nullptr);
            os::SetLastError(7);
            ReportLastErrorAndExit(true);
        },
        testing::ExitedWithCode(7), "The \"ffff");
}

TEST_F(ErrorReporter, TheBoxIsAnErrorBoxWithTheWholeReport) {
    os::headless::SetExitInterceptor(&ThrowExit);
    try {
        SetErrorContext("SetPixelFormat", "Choose", 41, "Adapter.cpp");
        os::SetLastErrorWithText(3000, "no pixel format");
        ReportLastErrorAndExit(true);
        ADD_FAILURE() << "the report returned";
    } catch (const ExitCaught& caught) {
        EXPECT_EQ(caught.code, 3000u);
    }
    os::headless::SetExitInterceptor(nullptr);
    ASSERT_EQ(os::headless::MessageBoxCount(), 1);
    const os::headless::ShownMessageBox box = os::headless::LastMessageBox();
    EXPECT_EQ(box.caption, "Error");
    EXPECT_EQ(box.type, os::MB_OK | os::MB_ICONHAND);
    EXPECT_EQ(box.text,
              "The \"SetPixelFormat\" function failed with error 3000: no pixel format\n"
              "Enclosing Function: Choose\nFile: Adapter.cpp\nLine: 42");
}
