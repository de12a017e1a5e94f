#include "mygame/MyGame_SettingsText.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace {

using namespace std::string_literals;

TEST(SettingsText, WritesFiveLinesWithTheVolumeInSixDigits) {
    const struct {
        GameSettings settings;
        std::string text;
    } cases[] = {
        {{}, "53\n56\n75\n0.8\n0\n"},
        {{6, 195, 100, 1.0f, 1}, "6\n195\n100\n1\n1\n"},
        {{53, 56, 75, 0.123456789f, 0}, "53\n56\n75\n0.123457\n0\n"},
        {{53, 56, 75, 0.35f, 1}, "53\n56\n75\n0.35\n1\n"},
        {{53, 56, 75, 1e-7f, 0}, "53\n56\n75\n1e-07\n0\n"},
    };
    for (const auto& test : cases) {
        EXPECT_EQ(FormatSettings(test.settings), test.text);
        const ReadSettings read = ParseSettings(test.text);
        EXPECT_FALSE(read.damaged) << test.text;
        EXPECT_EQ(FormatSettings(read.settings), test.text);
    }
}

TEST(SettingsText, InvalidFieldsTakeTheirDefaults) {
    const struct {
        std::string text;
        GameSettings settings;
        bool damaged;
    } cases[] = {
        {" 60\t61\v62\f0.5 1\n", {60, 61, 62, 0.5f, 1}, false},
        {"53\n56\n75\n0.8\n0\n \t", {}, false},
        // A last line without its newline was cut, "7" may be "75" cut short;
        // unless it completes the file, which lacks only that newline.
        {"53\n56\n7", {}, true},
        {"90\n91\n92\n0.5\n1", {90, 91, 92, 0.5f, 1}, false},
        {" 60\t61\v62\f0.5 1", {60, 61, 62, 0.5f, 1}, false},
        {"", {}, true},
        {"5\n196\n-1\n0.5\n1\n", {53, 56, 75, 0.5f, 1}, true},
        {"7\n8\n9\nnan\n2\n", {7, 8, 9, 0.8f, 0}, true},
        {"7\n8\n9\ninf\n1\n", {7, 8, 9, 0.8f, 1}, true},
        {"7\n8\n9\n1.5\n0\n", {7, 8, 9, 0.8f, 0}, true},
        {"7\n8\n9\n-0.1\n0\n", {7, 8, 9, 0.8f, 0}, true},
        {"7\n8\n9\n-0\n0\n", {7, 8, 9, 0.0f, 0}, false},
        // Held as it will be written again.
        {"7\n8\n9\n0.12345678\n0\n", {7, 8, 9, 0.123457f, 0}, false},
        {"+7\n8.0\n9x\n0,5\n1\n", {53, 56, 75, 0.8f, 1}, true},
        {"53\n56\n75\n0.8\n0\n0\n", {}, true},
        {"53\n56\n75\n0.8\n0\0"s, {}, true},
        {"53\n56\n75\n0.8\n", {}, true},
        {"99999999999\n56\n75\n0.8\n0\n", {}, true},
    };
    for (const auto& test : cases) {
        const ReadSettings read = ParseSettings(test.text);
        EXPECT_EQ(read.settings, test.settings) << test.text;
        EXPECT_EQ(read.damaged, test.damaged) << test.text;
    }
    EXPECT_FALSE(std::signbit(ParseSettings("7\n8\n9\n-0\n0\n").settings.volume));
}

}  // namespace
