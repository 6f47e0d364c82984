#include <gtest/gtest.h>

#include "ca/app/common/QtPrompts.h"

TEST(QtPrompts, DialogFilterInQtForm) {
    struct Case {
        const char* given;
        const char* expected;
    } cases[] = {
        {"", ""},
        {"Excel文件|*.xls", "Excel文件 (*.xls)"},
        {"Excel|*.xls;*.xlsx|全部文件|*.*", "Excel (*.xls *.xlsx);;全部文件 (*.*)"},
        {"Excel (*.xls)", "Excel (*.xls)"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ca::app::QtPrompts::dialogFilter(c.given).toStdString(), c.expected) << c.given;
}
