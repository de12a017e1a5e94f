#include "os/OS_Backend.h"
#include "os/OS_Process.h"

#include <gtest/gtest.h>

TEST(ExitProcess, NonZeroCodesNeverExitAsSuccess) {
    EXPECT_EQ(os::ExitStatusFor(0), 0);
    EXPECT_EQ(os::ExitStatusFor(1), 1);
    EXPECT_EQ(os::ExitStatusFor(255), 255);
    EXPECT_EQ(os::ExitStatusFor(256), 1);
    EXPECT_EQ(os::ExitStatusFor(512), 1);
    EXPECT_EQ(os::ExitStatusFor(258), 2);
    EXPECT_EQ(os::ExitStatusFor(0xFFFFFFFFu), 255);
}

TEST(ExitProcessDeathTest, CodeIsPrintedInFullAndExitsNonZero) {
    EXPECT_EXIT(os::ExitProcess(256), testing::ExitedWithCode(1), "256");
    EXPECT_EXIT(os::ExitProcess(512), testing::ExitedWithCode(1), "512");
    EXPECT_EXIT(os::ExitProcess(0), testing::ExitedWithCode(0), "");
}

namespace {
void WriteMarker() { fputs("cleanup ran\n", stderr); }
}  // namespace

TEST(ExitProcessDeathTest, EmergencyCleanupRunsBeforeTheEnd) {
    EXPECT_EXIT(
        {
            os::AddEmergencyCleanup(&WriteMarker);
            os::ExitProcess(3);
        },
        testing::ExitedWithCode(3), "cleanup ran");
}

namespace {
struct ExitCaught {
    std::uint32_t code;
};
void ThrowExit(std::uint32_t code) { throw ExitCaught{code}; }
}  // namespace

TEST(ExitProcess, HeadlessInterceptorCapturesTheCode) {
    os::headless::SetExitInterceptor(&ThrowExit);
    try {
        os::ExitProcess(2000);
        FAIL() << "the interceptor did not run";
    } catch (const ExitCaught& caught) {
        EXPECT_EQ(caught.code, 2000u);
    }
    os::headless::SetExitInterceptor(nullptr);
}
