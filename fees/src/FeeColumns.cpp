#include "ca/fees/FeeColumns.h"

namespace ca::fees {

std::string addFeeColumnStatement(const FeeTable& table, std::string_view code) {
    std::string sql = "alter table ";
    sql += table.name;
    sql += " add ";
    sql += code;
    sql += table.columnType;
    return sql;
}

std::string zeroFillStatement(std::string_view code) {
    std::string sql = "update T_fee set ";
    sql += code;
    sql += "=0";
    return sql;
}

}  // namespace ca::fees
