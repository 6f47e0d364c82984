#pragma once
// Words the server reserves (PostgreSQL's reserved keywords and those that may only name a
// function or type): none of them can stand unquoted as a column name there.
#include <string_view>

namespace ca::db {

// `word` in any letter case.
bool isServerReservedWord(std::string_view word);

}  // namespace ca::db
