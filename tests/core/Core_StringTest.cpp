#include "core/Core_String.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <thread>
#include <vector>

using Core::String;

TEST(String, FifteenCharactersStayInlineTheSixteenthTakesAPoolBlock) {
    String text("123456789012345");
    const auto isInline = [](const String& s) {
        return s.data() >= reinterpret_cast<const char*>(&s) && s.data() < reinterpret_cast<const char*>(&s + 1);
    };
    EXPECT_TRUE(isInline(text));
    text += '6';
    EXPECT_FALSE(isInline(text));
    EXPECT_STREQ(text.c_str(), "1234567890123456");
    EXPECT_GE(String(String::Capacity{100}).capacity(), 100u);
    EXPECT_TRUE(String(String::Capacity{100}).empty());
    EXPECT_TRUE(String(static_cast<const char*>(nullptr)).empty());
}

// Bytes of 0x80 and above keep their value through ToUpper and widen as
// Latin-1; a suffix compares byte for byte.
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

// Four threads build, grow and destroy strings in the shared pool at once and
// hand their last ones to another thread to destroy; each keeps its own text.
TEST(String, FourThreadsShareThePool) {
    std::vector<Core::StringVector> kept(4);
    std::vector<int> faults(4, 0);
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&kept, &faults, t] {
            const char letter = static_cast<char>('a' + t);
            for (int round = 0; round < 2000; ++round) {
                String text(700 + static_cast<std::size_t>(round) % 8, letter);
                String grown("short");
                for (int i = 0; i < 40; ++i) {
                    grown += letter;
                }
                faults[t] += text.find_first_not_of(letter) != String::npos || grown.size() != 45;
                kept[t].push_back(std::move(text));
                if (kept[t].size() > 16) {
                    kept[t].erase(kept[t].begin());
                }
            }
        });
    }
    for (std::thread& thread : threads) {
        thread.join();
    }
    EXPECT_EQ(faults, std::vector<int>(4, 0));
    for (int t = 0; t < 4; ++t) {
        for (const String& text : kept[t]) {
            EXPECT_EQ(text.find_first_not_of(static_cast<char>('a' + t)), String::npos);
        }
    }
    std::thread([&kept] { kept.clear(); }).join();
}
