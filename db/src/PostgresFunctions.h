#pragma once
// What a PostgreSQL database needs besides the tables before the program's statements run there:
// citext, the date domain, and the functions of the Jet dialect (mid, ca_format, nz, len, ucase,
// lcase, ca_now, typeof) with the conversions ca_cv_i/ca_cv_d/ca_cv_t that the dialect wraps
// around every value written to an integer, decimal or date column. They behave as their
// counterparts on a desk's SQLite file, messages included.
#include <string>

namespace ca::db {

// The version written to ca_schema; a server whose tables carry another one is refused, an older
// one is upgraded. 2: a goods line's unique key; 3: every function names the schemas it uses.
constexpr int kPostgresSchemaVersion = 3;

// The extension and the domain of a new database, one script.
const std::string& postgresTypesSql();
// Every function (CREATE OR REPLACE, so it also brings an older database's up to date), created in
// `schema` and naming it, and `citextSchema` for the type citext, wherever one function uses
// another: they work under any search_path, the empty one of the server's upkeep included.
std::string postgresFunctionsSql(const std::string& schema, const std::string& citextSchema);

}  // namespace ca::db
