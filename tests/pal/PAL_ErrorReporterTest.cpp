#include "os/OS_Error.h"
#include "os/OS_HeadlessMessageBoxHooks.h"
#include "os/OS_MessageBox.h"
#include "os/OS_ProcessTestHooks.h"
#include "pal/PAL_ErrorReporter.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <climits>
#include <string>
#include <tuple>

namespace {
struct ExitCaught {
    std::uint32_t code;
};
}  // namespace

// The box is an error box with the whole report, shown only when the call
// failed with an error; the line reported is the one after the context.
TEST(ErrorReporter, ReportsOnlyAFailureWithAnErrorInAnErrorBox) {
    os::headless::ClearMessageBoxAnswers();
    os::SetLastError(5);
    SetErrorContext("DestroyWindow", "Destroy", 20, "PAL_Window.cpp");
    EXPECT_EQ(os::GetLastError(), 0u);
    ReportLastErrorAndExit(true);  // failed, but the system reports no error
    os::SetLastError(5);
    ReportLastErrorAndExit(false);  // an error left over from elsewhere, but the call succeeded
    EXPECT_EQ(os::headless::MessageBoxCount(), 0);

    os::headless::SetExitInterceptor([](std::uint32_t code) { throw ExitCaught{code}; });
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
    EXPECT_TRUE(box.caption == "Error" && box.type == (os::MB_OK | os::MB_ICONHAND));
    EXPECT_EQ(box.text,
              "The \"SetPixelFormat\" function failed with error 3000: no pixel format\n"
              "Enclosing Function: Choose\nFile: Adapter.cpp\nLine: 42");
    os::headless::ClearMessageBoxAnswers();
}

// Codes that Linux would truncate to 0 still fail, and a long name is cut,
// not overflowed.
TEST(ErrorReporterDeathTest, ReportExitsWithTheCodeAndItsText) {
    const std::string longName(5000, 'f');
    const std::tuple<const char*, std::uint32_t, int, const char*> cases[] = {
        {"CreateWindowExA", ENOENT, ENOENT, "\"CreateWindowExA\" function failed with error 2: No such file"},
        {"wglMakeCurrent", 256, 1, "failed with error 256: unknown error"},
        {longName.c_str(), 7, 7, "The \"ffff"}};
    for (const auto& [function, code, status, text] : cases) {
        EXPECT_EXIT(
            {
                SetErrorContext(function, nullptr, INT_MAX, nullptr);
                os::SetLastError(code);
                ReportLastErrorAndExit(true);
            },
            testing::ExitedWithCode(status), text);
    }
}
