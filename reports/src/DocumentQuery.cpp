#include "ca/reports/DocumentQuery.h"

#include "Condition.h"
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
    appendCondition(sql, " and mid(LoadData.TY_No,10,9)='", f.unified, "'");
    appendCondition(sql, " and mid(hg_No,10,9)='", f.customsNo, "'");
    appendCondition(sql, " and ht_no='", f.contract, "'");
    appendCondition(sql, " and TiYun_No='", f.bill, "'");
    appendCondition(sql, " and GOODS like '%", f.goods, "%'");
    appendCondition(sql, " and JYDW_NAME like '%", f.company, "%'");
    appendCondition(sql, " and inouttype = '", f.kind, "'");
    appendCondition(sql, " and SBDW_No='", f.unitCode, "'");
    return sql;
}

std::string goodsStatement(std::string_view tyNo) {
    std::string sql = "select * from SubData where pid='";
    sql += db::EscapeQuotes(tyNo);
    sql += '\'';
    return sql;
}

}  // namespace ca::reports
