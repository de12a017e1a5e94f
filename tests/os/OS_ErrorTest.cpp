#include "os/OS_Error.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <thread>

TEST(LastError, IsKeptPerThreadAndSetFromErrno) {
    os::SetLastError(5);
    std::uint32_t seenByOther = 99;
    std::thread([&] { seenByOther = os::GetLastError(); }).join();
    EXPECT_EQ(seenByOther, 0u);
    EXPECT_EQ(os::GetLastError(), 5u);
    errno = EACCES;
    EXPECT_EQ(os::SetLastErrorFromErrno(), static_cast<std::uint32_t>(EACCES));
    EXPECT_EQ(os::GetLastError(), static_cast<std::uint32_t>(EACCES));
    os::SetLastError(0);
}

// An own text lives only as long as its code is the last error.
TEST(LastError, TextIsNeverEmpty) {
    EXPECT_EQ(os::ErrorText(ENOENT), "No such file or directory");
    EXPECT_EQ(os::ErrorText(0), "unknown error");
    EXPECT_EQ(os::ErrorText(4000), "unknown error");
    EXPECT_EQ(os::ErrorText(0xFFFFFFFFu), "unknown error");
    os::SetLastErrorWithText(200, "no GL context");
    EXPECT_EQ(os::GetLastError(), 200u);
    EXPECT_EQ(os::ErrorText(200), "no GL context");
    os::SetLastError(0);
    EXPECT_EQ(os::ErrorText(200), "unknown error");
}
