#include "ca/reports/BusinessData.h"

#include "ca/db/Quoting.h"
#include "ca/reports/CommaText.h"
#include "ca/reports/DateText.h"

namespace ca::reports {

namespace {

constexpr std::string_view kPattern = "'yyyy-mm-dd hh:mm:ss'";

// A bound: prefix + the date pattern + comparison + the date text in quotes.
void appendBound(std::string& sql, std::string_view prefix, std::string_view comparison,
                 std::string_view date) {
    sql += prefix;
    sql += kPattern;
    sql += comparison;
    sql += db::EscapeQuotes(date);
    sql += '\'';
}

std::string twoDigits(int v) {
    std::string s = std::to_string(v);
    return s.size() < 2 ? "0" + s : s;
}

// The upper bound: dates before `nextStart`, the first day after the chosen ones. Four-digit years
// end with 9999-12-31, whose next day ("10000-01-01") sorts before every date as text; a range
// that ends on that day is bounded by its last second instead, which no formatted date passes.
void appendUpperBound(std::string& sql, std::string_view prefix, int nextYear, std::string_view nextStart) {
    if (nextYear > 9999)
        appendBound(sql, prefix, ")<='", "9999-12-31 23:59:59");
    else
        appendBound(sql, prefix, ")<'", nextStart);
}

void appendCommonConditions(std::string& sql, const BusinessFilter& f, std::string_view firstPrefix,
                            std::string_view column) {
    const std::string nextPrefix = std::string(column) + ",";
    if (f.useRange) {
        appendBound(sql, firstPrefix, ")>='", dateText(f.from));
        const Date next = nextDay(f.to);
        appendUpperBound(sql, " AND format(" + nextPrefix, next.year, dateText(next));
    } else {
        appendBound(sql, firstPrefix, ")>='", f.year + "-" + f.month + "-01");
        // The first day of the next month, from the texts of the two lists.
        const int y = toInt(f.year), m = toInt(f.month);
        if (m == 12)
            appendUpperBound(sql, " and format(" + nextPrefix, y + 1, std::to_string(y + 1) + "-01-01");
        else
            appendUpperBound(sql, " and format(" + nextPrefix, y, f.year + "-" + twoDigits(m + 1) + "-01");
    }
    db::AppendCondition(sql, " and mid(HG_No,1,4)='", f.customsCode, "'");
    db::AppendCondition(sql, " and sbdw_no='", f.unitCode, "'");
    if (f.kind == kBothExportKinds) {
        sql += "and (inouttype='出口报关单' or inouttype='出口转关运输提前报关单')";
    } else if (f.kind != kNoKind) {
        db::AppendCondition(sql, "and inouttype='", f.kind, "'");
    }
    db::AppendCondition(sql, " and opertor = '", f.clerk, "'");
    if (!f.phones.empty()) {
        const auto numbers = splitCommaText(f.phones);
        for (size_t i = 0; i < numbers.size(); ++i) {
            sql += i == 0 ? " and(phone = '" : " OR phone = '";
            sql += db::EscapeQuotes(numbers[i]);
            sql += '\'';
        }
        if (!numbers.empty()) sql += " )";
    }
    db::AppendCondition(sql, " and YSGJ LIKE '%", f.vehicle, "%'");
}

}  // namespace

std::string businessStatement(const BusinessFilter& f, BusinessList list) {
    std::string sql;
    if (list == BusinessList::WithGoods) {
        sql =
            "select loaddata.phone,loaddata.ty_no, loaddata.ty_no, loaddata.jydw_name , loaddata.tiyun_no, "
            "loaddata.HG_no, loaddata.JIANSHU, loaddata.jingzhong ,loaddata.SB_DATE ,loaddata.remark,  "
            "loaddata.HT_NO,loaddata.PZ_No, loaddata.YSGJ,SubData.ZJ,loaddata.inouttype from loaddata "
            "loaddata,(SELECT Pid, SUM(CJZJ) AS ZJ FROM SubData ";
        db::AppendCondition(sql, " where sccj='", f.maker, "'");
        sql += " GROUP BY Pid) SubData ";
        sql += " where LoadData.ty_no=SubData.pid ";
        appendCommonConditions(sql, f, " AND format(sb_date,", "sb_date");
        sql += " order by loaddata.phone";
    } else {
        sql =
            "select  loaddata.ty_no, loaddata.jydw_name , loaddata.tiyun_no, loaddata.HG_no, "
            "loaddata.JIANSHU, loaddata.jingzhong ,loaddata.indate ,loaddata.remark,  loaddata.HT_NO,"
            "loaddata.PZ_No, loaddata.YSGJ, loaddata.spxs,loaddata.inouttype from loaddata ";
        appendCommonConditions(sql, f, " where format(indate,", "indate");
        sql += " and HG_No<>''";
        sql += " and jgfs<>'一般贸易'";
    }
    return sql;
}

std::string businessGoodsStatement(std::string_view tyNo, BusinessList list) {
    std::string sql = list == BusinessList::WithGoods ? "select spmc_name,SCCJ from subdata where pid='"
                                                      : "select spmc_name from subdata where pid='";
    sql += db::EscapeQuotes(tyNo);
    // The first line is the one numbered lowest ("2" before "10"), whatever order the engine
    // keeps the rows in.
    sql += "' order by len(SP_No), SP_No";
    return sql;
}

}  // namespace ca::reports
