#include "core/Core_MemoryPool.h"
#include "core/Core_String.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <thread>
#include <vector>

using Core::String;

// Bytes of 0x80 and above keep their value through ToUpper and widen as
// Latin-1; a suffix compares byte for byte. A null text is empty; a capacity
// is reserved, never taken for a text.
TEST(String, CaseSuffixesAndWideningWorkOnBytes) {
    const std::pair<const char*, const char*> uppers[] = {
        {"Level 2-b", "LEVEL 2-B"}, {"az{`@AZ", "AZ{`@AZ"}, {"\xE9t\xE9 \x80\xFF", "\xE9T\xE9 \x80\xFF"}};
    for (const auto& [text, upper] : uppers) {
        String value(text);
        EXPECT_EQ(&value.ToUpper(), &value);
        EXPECT_EQ(value, upper) << text;
    }
    const std::tuple<const char*, const char*, bool> suffixes[] = {
        {"abc", "", true},           {"", "", true},                 {"abc", "abcd", false}, {"file.png", ".png", true},
        {"file.png", ".PNG", false}, {"file.png", "file.png", true}, {"", "a", false}};
    for (const auto& [text, suffix, ends] : suffixes) {
        EXPECT_EQ(String(text).EndsWith(suffix), ends) << text << " / " << suffix;
    }
    String text("Az");
    text += '\0';
    text += "\x7F\x80\xE9\xFF";
    EXPECT_EQ(text.ToWideString(), (Core::WideString{u'A', u'z', 0, 0x7F, 0x80, 0xE9, 0xFF}));
    EXPECT_TRUE(String(static_cast<const char*>(nullptr)).empty());
    EXPECT_TRUE(String(String::Capacity{100}).empty() && String(String::Capacity{100}).capacity() >= 100);
}

// Positions and counts near 2^32 must not wrap into the string.
TEST(String, EraseRangeAndSubstringFromTakeOnlyRangesInsideTheString) {
    const std::tuple<std::uint32_t, std::uint32_t, const char*> erases[] = {
        {2, 2, "abef"},  {4, 3, "abcdef"}, {2, 0, "abcdef"}, {0, 6, ""}, {5, 1, "abcde"}, {6, 1, "abcdef"},
        {1, 0xFFFFFFFFu, "abcdef"}, {0xFFFFFFFFu, 2, "abcdef"}, {0xFFFFFFFFu, 0xFFFFFFFFu, "abcdef"}};
    for (const auto& [position, count, expected] : erases) {
        EXPECT_EQ(String("abcdef").EraseRange(position, count), expected) << position << " " << count;
    }
    EXPECT_EQ(String().EraseRange(0, 1), "");
    const std::pair<std::uint32_t, const char*> substrings[] = {{3, ""}, {2, "c"}, {0, "abc"}, {0xFFFFFFFFu, ""}};
    for (const auto& [position, expected] : substrings) {
        EXPECT_EQ(String("abc").SubstringFrom(position), expected) << position;
    }
    EXPECT_EQ(String().SubstringFrom(0), "");
}

TEST(String, DecimalTextAndFileNames) {
    EXPECT_EQ(Core::ToString(-42), "-42");
    EXPECT_EQ(Core::ToString(INT32_MIN), "-2147483648");
    EXPECT_EQ(Core::ToString(INT32_MAX), "2147483647");
    EXPECT_EQ(Core::ToString(4294967295u), "4294967295");
    EXPECT_EQ(Core::ToString(0u), "0");
    const std::pair<const char*, const char*> paths[] = {
        {"C:\\Games\\hero.png", "hero.png"}, {"hero.png", "hero.png"}, {"C:\\Games\\", ""}, {"", ""},
        {"Resources/Fonts/Default.tbf", "Default.tbf"}, {"a/b\\c.txt", "c.txt"}, {"a\\b/c.txt", "c.txt"}};
    for (const auto& [path, name] : paths) {
        EXPECT_EQ(GetFileNameFromPath(path), name) << path;
    }
}

namespace {

// Blocks of one pool size that are neither free in the pool nor absent.
std::size_t BlocksInUse(std::size_t size) {
    const Core::MemoryPool::BucketStats stats = Core::MemoryPool::GetInstance().GetBucketStats(size);
    return stats.blocks - stats.freeBlocks;
}

}  // namespace

// Four threads build, grow and destroy strings at once, and hand their last
// ones to another thread to destroy; every string keeps its own text, and
// once the threads are gone every block they took is back in the pool.
TEST(String, FourThreadsShareThePool) {
    constexpr int kThreads = 4;
    // Lengths whose blocks (length + 1 bytes) the main thread does not use meanwhile.
    constexpr std::size_t kFirstLength = 700;
    constexpr std::size_t kLengths = 8;
    std::vector<std::size_t> inUseBefore;
    for (std::size_t i = 0; i < kLengths; ++i) {
        inUseBefore.push_back(BlocksInUse(kFirstLength + i + 1));
    }
    std::vector<Core::StringVector> handedOver(kThreads);
    std::vector<int> faults(kThreads, 0);
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&, t] {
            const char letter = static_cast<char>('a' + t);
            Core::StringVector& kept = handedOver[t];
            for (int round = 0; round < 2000; ++round) {
                String text(kFirstLength + static_cast<std::size_t>(round) % kLengths, letter);
                String grown("short");
                for (int i = 0; i < 40; ++i) {
                    grown += letter;
                }
                faults[t] += text.find_first_not_of(letter) != String::npos || grown.size() != 45;
                kept.push_back(std::move(text));
                if (kept.size() > 16) {
                    kept.erase(kept.begin());
                }
            }
        });
    }
    for (std::thread& thread : threads) {
        thread.join();
    }
    EXPECT_EQ(faults, std::vector<int>(kThreads, 0));
    for (int t = 0; t < kThreads; ++t) {
        for (const String& text : handedOver[t]) {
            EXPECT_EQ(text.find_first_not_of(static_cast<char>('a' + t)), String::npos);
        }
    }
    // Destroyed on a thread that ends, so that its cache goes back to the pool too.
    std::thread([&] { handedOver.clear(); }).join();
#if !defined(TUNDRA_POOL_PASSTHROUGH)
    for (std::size_t i = 0; i < kLengths; ++i) {
        EXPECT_GT(Core::MemoryPool::GetInstance().GetBucketStats(kFirstLength + i + 1).chunks, 0u);
        EXPECT_EQ(BlocksInUse(kFirstLength + i + 1), inUseBefore[i]) << kFirstLength + i;
    }
#endif
}
