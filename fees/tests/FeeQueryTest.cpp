#include <gtest/gtest.h>

#include "ca/fees/FeeQuery.h"

using namespace ca::fees;

namespace {
const std::string kBase = "select * from t_fee,LoadData where LoadData.ty_no=t_fee.ty_no  ";
const std::vector<FeeItem> kTwo = {{"bgf", "报关费"}, {"bjf", "报检费"}};
}  // namespace

TEST(FeeQueryStatement, DefaultFilterHasTheDateRangeAndTheOfficeCode) {
    FeeQueryFilter f;
    f.to = {2011, 1, 31};
    EXPECT_EQ(feeQueryStatement(f, kTwo),
              kBase + " and SDate>=#2010-12-10# and SDate<=#2011-01-31# and mid(bgno,1,4)='5201'");
    f.office.clear();
    EXPECT_EQ(feeQueryStatement(f, kTwo), kBase + " and SDate>=#2010-12-10# and SDate<=#2011-01-31#");
}

TEST(FeeQueryStatement, EveryFilterInItsOrderWithQuotesDoubled) {
    FeeQueryFilter f;
    f.from = {2011, 1, 1};
    f.to = {2011, 2, 3};
    f.serial = "520120111";
    f.customer = "O'Hara";
    f.goods = "50%";
    f.contract = "HT'1";
    f.bill = "TD1";
    f.office = "5202";
    f.phone = "138";
    f.verification = "PZ'";
    f.zeroOnly = true;
    EXPECT_EQ(feeQueryStatement(f, kTwo),
              kBase +
                  " and SDate>=#2011-01-01# and SDate<=#2011-02-03# and mid(bgno,10,9)='520120111'"
                  " and kh like '%O''Hara%' and t_fee.goods like '%50%%' and tdno='TD1' and htno='HT''1'"
                  " and mid(bgno,1,4)='5202' and phone='138' and PZ_No='PZ'''"
                  " and nz(t_fee.bgf)+nz(t_fee.bjf)+0=0");
}

TEST(FeeQueryStatement, ZeroOnlyNeedsFeeItems) {
    FeeQueryFilter f;
    f.office.clear();
    f.zeroOnly = true;
    EXPECT_EQ(feeQueryStatement(f, {}), kBase + " and SDate>=#2010-12-10# and SDate<=#2010-12-10#");
}

TEST(FeeQueryStatement, HeaderHasTheSixColumnsTheItemNamesAndSubtotal) {
    EXPECT_EQ(feeQueryHeader(kTwo), (std::vector<std::string>{"客户名称", "报关单号", "日期", "合同号",
                                                              "提单号", "货号", "报关费", "报检费", "小计"}));
    EXPECT_EQ(feeQueryHeader({}).size(), 7u);
}
