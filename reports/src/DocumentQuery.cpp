#include "ca/reports/DocumentQuery.h"

#include "ca/db/Quoting.h"
#include "ca/reports/DateText.h"

namespace ca::reports {

namespace {

void addDate(std::string& sql, const char* prefix, const Date& date) {
    sql += prefix;
    sql += dateText(date);
    sql += '#';
}

}  // namespace

std::string documentStatement(const DocumentFilter& f) {
    std::string sql = "select LoadData.* from LoadData where  ";
    addDate(sql, "  indate>=#", f.entryFrom);
    addDate(sql, " and indate<=#", f.entryTo);
    if (f.useDeclared) {
        addDate(sql, " and SB_Date>=#", f.declaredFrom);
        addDate(sql, " and SB_Date<=#", f.declaredTo);
    }
    db::AppendCondition(sql, " and mid(LoadData.TY_No,10,9)='", f.unified, "'");
    db::AppendCondition(sql, " and mid(hg_No,10,9)='", f.customsNo, "'");
    db::AppendCondition(sql, " and ht_no='", f.contract, "'");
    db::AppendCondition(sql, " and TiYun_No='", f.bill, "'");
    db::AppendCondition(sql, " and GOODS like '%", f.goods, "%'");
    db::AppendCondition(sql, " and JYDW_NAME like '%", f.company, "%'");
    db::AppendCondition(sql, " and inouttype = '", f.kind, "'");
    db::AppendCondition(sql, " and SBDW_No='", f.unitCode, "'");
    return sql;
}

std::string goodsStatement(std::string_view tyNo) {
    std::string sql = "select * from SubData where pid='";
    sql += db::EscapeQuotes(tyNo);
    sql += '\'';
    return sql;
}

}  // namespace ca::reports
