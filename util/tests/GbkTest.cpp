#include <gtest/gtest.h>

#include "ca/util/Gbk.h"

using namespace ca;

TEST(Gbk, ChineseRoundTripsAndHasGbkBytes) {
    const std::string text = "程序默认数据 abc 台澎金马关税区";
    const std::string gbk = utf8ToGbk(text);
    // "程" is B3 CC in GBK; two bytes per Chinese character.
    EXPECT_EQ(gbk.substr(0, 2), "\xB3\xCC");
    EXPECT_EQ(gbk.size(), 6 * 2 + 5 + 7 * 2u);
    EXPECT_EQ(gbkToUtf8(gbk), text);
}

TEST(Gbk, SecondByte5CSurvives) {
    // "表" is B1 ED, "十" is CA AE; "稀" ends in 5C in some code pages: "\x5C" as a trail byte.
    const std::string withBackslashTrail = "\x95\x5C";  // a valid GBK pair whose trail byte is '\'
    const std::string utf8 = gbkToUtf8(withBackslashTrail);
    EXPECT_EQ(utf8ToGbk(utf8), withBackslashTrail);
}

TEST(Gbk, InvalidBytesBecomeReplacementCharacters) {
    EXPECT_EQ(gbkToUtf8("a\xFF"
                        "b"),
              "a\xEF\xBF\xBD"
              "b");
    EXPECT_EQ(gbkToUtf8("x\xB3"), "x\xEF\xBF\xBD");  // lead byte cut off at the end
}

TEST(Gbk, UnmappableCharacterBecomesQuestionMark) {
    EXPECT_EQ(utf8ToGbk("a\xF0\x9F\x98\x80z"), "a?z");  // an emoji has no GBK form
}
