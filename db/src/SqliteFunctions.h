#pragma once
// Functions of the Jet dialect that SQLite lacks (mid, format, nz, len, ucase, lcase, now)
// and the conversion ca_cv(value, kind, 'Table.column') that the dialect wraps around every value
// written to an integer, decimal or date column.
struct sqlite3;

namespace ca::db {

void registerSqliteFunctions(sqlite3* db);

}  // namespace ca::db
