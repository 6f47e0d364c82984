#pragma once
// A value bound to one named parameter of a store statement: Null, a text or an integer.
#include <cstdint>
#include <string>
#include <vector>

namespace ca::download {

struct FieldValue {
    enum class Kind { Null, Text, Integer };
    Kind kind = Kind::Null;
    std::string text;
    std::int64_t integer = 0;

    static FieldValue null() { return {}; }
    static FieldValue ofText(std::string t) { return {Kind::Text, std::move(t), 0}; }
    static FieldValue ofInteger(std::int64_t v) { return {Kind::Integer, {}, v}; }
    bool operator==(const FieldValue&) const = default;
};

// One parameter: the column name (also the parameter name) and its value.
struct Field {
    std::string name;
    FieldValue value;
    bool operator==(const Field&) const = default;
};

using Fields = std::vector<Field>;

// The value of the named field; throws std::out_of_range when the name is not there.
const FieldValue& fieldValue(const Fields& fields, const std::string& name);

}  // namespace ca::download
