#pragma once
// The columns a fee item adds to the fee tables: its amount in T_fee, its remark in T_fee1. Adding a
// fee item and moving a desk's database into another add them alike.
#include <string>
#include <string_view>

namespace ca::fees {

struct FeeTable {
    const char* name;
    const char* columnType;  // as "alter table" takes it
    bool amounts;            // the rows already there hold 0 in a new column (AddColumnOfZeros)
};

inline constexpr FeeTable kFeeTables[] = {
    {"T_fee", "numeric (18 ,2)", true},
    {"T_fee1", "char (50)", false},
};

// "alter table T_fee1 add <code> char (50)" and its T_fee counterpart.
std::string addFeeColumnStatement(const FeeTable& table, std::string_view code);

}  // namespace ca::fees
