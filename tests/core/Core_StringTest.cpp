#include "core/Core_MemoryPool.h"
#include "core/Core_String.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <thread>
#include <vector>

using Core::String;

namespace {

// True when the characters live inside the string object (no pool block).
bool IsInline(const String& text) {
    const auto* self = reinterpret_cast<const char*>(&text);
    return text.data() >= self && text.data() < self + sizeof(text);
}

}  // namespace

TEST(String, FifteenCharactersStayInlineTheSixteenthTakesAPoolBlock) {
    String text("123456789012345");
    EXPECT_TRUE(IsInline(text));
    EXPECT_EQ(text.capacity(), 15u);
    text += '6';
    EXPECT_FALSE(IsInline(text));
    EXPECT_GE(text.capacity(), 16u);
    EXPECT_STREQ(text.c_str(), "1234567890123456");
}

TEST(String, CapacityConstructorReservesWithoutText) {
    const String reserved(String::Capacity{100});
    EXPECT_TRUE(reserved.empty());
    EXPECT_GE(reserved.capacity(), 100u);
    EXPECT_TRUE(String(String::Capacity{0}).empty());
    EXPECT_TRUE(String(static_cast<const char*>(nullptr)).empty());
}

TEST(String, ToUpperChangesOnlyAsciiLetters) {
    struct Case {
        const char* text;
        const char* upper;
    };
    const Case cases[] = {
        {"Level 2-b", "LEVEL 2-B"},
        {"", ""},
        {"az{`@AZ", "AZ{`@AZ"},
        {"\xE9t\xE9 \x80\xFF", "\xE9T\xE9 \x80\xFF"},  // bytes >= 0x80 keep their value
    };
    for (const Case& c : cases) {
        String text(c.text);
        EXPECT_EQ(&text.ToUpper(), &text);
        EXPECT_EQ(text, c.upper) << c.text;
    }
}

TEST(String, EndsWith) {
    struct Case {
        const char* text;
        const char* suffix;
        bool expected;
    };
    const Case cases[] = {
        {"abc", "", true},        {"", "", true},         {"abc", "abcd", false}, {"file.png", ".png", true},
        {"file.png", ".PNG", false}, {"file.png", "file.png", true}, {"", "a", false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(String(c.text).EndsWith(c.suffix), c.expected) << c.text << " / " << c.suffix;
    }
}

TEST(String, EraseRangeChangesOnlyRangesInsideTheString) {
    struct Case {
        const char* text;
        std::uint32_t position;
        std::uint32_t count;
        const char* expected;
    };
    const Case cases[] = {
        {"abcdef", 2, 2, "abef"},
        {"abcdef", 4, 3, "abcdef"},  // 4 + 3 > 6
        {"abcdef", 2, 0, "abcdef"},
        {"abcdef", 0, 6, ""},
        {"abcdef", 5, 1, "abcde"},
        {"abcdef", 6, 1, "abcdef"},
        {"", 0, 1, ""},
        {"abcdef", 1, 0xFFFFFFFFu, "abcdef"},           // position + count wraps to 0
        {"abcdef", 0xFFFFFFFFu, 2, "abcdef"},           // wraps to 1
        {"abcdef", 0xFFFFFFFFu, 0xFFFFFFFFu, "abcdef"},
    };
    for (const Case& c : cases) {
        String text(c.text);
        text.EraseRange(c.position, c.count);
        EXPECT_EQ(text, c.expected) << c.text << " " << c.position << " " << c.count;
    }
}

TEST(String, SubstringFrom) {
    struct Case {
        const char* text;
        std::uint32_t position;
        const char* expected;
    };
    const Case cases[] = {
        {"abc", 3, ""}, {"", 0, ""}, {"abc", 2, "c"}, {"abc", 0, "abc"}, {"abc", 0xFFFFFFFFu, ""}, {"", 0xFFFFFFFFu, ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(String(c.text).SubstringFrom(c.position), c.expected) << c.text << " " << c.position;
    }
}

TEST(String, ToWideStringWidensBytesAsLatin1) {
    String text("Az");
    text += '\0';
    text += "\x7F\x80\xE9\xFF";
    const Core::WideString wide = text.ToWideString();
    ASSERT_EQ(wide.size(), text.size());
    const char16_t expected[] = {u'A', u'z', 0, 0x7F, 0x80, 0xE9, 0xFF};
    for (std::size_t i = 0; i < wide.size(); ++i) {
        EXPECT_EQ(wide[i], expected[i]) << i;
    }
    EXPECT_TRUE(String().ToWideString().empty());
}

TEST(String, ToStringPrintsDecimal) {
    EXPECT_EQ(Core::ToString(-42), "-42");
    EXPECT_EQ(Core::ToString(0), "0");
    EXPECT_EQ(Core::ToString(INT32_MIN), "-2147483648");
    EXPECT_EQ(Core::ToString(INT32_MAX), "2147483647");
    EXPECT_EQ(Core::ToString(4294967295u), "4294967295");
    EXPECT_EQ(Core::ToString(0u), "0");
}

TEST(String, GetFileNameFromPathSplitsAtEitherSeparator) {
    struct Case {
        const char* path;
        const char* name;
    };
    const Case cases[] = {
        {"C:\\Games\\hero.png", "hero.png"},
        {"hero.png", "hero.png"},
        {"C:\\Games\\", ""},
        {"Resources/Fonts/Default.tbf", "Default.tbf"},
        {"Resources/Fonts/", ""},
        {"a/b\\c.txt", "c.txt"},
        {"a\\b/c.txt", "c.txt"},
        {"", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(GetFileNameFromPath(c.path), c.name) << c.path;
    }
}

namespace {

// Blocks of one pool size that are neither free in the pool nor absent.
std::size_t BlocksInUse(std::size_t size) {
    const Core::MemoryPool::BucketStats stats = Core::MemoryPool::GetInstance().GetBucketStats(size);
    return stats.chunks * Core::MemoryPool::kBlocksPerChunk - stats.freeBlocks;
}

}  // namespace

// Four threads build, grow and destroy strings at once, and hand some to
// another thread to destroy; every string must keep its own text, and once
// the threads are gone every block they took must be back in the pool.
TEST(String, FourThreadsShareThePool) {
    constexpr int kThreads = 4;
    constexpr int kRounds = 2000;
    // Lengths whose blocks (length + 1 bytes) the main thread does not use meanwhile.
    constexpr std::size_t kFirstLength = 700;
    constexpr std::size_t kLengths = 8;
    std::vector<std::size_t> inUseBefore;
    for (std::size_t length = kFirstLength; length < kFirstLength + kLengths; ++length) {
        inUseBefore.push_back(BlocksInUse(length + 1));
    }

    std::vector<Core::StringVector> handedOver(kThreads);
    std::vector<int> faults(kThreads, 0);
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&, t] {
            Core::StringVector kept;
            for (int round = 0; round < kRounds; ++round) {
                const char letter = static_cast<char>('a' + t);
                const std::size_t length = kFirstLength + static_cast<std::size_t>(round) % kLengths;
                String text(length, letter);
                String grown("short");
                for (int i = 0; i < 40; ++i) {
                    grown += letter;
                }
                if (text.find_first_not_of(letter) != String::npos || grown.size() != 45) {
                    ++faults[t];
                }
                kept.push_back(std::move(text));
                if (kept.size() > 16) {
                    kept.erase(kept.begin());
                }
            }
            // The last strings are destroyed by another thread.
            handedOver[t] = std::move(kept);
        });
    }
    for (std::thread& thread : threads) {
        thread.join();
    }
    for (int t = 0; t < kThreads; ++t) {
        EXPECT_EQ(faults[t], 0) << t;
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
