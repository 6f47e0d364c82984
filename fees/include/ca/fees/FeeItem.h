#pragma once
// A fee item: its code (the column name in T_fee and T_fee1) and its display name.
#include <string>

namespace ca::fees {

struct FeeItem {
    std::string code;
    std::string name;
    bool operator==(const FeeItem&) const = default;
};

}  // namespace ca::fees
