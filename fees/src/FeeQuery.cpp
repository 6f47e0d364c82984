#include "ca/fees/FeeQuery.h"

#include <cstdio>

#include "ca/db/Quoting.h"

namespace ca::fees {

namespace {

std::string dateText(const Date& d) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02d", d.year, d.month, d.day);
    return buf;
}

}  // namespace

std::string feeQueryStatement(const FeeQueryFilter& f, const std::vector<FeeItem>& items) {
    std::string sql = "select * from t_fee,LoadData where LoadData.ty_no=t_fee.ty_no  ";
    sql += " and SDate>=#" + dateText(f.from) + "#";
    sql += " and SDate<=#" + dateText(f.to) + "#";
    db::AppendCondition(sql, " and mid(bgno,10,9)='", f.serial, "'");
    db::AppendCondition(sql, " and kh like '%", f.customer, "%'");
    // Both tables have a goods column; the goods name of the fee row is meant.
    db::AppendCondition(sql, " and t_fee.goods like '%", f.goods, "%'");
    db::AppendCondition(sql, " and tdno='", f.bill, "'");
    db::AppendCondition(sql, " and htno='", f.contract, "'");
    db::AppendCondition(sql, " and mid(bgno,1,4)='", f.office, "'");
    db::AppendCondition(sql, " and phone='", f.phone, "'");
    db::AppendCondition(sql, " and PZ_No='", f.verification, "'");
    if (f.zeroOnly && !items.empty()) {
        // A fee item added after a declaration was stored leaves Null in its column; it counts as 0.
        sql += " and ";
        for (const auto& item : items) {
            db::CheckIdentifier(item.code);
            sql += "nz(t_fee." + item.code + ")+";
        }
        sql += "0=0";
    }
    return sql;
}

std::vector<std::string> feeQueryHeader(const std::vector<FeeItem>& items) {
    std::vector<std::string> header = {"客户名称", "报关单号", "日期", "合同号", "提单号", "货号"};
    for (const auto& item : items)
        header.push_back(item.name);
    header.push_back("小计");
    return header;
}

}  // namespace ca::fees
