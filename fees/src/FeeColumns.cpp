#include "ca/fees/FeeColumns.h"

namespace ca::fees {

std::string addFeeColumnStatement(const FeeTable& table, std::string_view code) {
    std::string sql = "alter table ";
    sql += table.name;
    sql += " add ";
    sql += code;
    sql += ' ';
    sql += table.columnType;
    return sql;
}

}  // namespace ca::fees
