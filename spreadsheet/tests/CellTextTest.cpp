#include "ca/spreadsheet/CellText.h"

#include <gtest/gtest.h>

#include <cmath>

namespace ca::spreadsheet {
namespace {

TEST(CellText, GeneralNumberForms) {
    const struct {
        double value;
        const char* text;
    } cases[] = {
        {0.0, "0"},
        {-0.0, "0"},
        {42, "42"},
        {-7, "-7"},
        {1.25, "1.25"},
        {0.1 + 0.2, "0.3"},
        {1234567890123.0, "1234567890123"},
        {123456789012345.0, "123456789012345"},
        {3.14159265358979, "3.14159265358979"},
        {2.0 / 3.0, "0.666666666666667"},
        {0.0001, "0.0001"},
        {0.00001, "1E-05"},
        {0.00000015, "1.5E-07"},
        {1e15, "1E+15"},
        {-2.5e20, "-2.5E+20"},
        {100.5, "100.5"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(generalNumberText(c.value), c.text) << c.value;
}

TEST(CellText, DateSerials) {
    const struct {
        double serial;
        bool date1904;
        const char* text;
    } cases[] = {
        {40591, false, "2011-02-17"},
        {40591.57326388889, false, "2011-02-17 13:45:30"},
        {1, false, "1900-01-01"},
        {59, false, "1900-02-28"},
        {60, false, "1900-02-29"},
        {61, false, "1900-03-01"},
        {0.5, false, "12:00:00"},
        {0, true, "1904-01-01"},
        {39129, true, "2011-02-17"},
        {40591.99999999, false, "2011-02-18"},  // rounds to the next midnight
        {-1, false, "-1"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(dateText(c.serial, c.date1904), c.text) << c.serial;
}

TEST(CellText, DateFormatCodes) {
    const struct {
        const char* code;
        bool date;
    } cases[] = {
        {"YYYY-MM-DD", true},      {"yyyy\"年\"m\"月\"d\"日\"", true},
        {"h:mm:ss", true},         {"[h]:mm", true},
        {"[$-804]yyyy/m/d", true}, {"General", false},
        {"0.00", false},           {"#,##0.00_);[Red](#,##0.00)", false},
        {"\"day\"0", false},       {"@", false},
        {"0.00E+00", false},       {"[Red]0;\\d0", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(isDateFormatCode(c.code), c.date) << c.code;
    EXPECT_TRUE(isBuiltinDateFormat(14));
    EXPECT_TRUE(isBuiltinDateFormat(22));
    EXPECT_TRUE(isBuiltinDateFormat(57));
    EXPECT_FALSE(isBuiltinDateFormat(0));
    EXPECT_FALSE(isBuiltinDateFormat(49));
}

}  // namespace
}  // namespace ca::spreadsheet
