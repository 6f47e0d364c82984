#pragma once
// The four kinds of column the program works with and the schema view the dialect layer needs.
#include <string>
#include <string_view>
#include <vector>

namespace ca::db {

enum class ColumnKind { Text, Integer, Decimal, Date };

struct ColumnInfo {
    std::string name;
    ColumnKind kind = ColumnKind::Text;
    int width = 0;  // maximum characters of a text column; 0 = unlimited
};

// What the dialect layer asks about the database while translating a statement.
class SchemaLookup {
public:
    virtual ~SchemaLookup() = default;
    // The columns of a table (name compared without regard to case), in table order; nullptr when
    // there is no such table.
    virtual const std::vector<ColumnInfo>* columns(std::string_view table) = 0;
};

}  // namespace ca::db
