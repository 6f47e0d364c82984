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

// The unique key of a goods line: one row per declaration (Pid) and line number (SP_No). A database
// made before the key existed gets it when it is opened, its duplicate lines removed first (the one
// stored first stays).
inline constexpr const char* kUniqueGoodsLineIndex = "subData_line";
inline constexpr const char* kUniqueGoodsLine = "CREATE UNIQUE INDEX subData_line ON subData(Pid, SP_No)";

// The statements that create all tables and indexes and seed func_desc on an empty database, in
// the engine's dialect, one statement each; the engine runs them in one transaction.
std::vector<std::string> DefaultSchemaStatements(const Dialect& dialect);

}  // namespace ca::db
