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
