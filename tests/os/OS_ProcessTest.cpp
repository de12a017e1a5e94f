#include "os/OS_Backend.h"
#include "os/OS_Process.h"

#include <gtest/gtest.h>

// Linux keeps 8 bits of the status: 256 would exit as success.
TEST(ExitProcessDeathTest, NonZeroCodesNeverExitAsSuccessAndArePrintedInFull) {
    const std::pair<std::uint32_t, int> statuses[] = {{0, 0},   {1, 1},   {255, 255},       {256, 1},
                                                      {512, 1}, {258, 2}, {0xFFFFFFFFu, 255}};
    for (const auto& [code, status] : statuses) {
        EXPECT_EQ(os::ExitStatusFor(code), status) << code;
    }
    EXPECT_EXIT(os::ExitProcess(256), testing::ExitedWithCode(1), "256");
    EXPECT_EXIT(os::ExitProcess(512), testing::ExitedWithCode(1), "512");
    EXPECT_EXIT(os::ExitProcess(0), testing::ExitedWithCode(0), "");
}

namespace {
void WriteMarker() { fputs("cleanup ran\n", stderr); }

struct ExitCaught {
    std::uint32_t code;
};
void ThrowExit(std::uint32_t code) { throw ExitCaught{code}; }
}  // namespace

TEST(ExitProcessDeathTest, EmergencyCleanupRunsBeforeTheEnd) {
    EXPECT_EXIT(
        {
            os::AddEmergencyCleanup(&WriteMarker);
            os::ExitProcess(3);
        },
        testing::ExitedWithCode(3), "cleanup ran");
}

TEST(ExitProcess, HeadlessInterceptorCapturesTheCode) {
    os::headless::SetExitInterceptor(&ThrowExit);
    try {
        os::ExitProcess(2000);
        ADD_FAILURE() << "the interceptor did not run";
    } catch (const ExitCaught& caught) {
        EXPECT_EQ(caught.code, 2000u);
    }
    os::headless::SetExitInterceptor(nullptr);
}
