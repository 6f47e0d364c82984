#pragma once
// What a PostgreSQL database needs besides the tables before the program's statements run there:
// citext, the date domain, and the functions of the Jet dialect (mid, ca_format, nz, len, ucase,
// lcase, ca_now, typeof) with the conversions ca_cv_i/ca_cv_d/ca_cv_t that the dialect wraps
// around every value written to an integer, decimal or date column. They behave as their
// counterparts on a desk's SQLite file, messages included.
#include <string>

namespace ca::db {

// The version written to ca_schema; a server whose tables carry another one is refused.
constexpr int kPostgresSchemaVersion = 2;

// The statements, in order, one text that the server runs as one script.
const std::string& postgresFunctionsSql();
// The number reading every conversion uses (CREATE OR REPLACE: also brings an older database's up
// to date).
const std::string& postgresNumberFunctionSql();

}  // namespace ca::db
