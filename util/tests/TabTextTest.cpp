#include <gtest/gtest.h>

#include "ca/util/TabText.h"

using namespace ca;

TEST(TabText, EscapesAndRoundTrips) {
    const std::string text = "a\tb\nc\rd\\e 台湾\\t";
    EXPECT_EQ(escapeTabText(text), "a\\tb\\nc\\rd\\\\e 台湾\\\\t");
    EXPECT_EQ(unescapeTabText(escapeTabText(text)), text);
    EXPECT_EQ(unescapeTabText("C:\\x\\"), "C:\\x\\");  // other backslashes stay
    EXPECT_EQ(unescapeTabText("\\xg1 \\u12 \\q"), "\\xg1 \\u12 \\q");
}

TEST(TabText, EveryControlCharacterIsEscapedAndReadBack) {
    struct Case {
        std::string text, escaped;
    };
    const Case cases[] = {
        {std::string("\x1b[2J\x1b]0;title\x07", 14), "\\x1b[2J\\x1b]0;title\\x07"},
        {std::string("a\0b", 3), "a\\x00b"},
        {"\x01\x1f\x7f", "\\x01\\x1f\\x7f"},
        {"\xc2\x9b"
         "31m \xc2\x85",
         "\\u009b31m \\u0085"},                // C1 controls in UTF-8
        {"\xc2\xa0报关 é", "\xc2\xa0报关 é"},  // printable characters stay
        {"\\x1b", "\\\\x1b"},                  // an escape written as text stays text
    };
    for (const auto& c : cases) {
        EXPECT_EQ(escapeTabText(c.text), c.escaped);
        EXPECT_EQ(unescapeTabText(c.escaped), c.text);
    }
    for (int b = 0; b < 0x20; ++b) {
        const std::string escaped = escapeTabText(std::string(1, static_cast<char>(b)));
        for (unsigned char ch : escaped)
            EXPECT_GE(ch, 0x20u) << b;
    }
}
