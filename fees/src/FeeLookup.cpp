#include "ca/fees/FeeLookup.h"

#include "ca/db/Quoting.h"

namespace ca::fees {

namespace {

std::string compared(std::string field, MatchMode mode) {
    if (mode == MatchMode::Serial) return "mid(" + field + ",10,9)";
    return field;
}

std::string statement(std::string_view table, const std::string& field, std::string_view value) {
    std::string sql = "select ";
    sql.append(table).append(".*,loaddata.pz_no from ").append(table);
    sql.append(",loaddata where loaddata.TY_NO=").append(table).append(".TY_NO and ");
    sql += field;
    sql += "='";
    sql += db::EscapeQuotes(value);
    sql += '\'';
    return sql;
}

}  // namespace

FeeLookupStatements feeLookupStatements(std::string_view value, std::string_view field, MatchMode mode) {
    const bool unified = field == "TY_NO";
    const std::string amountField = compared(unified ? "T_fee.TY_NO" : std::string(field), mode);
    const std::string remarkField = compared(unified ? "T_fee1.TY_NO" : std::string(field), mode);
    return {statement("T_fee", amountField, value), statement("T_fee1", remarkField, value)};
}

std::string permissionStatement(std::string_view userName) {
    return "select * from limit where L_have_Limit=1 and L_pers_id=(select e_id from employee where "
           "E_name='" +
           db::EscapeQuotes(userName) + "')";
}

}  // namespace ca::fees
