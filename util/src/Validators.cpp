#include "ca/util/Validators.h"

#include "ca/util/Convert.h"

namespace ca {

bool IsInteger(std::string_view text) {
    return parseInt(text).has_value();
}
bool IsFloat(std::string_view text) {
    return parseFloat(text).has_value();
}
bool IsDate(std::string_view text) {
    return parseDate(text).has_value();
}

}  // namespace ca
