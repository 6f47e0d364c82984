#pragma once
// The columns a fee item adds to the fee tables: its amount in T_fee, its remark in T_fee1. Adding a
// fee item and moving a desk's database into another add them with the same statements.
#include <string>
#include <string_view>

namespace ca::fees {

struct FeeTable {
    const char* name;
    const char* columnType;  // as joined after the column name
    bool amounts;            // the rows already there get 0 in a new column
};

inline constexpr FeeTable kFeeTables[] = {
    {"T_fee", " numeric (18 ,2)", true},
    {"T_fee1", " char (50)", false},
};

// "alter table T_fee add <code> numeric (18 ,2)" and its T_fee1 counterpart.
std::string addFeeColumnStatement(const FeeTable& table, std::string_view code);

// "update T_fee set <code>=0": the amounts of the declarations already stored become 0.
std::string zeroFillStatement(std::string_view code);

}  // namespace ca::fees
