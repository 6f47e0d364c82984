#pragma once
// The tables, columns, indexes and seed rows of a new database.
#include <string>
#include <utility>
#include <vector>

#include "ca/db/Column.h"

namespace ca::db {

class TADOConnection;

struct TableDef {
    std::string name;
    std::vector<ColumnInfo> columns;
};

// Every table of the program with its columns in order.
const std::vector<TableDef>& DefaultTables();

// The 24 fee items every database starts with: code (also the fee tables' column name) and
// display name, in column order.
const std::vector<std::pair<std::string, std::string>>& BuiltInFeeItems();

// Creates all tables and indexes and seeds func_desc, in one transaction, on an empty database.
void CreateDefaultSchema(TADOConnection& connection);

}  // namespace ca::db
