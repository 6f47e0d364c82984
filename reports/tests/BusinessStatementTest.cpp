// The business lists' statements: the date bounds and the filter conditions, in their order.
#include <gtest/gtest.h>

#include "ca/reports/BusinessData.h"
#include "ca/reports/CommaText.h"
#include "ca/util/Convert.h"

namespace ca::reports {
namespace {

constexpr const char* kWithGoodsSelect =
    "select loaddata.phone,loaddata.ty_no, loaddata.ty_no, loaddata.jydw_name , loaddata.tiyun_no, "
    "loaddata.HG_no, loaddata.JIANSHU, loaddata.jingzhong ,loaddata.SB_DATE ,loaddata.remark,  "
    "loaddata.HT_NO,loaddata.PZ_No, loaddata.YSGJ,SubData.ZJ,loaddata.inouttype from loaddata "
    "loaddata,(SELECT Pid, SUM(CJZJ) AS ZJ FROM SubData ";
constexpr const char* kNonGeneralSelect =
    "select  loaddata.ty_no, loaddata.jydw_name , loaddata.tiyun_no, loaddata.HG_no, loaddata.JIANSHU, "
    "loaddata.jingzhong ,loaddata.indate ,loaddata.remark,  loaddata.HT_NO,loaddata.PZ_No, loaddata.YSGJ, "
    "loaddata.spxs,loaddata.inouttype from loaddata ";
constexpr const char* kPattern = "'yyyy-mm-dd hh:mm:ss'";

std::string bounds(const char* first, const char* second, const char* column, const std::string& from,
                   const std::string& below) {
    return std::string(first) + column + "," + kPattern + ")>='" + from + "'" + second + column + "," +
           kPattern + ")<'" + below + "'";
}

TEST(BusinessStatement, WholeStatementsOfBothLists) {
    BusinessFilter f;  // initial values: January 2011, customs code 5201, kind 无
    EXPECT_EQ(businessStatement(f, BusinessList::WithGoods),
              std::string(kWithGoodsSelect) + " GROUP BY Pid) SubData  where LoadData.ty_no=SubData.pid " +
                  bounds(" AND format(", " and format(", "sb_date", "2011-01-01", "2011-02-01") +
                  " and mid(HG_No,1,4)='5201' order by loaddata.phone");
    EXPECT_EQ(businessStatement(f, BusinessList::NonGeneralTrade),
              std::string(kNonGeneralSelect) +
                  bounds(" where format(", " and format(", "indate", "2011-01-01", "2011-02-01") +
                  " and mid(HG_No,1,4)='5201' and HG_No<>'' and jgfs<>'一般贸易'");

    f.maker = "厂'A";
    EXPECT_EQ(businessStatement(f, BusinessList::WithGoods),
              std::string(kWithGoodsSelect) +
                  " where sccj='厂''A' GROUP BY Pid) SubData  where LoadData.ty_no=SubData.pid " +
                  bounds(" AND format(", " and format(", "sb_date", "2011-01-01", "2011-02-01") +
                  " and mid(HG_No,1,4)='5201' order by loaddata.phone");
    EXPECT_EQ(businessStatement(f, BusinessList::NonGeneralTrade).find("sccj"), std::string::npos);
}

TEST(BusinessStatement, ConditionsOfTheFilter) {
    struct Case {
        const char* name;
        void (*set)(BusinessFilter&);
        std::string conditions;  // everything after the list's join condition, for 生成EXCEL
    };
    const std::string jan = bounds(" AND format(", " and format(", "sb_date", "2011-01-01", "2011-02-01");
    const Case cases[] = {
        {"December ends at the next year",
         [](BusinessFilter& f) {
             f.year = "2012";
             f.month = "12";
             f.customsCode.clear();
         },
         bounds(" AND format(", " and format(", "sb_date", "2012-12-01", "2013-01-01")},
        {"September ends at October",
         [](BusinessFilter& f) {
             f.month = "09";
             f.customsCode.clear();
         },
         bounds(" AND format(", " and format(", "sb_date", "2011-09-01", "2011-10-01")},
        {"a date range takes the day after its last day",
         [](BusinessFilter& f) {
             f.useRange = true;
             f.from = {2011, 2, 1};
             f.to = {2011, 2, 28};
             f.customsCode.clear();
         },
         bounds(" AND format(", " AND format(", "sb_date", "2011-02-01", "2011-03-01")},
        {"range over the year end",
         [](BusinessFilter& f) {
             f.useRange = true;
             f.from = {2011, 12, 1};
             f.to = {2011, 12, 31};
             f.customsCode.clear();
         },
         bounds(" AND format(", " AND format(", "sb_date", "2011-12-01", "2012-01-01")},
        {"every field in the fixed order",
         [](BusinessFilter& f) {
             f.vehicle = "船";
             f.phones = "111";
             f.clerk = "张三";
             f.kind = "进口报关单";
             f.unitCode = "5201980001";
         },
         jan + " and mid(HG_No,1,4)='5201' and sbdw_no='5201980001'and inouttype='进口报关单'"
               " and opertor = '张三' and(phone = '111' ) and YSGJ LIKE '%船%'"},
        {"two telephone numbers",
         [](BusinessFilter& f) {
             f.phones = "111,222";
             f.customsCode.clear();
         },
         jan + " and(phone = '111' OR phone = '222' )"},
        {"both export kinds",
         [](BusinessFilter& f) {
             f.kind = "出口和转关";
             f.customsCode.clear();
         },
         jan + "and (inouttype='出口报关单' or inouttype='出口转关运输提前报关单')"},
        {"blanks only",
         [](BusinessFilter& f) {
             f.customsCode = "  ";
             f.clerk = " ";
             f.vehicle = " ";
         },
         jan + " and mid(HG_No,1,4)='  ' and opertor = ' ' and YSGJ LIKE '% %'"},
        {"telephone field of blanks gives no number and no group",
         [](BusinessFilter& f) {
             f.phones = "   ";
             f.customsCode.clear();
         },
         jan},
        {"apostrophes doubled, wildcards kept",
         [](BusinessFilter& f) {
             f.clerk = "O'Neil";
             f.vehicle = "%@_";
             f.phones = "1'2";
             f.customsCode.clear();
         },
         jan + " and opertor = 'O''Neil' and(phone = '1''2' ) and YSGJ LIKE '%%@_%'"},
    };
    const std::string head =
        std::string(kWithGoodsSelect) + " GROUP BY Pid) SubData  where LoadData.ty_no=SubData.pid ";
    for (const auto& c : cases) {
        BusinessFilter f;
        c.set(f);
        EXPECT_EQ(businessStatement(f, BusinessList::WithGoods),
                  head + c.conditions + " order by loaddata.phone")
            << c.name;
    }
}

TEST(BusinessStatement, RangeOfNonGeneralTradeUsesEntryDate) {
    BusinessFilter f;
    f.useRange = true;
    f.from = {2011, 2, 1};
    f.to = {2011, 2, 17};
    f.customsCode.clear();
    EXPECT_EQ(businessStatement(f, BusinessList::NonGeneralTrade),
              std::string(kNonGeneralSelect) +
                  bounds(" where format(", " AND format(", "indate", "2011-02-01", "2011-02-18") +
                  " and HG_No<>'' and jgfs<>'一般贸易'");
}

TEST(BusinessStatement, YearAndMonthMustBeNumbers) {
    BusinessFilter f;
    f.month = "1月";
    EXPECT_THROW(businessStatement(f, BusinessList::WithGoods), ConversionError);
}

TEST(BusinessStatement, GoodsOfOneDeclaration) {
    EXPECT_EQ(businessGoodsStatement("X'1", BusinessList::WithGoods),
              "select spmc_name,SCCJ from subdata where pid='X''1' order by len(SP_No), SP_No");
    EXPECT_EQ(businessGoodsStatement("X1", BusinessList::NonGeneralTrade),
              "select spmc_name from subdata where pid='X1' order by len(SP_No), SP_No");
}

TEST(CommaText, SplitsTheWayTheTelephoneFieldIsRead) {
    using V = std::vector<std::string>;
    struct Case {
        const char* text;
        V items;
    };
    const Case cases[] = {
        {"", {}},
        {"   ", {}},
        {"111", {"111"}},
        {"111,222", {"111", "222"}},
        {"111 222", {"111", "222"}},
        {" 111 , 222 ", {"111", "222"}},
        {"111,,222", {"111", "", "222"}},
        {",111", {"", "111"}},
        {"111,", {"111", ""}},
        {"111, ", {"111"}},
        {"\"12 34\",5", {"12 34", "5"}},
        {"\"a\"\"b\"", {"a\"b"}},
        {"电话1,电话2", {"电话1", "电话2"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(splitCommaText(c.text), c.items) << "'" << c.text << "'";
}

}  // namespace
}  // namespace ca::reports
