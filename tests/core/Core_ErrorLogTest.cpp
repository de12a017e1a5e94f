#include "core/Core_ErrorLog.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(ErrorLog, APrintableNameIsShortAndPlainAscii) {
    struct Case {
        std::string name;
        std::string shown;
    };
    const Case cases[] = {
        {"music.ogg", "music.ogg"},
        {"\x1b]0;title\x07", "?]0;title?"},
        {std::string("a\0b", 3), "a?b"},
        {"\x9b" "31m\x7f\xc3\xa9", "?31m???"},
        {std::string(70, 'x'), std::string(64, 'x') + "..."},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Core::PrintableForLog(c.name), c.shown);
    }
}

}  // namespace
