#pragma once
// A field of an open result: it reads the value of its column in the current row, so it follows
// the cursor as Next moves it.
#include <cstdint>
#include <string>
#include <variant>

namespace ca::db {

class TADOQuery;

// A typed database value; std::monostate is Null.
using Value = std::variant<std::monostate, std::int64_t, double, std::string>;

// A value's text form: Null gives the empty text, whole numbers have no decimals ("0", "12"),
// other numbers at most 15 significant digits ("12.5").
std::string valueToString(const Value& v);

class TField {
public:
    TField(const TADOQuery& query, int column) : query_(&query), column_(column) {}

    const std::string& FieldName() const;
    // The value in the current row; Null when there is no current row (empty result, end reached).
    Value AsVariant() const;
    bool IsNull() const { return std::holds_alternative<std::monostate>(AsVariant()); }
    std::string AsString() const { return valueToString(AsVariant()); }
    // Null gives 0; a text that is not an integer throws ca::ConversionError; a fractional
    // number is rounded.
    std::int64_t AsInteger() const;
    // Null gives 0; a text that is not a number throws ca::ConversionError.
    double AsFloat() const;

private:
    const TADOQuery* query_;
    int column_;
};

}  // namespace ca::db
