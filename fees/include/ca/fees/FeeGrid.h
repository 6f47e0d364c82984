#pragma once
// The fee grid of fee entry: one row per fee item the current user may enter, four texts each.
// The window edits these rows in place and saving and printing read them back.
#include <array>
#include <string>
#include <vector>

namespace ca::fees {

using FeeGridRows = std::vector<std::vector<std::string>>;

enum FeeColumn : int {
    kNameColumn = 0,    // fee item name (limit.L_func_name), not editable
    kAmountColumn = 1,  // amount text
    kRemarkColumn = 2,  // remark text
    kCodeColumn = 3,    // fee item code, kept out of sight (2 pixels wide)
};

// The header texts of the four columns.
inline const std::array<std::string, 4> kFeeGridHeader = {"费用名称", "费用", "备注", ""};

}  // namespace ca::fees
