#include "core/Core_String.h"

#include <gtest/gtest.h>

#include <cstdint>

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
