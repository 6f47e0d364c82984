// The value rules of the header and goods-line columns: date rewrite and checks, shared positions,
// CJZJ as a number or 0, and the log lines.
#include <gtest/gtest.h>

#include "ca/download/LoadDataColumns.h"
#include "ca/download/SubDataColumns.h"

using namespace ca::download;

namespace {

FieldValue text(std::string t) {
    return FieldValue::ofText(std::move(t));
}

HeaderTexts headerWithDates(HeaderLayout layout, const std::string& jk, const std::string& sb) {
    HeaderTexts h;
    h[layout == HeaderLayout::Import ? 67 : 66] = jk;
    h[layout == HeaderLayout::Import ? 65 : 64] = sb;
    return h;
}

}  // namespace

TEST(Columns, ClientDateRewrite) {
    struct Case {
        const char* in;
        const char* out;
    };
    for (auto c : {Case{"20240315", "2024-03-15"}, Case{"", "--"}, Case{"2024", "2024--"},
                   Case{"2024031", "2024-03-1"}, Case{"2024031599", "2024-03-15"}})
        EXPECT_EQ(rewriteClientDate(c.in), c.out) << c.in;
}

TEST(Columns, DateColumnsByLayoutAndStatement) {
    struct Case {
        HeaderLayout layout;
        bool inserting;
        const char* client;
        FieldValue jk;  // JK_Date given that client text
        FieldValue sb;  // SB_Date given that client text
    };
    const FieldValue placeholder = text("1990-09-09");
    const Case cases[] = {
        {HeaderLayout::Import, true, "20240315", text("2024-03-15"), text("2024-03-15")},
        {HeaderLayout::Import, true, "", FieldValue::null(), placeholder},
        {HeaderLayout::Import, false, "20240230", FieldValue::null(), placeholder},
        {HeaderLayout::Export, true, "", placeholder, placeholder},
        {HeaderLayout::Export, true, "2024x315", placeholder, placeholder},
        {HeaderLayout::Export, false, "", FieldValue::null(), placeholder},
        {HeaderLayout::Export, false, "20240229", text("2024-02-29"), text("2024-02-29")},
    };
    for (const auto& c : cases) {
        OperatorTexts op;
        auto f = loadDataFields(c.layout, headerWithDates(c.layout, c.client, c.client), "2024-03-20", "k",
                                op, 1, c.inserting);
        SCOPED_TRACE(std::string(c.client) + (c.inserting ? " insert" : " update"));
        EXPECT_EQ(fieldValue(f, "JK_Date"), c.jk);
        EXPECT_EQ(fieldValue(f, "SB_Date"), c.sb);
        EXPECT_EQ(fieldValue(f, "indate"), text("2024-03-20"));
    }
}

TEST(Columns, HeaderSharedAndSpecialPositions) {
    HeaderTexts h;
    for (size_t i = 0; i < h.size(); ++i)
        h[i] = "p" + std::to_string(i);
    OperatorTexts op;
    op[0] = "phone";
    op[2] = "clerk";
    auto imp = loadDataFields(HeaderLayout::Import, h, "2024-01-02", "进口报关单", op, 7, true);
    ASSERT_EQ(imp.size(), 48u);
    EXPECT_EQ(fieldValue(imp, "ZSBL"), text("p81"));
    EXPECT_EQ(fieldValue(imp, "XK_No"), text("p81"));
    EXPECT_EQ(fieldValue(imp, "TY_No"), text("p79"));
    EXPECT_EQ(fieldValue(imp, "phone"), text("phone"));
    EXPECT_EQ(fieldValue(imp, "opertor"), text("clerk"));
    EXPECT_EQ(fieldValue(imp, "SPXS"), FieldValue::ofInteger(7));
    auto exp = loadDataFields(HeaderLayout::Export, h, "2024-01-02", "出口报关单", op, 7, true);
    EXPECT_EQ(fieldValue(exp, "ZSBL"), text("p80"));
    EXPECT_EQ(fieldValue(exp, "XK_No"), text("p81"));
    EXPECT_EQ(fieldValue(exp, "BGDType"), text("p0"));
    auto fee = feeKeyFields(HeaderLayout::Export, h, "2024-01-02", "螺丝");
    EXPECT_EQ(fee, (Fields{{"kh", text("p62")},
                           {"sdate", text("2024-01-02")},
                           {"goods", text("螺丝")},
                           {"htno", text("p68")},
                           {"tdno", text("p47")},
                           {"bgno", text("p74")},
                           {"ty_no", text("p78")}}));
}

TEST(Columns, GoodsLayouts) {
    GoodsTexts g;
    for (size_t i = 0; i < g.size(); ++i)
        g[i] = "g" + std::to_string(i);
    HeaderTexts h;
    h[79] = "IMPKEY";
    h[78] = "EXPKEY";
    auto imp = subDataFields(g, h, 0);
    auto exp = subDataFields(g, h, 2);
    EXPECT_EQ(imp.size(), 21u);
    EXPECT_EQ(exp.size(), 23u);
    EXPECT_EQ(fieldValue(imp, "Pid"), text("IMPKEY"));
    EXPECT_EQ(fieldValue(exp, "Pid"), text("EXPKEY"));
    EXPECT_EQ(fieldValue(imp, "ZM"), text("g4"));
    EXPECT_EQ(fieldValue(exp, "ZM"), fieldValue(exp, "YT"));
    EXPECT_EQ(fieldValue(exp, "GJF"), text("g8"));
    EXPECT_EQ(fieldValue(exp, "SCCJ"), text("g14"));
    EXPECT_THROW(fieldValue(imp, "GJF"), std::out_of_range);
}

TEST(Columns, TotalPriceIsTheTextOrZero) {
    struct Case {
        const char* in;
        FieldValue out;
    };
    for (const auto& c :
         {Case{"12.50", text("12.50")}, Case{"3", text("3")}, Case{"", FieldValue::ofInteger(0)},
          Case{"abc", FieldValue::ofInteger(0)}, Case{"1,000", FieldValue::ofInteger(0)}}) {
        GoodsTexts g;
        g[24] = c.in;
        EXPECT_EQ(fieldValue(subDataFields(g, HeaderTexts{}, 0), "CJZJ"), c.out) << c.in;
    }
}

TEST(Columns, LogLines) {
    EXPECT_EQ(headerLogLine("进口报关单", "K1", true), "进口报关单:K1（录入）");
    EXPECT_EQ(headerLogLine("出口报关单", "K1", false), "出口报关单:K1（修改）");
    GoodsTexts g;
    g[1] = "螺丝";
    g[40] = "2";
    g[42] = "3";
    HeaderTexts h;
    h[79] = "IK";
    h[78] = "EK";
    EXPECT_EQ(goodsLogLine(g, h, 0, true), "IK 编号:2 名称:螺丝");
    EXPECT_EQ(goodsLogLine(g, h, 0, false), "IK 子数据:2 名称:螺丝");
    EXPECT_EQ(goodsLogLine(g, h, 1, true), "EK 子数据:3 名称:螺丝");
}
