#include "ca/download/FieldValue.h"

#include <stdexcept>

namespace ca::download {

const FieldValue& fieldValue(const Fields& fields, const std::string& name) {
    for (const auto& f : fields)
        if (f.name == name) return f.value;
    throw std::out_of_range("没有字段“" + name + "”");
}

}  // namespace ca::download
