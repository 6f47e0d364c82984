#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

#include "ca/util/Convert.h"
#include "ca/util/Validators.h"

using namespace ca;

TEST(Validators, Table) {
    struct Case {
        const char* text;
        bool integer, real, date;
    } cases[] = {
        {"12", true, true, false},
        {"-7", true, true, false},
        {"$1F", true, false, false},
        {"0x10", true, false, false},
        {" 5", true, true, false},
        {"5 ", false, true, false},
        {"12.50", false, true, false},
        {"1e3", false, true, false},
        {"abc", false, false, false},
        {"", false, false, false},
        {"2147483648", false, true, false},
        {"2011-01-31", false, false, true},
        {"2011/1/5", false, false, true},
        {"2011-02-30", false, false, false},
        {"2012-02-29", false, false, true},
        {"2011-13-01", false, false, false},
        {"2011-01-01x", false, false, false},
        {"2011-01/01", false, false, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(IsInteger(c.text), c.integer) << c.text;
        EXPECT_EQ(IsFloat(c.text), c.real) << c.text;
        EXPECT_EQ(IsDate(c.text), c.date) << c.text;
    }
}

TEST(Convert, ThrowingFormsNameTheText) {
    EXPECT_EQ(toInt("$FF"), 255);
    // A negative hexadecimal text wraps within 32 bits, the lowest one included.
    EXPECT_EQ(toInt("-$80000000"), std::numeric_limits<std::int32_t>::min());
    EXPECT_EQ(toInt("-$FFFFFFFF"), 1);
    try {
        toInt("abc");
        FAIL();
    } catch (const ConversionError& e) {
        EXPECT_STREQ(e.what(), "“abc”不是有效的整数值");
    }
    EXPECT_THROW(toFloat("1,5"), ConversionError);
}
