#include "ca/db/TField.h"

#include <cmath>
#include <cstdio>

#include "ca/db/TADOQuery.h"
#include "ca/util/Convert.h"

namespace ca::db {

std::string valueToString(const Value& v) {
    if (auto* s = std::get_if<std::string>(&v)) return *s;
    if (auto* i = std::get_if<std::int64_t>(&v)) return std::to_string(*i);
    if (auto* d = std::get_if<double>(&v)) {
        char buf[40];
        if (std::floor(*d) == *d && std::fabs(*d) < 1e15)
            std::snprintf(buf, sizeof buf, "%.0f", *d);
        else
            std::snprintf(buf, sizeof buf, "%.15g", *d);
        return buf;
    }
    return {};
}

const std::string& TField::FieldName() const {
    return query_->fieldName(column_);
}

Value TField::AsVariant() const {
    return query_->valueAt(column_);
}

std::int64_t TField::AsInteger() const {
    const Value v = AsVariant();
    if (auto* i = std::get_if<std::int64_t>(&v)) return *i;
    if (auto* d = std::get_if<double>(&v)) return std::llround(*d);
    if (auto* s = std::get_if<std::string>(&v)) return toInt(*s);
    return 0;
}

double TField::AsFloat() const {
    const Value v = AsVariant();
    if (auto* i = std::get_if<std::int64_t>(&v)) return static_cast<double>(*i);
    if (auto* d = std::get_if<double>(&v)) return *d;
    if (auto* s = std::get_if<std::string>(&v)) return toFloat(*s);
    return 0.0;
}

}  // namespace ca::db
