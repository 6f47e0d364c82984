#include <gtest/gtest.h>

#include <filesystem>
#include <random>

#include "FeesFixture.h"
#include "ca/fees/FeeQueryGrid.h"
#include "ca/spreadsheet/FileIo.h"
#include "ca/spreadsheet/XlsReader.h"

using namespace ca::fees;

namespace {

// Two fee items keep the grid readable: the catalogue is cut down to bgf and bjf.
class FeeQueryGridTest : public FeesFixture {
protected:
    void SetUp() override {
        FeesFixture::SetUp();
        if (IsSkipped()) return;
        exec("delete from func_desc where Fd_func_code not in ('bgf','bjf')");
        store({"TY0000000000000001", "520120111000000001", "2011-01-05", "客户甲", "钢材"});
        store(
            {"TY0000000000000002", "520120111000000002", "2011-01-31", "", "铜", "HT2", "TD2", "PZ2", "138"});
        store({"TY0000000000000003", "520220111000000003", "2011-01-20", "客户丙", "铝"});
        store({"TY0000000000000004", "520120111000000004", "2011-02-01", "客户丁", "铁"});
        exec("update T_fee set bgf=12.5,bjf=0.25 where ty_no='TY0000000000000001'");
        exec("update T_fee set bgf=3 where ty_no='TY0000000000000002'");
        filter.from = {2011, 1, 1};
        filter.to = {2011, 1, 31};
    }
    FeeQueryFilter filter;
};

}  // namespace

TEST_P(FeeQueryGridTest, RowsSubtotalsAndTotalsRow) {
    const FeeQueryGrid grid = runFeeQuery(dm, filter);
    EXPECT_EQ(grid.header, (std::vector<std::string>{"客户名称", "报关单号", "日期", "合同号", "提单号",
                                                     "货号", "报关费", "报检费", "小计"}));
    EXPECT_EQ(grid.recordCount, 2);
    EXPECT_EQ(
        grid.rows,
        (std::vector<std::vector<std::string>>{
            {"客户甲", "520120111000000001", "2011-01-05", "HT1", "TD1", "钢材", "12.5", "0.25", "12.75"},
            {" ", "520120111000000002", "2011-01-31", "HT2", "TD2", "铜", "3", "0", "3.00"},
            {" ", " ", " ", " ", " ", "合计：", "15.50", "0.25", "15.75"},
        }));
}

TEST_P(FeeQueryGridTest, AmountsShowExactlyAndSubtotalsAddUpExactly) {
    // Written before amounts were rounded to cents: three decimals, seventeen digits, huge values.
    exec("update T_fee set bgf=80.125,bjf=123456789012345.67 where ty_no='TY0000000000000001'");
    exec("update T_fee set bgf=1e308,bjf=1e308 where ty_no='TY0000000000000002'");
    const FeeQueryGrid grid = runFeeQuery(dm, filter);
    ASSERT_EQ(grid.rows.size(), 3u);
    const std::string huge = "1" + std::string(308, '0');
    EXPECT_EQ(std::vector<std::string>(grid.rows[0].begin() + 6, grid.rows[0].end()),
              (std::vector<std::string>{"80.13", "123456789012345.67", "123456789012425.80"}));
    EXPECT_EQ(std::vector<std::string>(grid.rows[1].begin() + 6, grid.rows[1].end()),
              (std::vector<std::string>{huge, huge, "2" + std::string(308, '0') + ".00"}));
    EXPECT_EQ(grid.rows[2][6], "1" + std::string(306, '0') + "80.13");
    EXPECT_EQ(grid.rows[2][7], "1" + std::string(293, '0') + "123456789012345.67");
}

TEST_P(FeeQueryGridTest, MissingAmountsShowBlankAndCountAsZeroAlsoForZeroOnly) {
    exec("insert into func_desc(Fd_func_code,Fd_func_name) values('zdy01','自定义')");
    exec("alter table T_fee add zdy01 numeric (18 ,2)");
    exec("alter table T_fee1 add zdy01 char (50)");
    exec("update T_fee set zdy01=2 where ty_no='TY0000000000000001'");
    filter.office.clear();
    FeeQueryGrid grid = runFeeQuery(dm, filter);
    ASSERT_EQ(grid.rows.size(), 4u);
    EXPECT_EQ(grid.rows[1], (std::vector<std::string>{" ", "520120111000000002", "2011-01-31", "HT2", "TD2",
                                                      "铜", "3", "0", " ", "3.00"}));
    EXPECT_EQ(grid.rows[3], (std::vector<std::string>{" ", " ", " ", " ", " ", "合计：", "15.50", "0.25",
                                                      "2.00", "17.75"}));
    // Without fee items the condition is left out and every declaration is listed.
    filter.zeroOnly = true;
    exec("delete from func_desc");
    grid = runFeeQuery(dm, filter);
    EXPECT_EQ(grid.recordCount, 3);
    EXPECT_EQ(grid.header.size(), 7u);
    EXPECT_EQ(grid.rows[0].back(), "0.00");
    EXPECT_EQ(grid.rows.back(), (std::vector<std::string>{" ", " ", " ", " ", " ", "合计：", "0.00"}));

    // Declaration 3 has only zeros and a Null: its subtotal is zero and it is listed.
    exec("insert into func_desc(Fd_func_code,Fd_func_name) values('zdy01','自定义')");
    exec("insert into func_desc(Fd_func_code,Fd_func_name) values('bgf','报关费')");
    grid = runFeeQuery(dm, filter);
    EXPECT_EQ(grid.recordCount, 1);
    EXPECT_EQ(grid.rows[0][1], "520220111000000003");
}

TEST_P(FeeQueryGridTest, FiltersMatchTheirColumns) {
    exec("update LoadData set GOODS='别的货' where TY_No='TY0000000000000001'");
    struct Case {
        void (*set)(FeeQueryFilter&);
        int count;
    };
    const Case cases[] = {
        {[](FeeQueryFilter&) {}, 2},
        {[](FeeQueryFilter& f) { f.office.clear(); }, 3},
        {[](FeeQueryFilter& f) {
             f.from = {2011, 1, 31};
         },
         1},  // both limits inclusive
        {[](FeeQueryFilter& f) { f.serial = "000000002"; }, 1},
        {[](FeeQueryFilter& f) { f.serial = "520120111000000002"; }, 0},
        {[](FeeQueryFilter& f) { f.customer = "客户"; }, 1},
        {[](FeeQueryFilter& f) { f.goods = "钢"; }, 1},  // the fee row's goods, not LoadData.GOODS
        {[](FeeQueryFilter& f) { f.goods = "别的"; }, 0},
        {[](FeeQueryFilter& f) { f.contract = "ht2"; }, 1},
        {[](FeeQueryFilter& f) { f.bill = "TD2"; }, 1},
        {[](FeeQueryFilter& f) { f.phone = "138"; }, 1},
        {[](FeeQueryFilter& f) { f.verification = "PZ1"; }, 1},
        {[](FeeQueryFilter& f) { f.customer = "O'Hara"; }, 0},
        {[](FeeQueryFilter& f) { f.zeroOnly = true; }, 0},
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        FeeQueryFilter f = filter;
        cases[i].set(f);
        const FeeQueryGrid grid = runFeeQuery(dm, f);
        EXPECT_EQ(grid.recordCount, cases[i].count) << "case " << i;
        if (cases[i].count == 0) {
            EXPECT_EQ(grid.rows, (std::vector<std::vector<std::string>>{std::vector<std::string>(9)})) << i;
        }
    }
}

TEST_P(FeeQueryGridTest, ExportWritesEveryCellAsTextOnSheetStringGrid1) {
    const auto path = (std::filesystem::temp_directory_path() /
                       ("ca_fee_export_" + std::to_string(std::random_device{}()) + ".xls"))
                          .string();
    const FeeQueryGrid grid = runFeeQuery(dm, filter);
    exportFeeGrid(path, grid);
    exportFeeGrid(path, grid);  // an existing file is replaced
    const auto book = ca::spreadsheet::readXls(ca::spreadsheet::readWholeFile(path));
    std::filesystem::remove(path);
    ASSERT_EQ(book.sheets.size(), 1u);
    EXPECT_EQ(book.sheets[0].name(), "StringGrid1");
    const auto cells = gridCells(grid);
    ASSERT_EQ(cells.size(), 4u);
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 9; ++c)
            EXPECT_EQ(book.sheets[0].text(r + 1, c + 1), cells[size_t(r)][size_t(c)]) << r << "," << c;
}

INSTANTIATE_TEST_SUITE_P(Engines, FeeQueryGridTest, ca::db::testing::AllEngines(),
                         ca::db::testing::EngineName);
