#include "core/Core_Crc32.h"
#include "core/Core_HashingFile.h"

#include <gtest/gtest.h>

#include <string_view>

TEST(Checksums, CrcAndHashGiveThePublishedCheckValues) {
    constexpr std::string_view kCheck = "123456789";
    EXPECT_EQ(Core::Crc32(kCheck.data(), kCheck.size()), 0xCBF43926u);
    EXPECT_EQ(Core::Crc32(nullptr, 0), 0u);

    Core::HashingFile empty;
    EXPECT_EQ(empty.GetHash(), 0xCBF29CE484222325ull);
    Core::HashingFile file;
    file.Write("a", 1);
    EXPECT_EQ(file.GetHash(), 0xAF63DC4C8601EC8Cull);
    std::uint8_t byte = 0;
    file.ReadU8(byte);
    EXPECT_TRUE(file.HasFailed());
}
