#pragma once
// Fee entry's state: the declaration's fields, the fee grid and the loaded total, as InputData
// leaves them, plus the clerk's edits of the grid and the searchable fields.
#include <string>

#include "ca/db/TDM.h"
#include "ca/fees/Amount.h"
#include "ca/fees/FeeGrid.h"
#include "ca/fees/FeeLookup.h"

namespace ca::fees {

// The declaration fields of the window, with the T_fee column each shows.
struct FeeFields {
    std::string customer;       // Edit1: kh
    std::string date;           // Edit2: sdate
    std::string goods;          // Edit3: goods
    std::string contract;       // Edit4: htno
    std::string bill;           // Edit5: tdno
    std::string declarationNo;  // Edit6: bgno
    std::string unifiedNo;      // Edit7: ty_no
    std::string verification;   // Edit11: loaddata.pz_no
    bool operator==(const FeeFields&) const = default;
};

enum class LoadOutcome {
    NotFound,      // no declaration matched: Edit1 to Edit5 and the grid emptied, nothing else changed
    NoPermission,  // found, but the user may enter no fee: warned, the grid keeps only its header
    Loaded,        // fields, grid and total show the declaration; the window comes up
};

class FeeSheet {
public:
    FeeFields fields;
    FeeGridRows rows;       // one row per allowed fee item: name, amount, remark, code
    std::string totalText;  // Label9: the loaded total, "0.00"
    Amount total;

    // Finds the declaration whose `field` matches `value` and loads its amounts and remarks for the
    // fee items `userName` may enter, in the order of his limit rows. A missing amount (Null, left
    // by a fee item added after the declaration was stored) shows as an empty cell and counts as 0;
    // amounts show as their text rounded to cents (Amount::plainText) and add up exactly.
    // Database errors propagate as db::DbError.
    LoadOutcome InputData(db::TDM& dm, const std::string& userName, const std::string& value,
                          const std::string& field, MatchMode mode);
};

}  // namespace ca::fees
