#pragma once
// The tables, columns, indexes and seed rows of a new database.
#include <string>
#include <utility>
#include <vector>

#include "ca/db/Column.h"

namespace ca::db {

class Dialect;

struct TableDef {
    std::string name;
    std::vector<ColumnInfo> columns;
};

// Every table of the program with its columns in order.
const std::vector<TableDef>& DefaultTables();

// The 24 fee items every database starts with: code (also the fee tables' column name) and
// display name, in column order.
const std::vector<std::pair<std::string, std::string>>& BuiltInFeeItems();

// The statements that create all tables and indexes and seed func_desc on an empty database, in
// the engine's dialect, one statement each; the engine runs them in one transaction.
std::vector<std::string> DefaultSchemaStatements(const Dialect& dialect);

}  // namespace ca::db
