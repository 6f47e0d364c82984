#pragma once
// Saving the fee grid of one declaration: every amount and remark is checked before anything is
// written, then all rows go into T_fee and T_fee1 in one transaction, so a refused value never
// leaves part of the fees saved.
#include <string>

#include "ca/db/TDM.h"
#include "ca/fees/FeeGrid.h"
#include "ca/util/Prompts.h"

namespace ca::fees {

// Checks every row (FeeAmountError names the first bad amount or too long remark; nothing is
// written then), then runs "update T_fee set <code>='<amount>' where ty_no='<unifiedNo>'", the
// amount rounded to cents (Amount.h), and the same for the remark in T_fee1, row by row, as one
// transaction. A database error (a locked file) undoes all of it and propagates as db::DbError.
void saveFees(db::TDM& dm, const FeeGridRows& rows, const std::string& unifiedNo);

enum class SaveOutcome {
    Declined,       // the clerk answered No: nothing changed
    NothingToSave,  // no fee rows: warned
    Refused,        // an amount or remark was refused: warned, nothing written
    Saved,          // written; the caller reloads the declaration
};

// The "保存" command up to the reload: asks, checks and writes `rows` for the declaration
// `unifiedNo` (the window's Edit7). Database errors propagate as db::DbError.
SaveOutcome saveFeeSheet(db::TDM& dm, Prompts& prompts, const FeeGridRows& rows,
                         const std::string& unifiedNo);

}  // namespace ca::fees
