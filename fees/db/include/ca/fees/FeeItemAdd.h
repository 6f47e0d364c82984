#pragma once
// Adding a fee item: a catalogue row in func_desc, an amount column in T_fee, a remark column in
// T_fee1, a not-allowed permission row for every user who lacks one, and the amount 0 in every
// stored declaration. Everything is checked before anything is written, and the writes run as one
// transaction, so a refusal or a failure leaves the catalogue, both tables and limit as they were.
#include <string>

#include "ca/db/TDM.h"

namespace ca::fees {

struct FeeItemResult {
    bool added = false;
    std::string message;  // the warning of the first failing check, or "增加成功！"
};

// Code and name are trimmed (NameRule.h), then checked in this order: reserved code (any letter
// case), empty or unusable code, code already in the catalogue, code already a column of T_fee,
// T_fee1 or LoadData (any letter case), empty name, name already in the catalogue (by the rule of
// NameRule.h: letter case and width do not count). Database errors propagate as db::DbError
// (nothing is kept then).
FeeItemResult addFeeItem(db::TDM& dm, const std::string& code, const std::string& name);

}  // namespace ca::fees
