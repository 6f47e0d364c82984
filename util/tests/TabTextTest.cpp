#include <gtest/gtest.h>

#include "ca/util/TabText.h"

using namespace ca;

TEST(TabText, EscapesAndRoundTrips) {
    const std::string text = "a\tb\nc\rd\\e 台湾\\t";
    EXPECT_EQ(escapeTabText(text), "a\\tb\\nc\\rd\\\\e 台湾\\\\t");
    EXPECT_EQ(unescapeTabText(escapeTabText(text)), text);
    EXPECT_EQ(unescapeTabText("C:\\x\\"), "C:\\x\\");  // other backslashes stay
}
