// The document query's header statement: conditions in their order, exactly as they are joined.
#include <gtest/gtest.h>

#include <set>

#include "ca/reports/DocumentColumns.h"
#include "ca/reports/DocumentQuery.h"

namespace ca::reports {
namespace {

constexpr const char* kSelect = "select LoadData.* from LoadData where  ";

DocumentFilter today() {
    DocumentFilter f;
    f.entryTo = {2011, 3, 15};
    return f;
}

TEST(DocumentStatement, FilterCombinations) {
    struct Case {
        const char* name;
        void (*set)(DocumentFilter&);
        const char* conditions;  // after the entry-date range
    };
    const Case cases[] = {
        {"initial values", [](DocumentFilter&) {}, ""},
        {"declaration dates only with the box ticked",
         [](DocumentFilter& f) {
             f.declaredFrom = {2011, 2, 1};
             f.declaredTo = {2011, 2, 17};
         },
         ""},
        {"declaration dates",
         [](DocumentFilter& f) {
             f.useDeclared = true;
             f.declaredFrom = {2011, 2, 1};
             f.declaredTo = {2011, 2, 17};
         },
         " and SB_Date>=#2011-02-01# and SB_Date<=#2011-02-17#"},
        {"every field, in the fixed order",
         [](DocumentFilter& f) {
             f.unitCode = "5201980001";
             f.kind = "出口报关单";
             f.company = "华南";
             f.goods = "钢材";
             f.bill = "TD1";
             f.contract = "HT1";
             f.customsNo = "110123456";
             f.unified = "000654321";
         },
         " and mid(LoadData.TY_No,10,9)='000654321' and mid(hg_No,10,9)='110123456' and ht_no='HT1'"
         " and TiYun_No='TD1' and GOODS like '%钢材%' and JYDW_NAME like '%华南%'"
         " and inouttype = '出口报关单' and SBDW_No='5201980001'"},
        {"blanks only still add their conditions",
         [](DocumentFilter& f) {
             f.unified = "  ";
             f.company = " ";
         },
         " and mid(LoadData.TY_No,10,9)='  ' and JYDW_NAME like '% %'"},
        {"apostrophes doubled, wildcards kept",
         [](DocumentFilter& f) {
             f.company = "O'Neil%_";
             f.contract = "A'B";
         },
         " and ht_no='A''B' and JYDW_NAME like '%O''Neil%_%'"},
    };
    for (const auto& c : cases) {
        DocumentFilter f = today();
        c.set(f);
        EXPECT_EQ(documentStatement(f),
                  std::string(kSelect) + "  indate>=#2010-12-01# and indate<=#2011-03-15#" + c.conditions)
            << c.name;
    }
}

TEST(DocumentStatement, GoodsOfOneDeclaration) {
    EXPECT_EQ(goodsStatement("520120111000000011"), "select * from SubData where pid='520120111000000011'");
    EXPECT_EQ(goodsStatement("a'b"), "select * from SubData where pid='a''b'");
}

TEST(DocumentColumns, GridsAndPanels) {
    ASSERT_EQ(headerColumns().size(), 46u);
    EXPECT_EQ(headerColumns().front().field, "TY_No");
    EXPECT_EQ(headerColumns()[29].caption, "币种");
    EXPECT_EQ(headerColumns()[31].caption, "币种");
    EXPECT_EQ(headerColumns()[33].caption, "币种");
    const std::vector<std::string> lastFour = {"录入日期", "类别", "操作员", "联系方式"};
    for (size_t i = 0; i < 4; ++i)
        EXPECT_EQ(headerColumns()[42 + i].caption, lastFour[i]);
    EXPECT_EQ(goodsColumns().size(), 20u);
    EXPECT_EQ(goodsColumns().back().field, "ZM");
    EXPECT_EQ(headerDetailRows().size(), 40u);
    EXPECT_EQ(goodsDetailRows().size(), 22u);

    // Every field of the grid has its box in the panel, and the dates are marked as dates.
    std::set<std::string> inPanel;
    for (const auto& row : headerDetailRows())
        for (const auto& f : row.fields)
            inPanel.insert(f.field);
    for (const auto& c : headerColumns()) {
        EXPECT_TRUE(inPanel.count(c.field)) << c.field;
        EXPECT_EQ(c.kind == CellKind::Date, c.field.find("ate") != std::string::npos) << c.field;
    }
}

}  // namespace
}  // namespace ca::reports
