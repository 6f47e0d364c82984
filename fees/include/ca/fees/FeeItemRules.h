#pragma once
// The checks of a new fee item that need no database. The code becomes a column name of T_fee and
// T_fee1, so it must be one the engine takes unquoted and must not be one of the fee tables' own
// columns.
#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace ca::fees {

// The fee tables' own columns, and the names by which SQLite addresses every table's row id
// (a column of that name would hide it), refused as codes in any letter case.
inline constexpr std::array<std::string_view, 11> kReservedCodes = {
    "GID", "TY_NO", "kh", "sdate", "goods", "htno", "tdno", "bgno", "rowid", "oid", "_rowid_"};

// The warning for the code, or nullopt when it may be a column name: a reserved code (in any
// letter case) gives code + " 是系统字段不可用！"; an empty code, a code that is not an ASCII letter
// followed by letters, digits and underscores (at most 64), or an SQL keyword is refused too. The
// caller passes the code trimmed (trimName).
std::optional<std::string> codeRefusal(std::string_view code);

// The warning for a display name that is empty or blanks only, or nullopt.
std::optional<std::string> nameRefusal(std::string_view name);

}  // namespace ca::fees
