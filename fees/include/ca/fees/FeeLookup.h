#pragma once
// The three statements of loading a declaration into fee entry: its amounts (T_fee with the
// declaration's verification number), its remarks (T_fee1) and the current user's permissions.
#include <string>
#include <string_view>

namespace ca::fees {

// How the searched value is compared with the column.
enum class MatchMode : int {
    Whole = 0,   // the whole value must equal
    Serial = 1,  // characters 10 to 18 of the column (the declaration's serial)
};

struct FeeLookupStatements {
    std::string amounts;
    std::string remarks;
};

// `field` is one of "TY_NO", "bgno", "htno", "tdno", "PZ_No" (the callers' own names). "TY_NO"
// names T_fee.TY_NO, and T_fee1.TY_NO in the remark statement; with MatchMode::Serial the column is
// compared through mid(...,10,9). The value goes between quotes with its apostrophes doubled.
FeeLookupStatements feeLookupStatements(std::string_view value, std::string_view field, MatchMode mode);

// The allowed fee items of the user with that name, in the order of the limit rows.
std::string permissionStatement(std::string_view userName);

}  // namespace ca::fees
