#include "ca/fees/FeeSave.h"

#include "ca/db/Quoting.h"
#include "ca/db/TADOQuery.h"
#include "ca/db/Transaction.h"
#include "ca/fees/AmountCheck.h"
#include "ca/fees/FeeTexts.h"
#include "ca/util/MessageBoxes.h"

namespace ca::fees {

namespace {

constexpr const char* kNotSaved = "未保存任何费用。";

void update(db::TDM& dm, const char* table, const std::string& code, const std::string& value,
            const std::string& unifiedNo) {
    db::TADOQuery q(dm);
    q.SetSQL(std::string("update ") + table + " set " + code + "='" + db::EscapeQuotes(value) +
             "' where ty_no='" + db::EscapeQuotes(unifiedNo) + "'");
    q.ExecSQL();
}

}  // namespace

void saveFees(db::TDM& dm, const FeeGridRows& rows, const std::string& unifiedNo) {
    std::vector<std::string> amounts;  // each as stored: rounded to cents
    amounts.reserve(rows.size());
    for (const auto& row : rows) {
        db::CheckIdentifier(row[kCodeColumn]);
        amounts.push_back(checkedAmount(row[kNameColumn], row[kAmountColumn], kNotSaved).text());
    }
    db::Transaction transaction(dm);
    for (size_t i = 0; i < rows.size(); ++i) {
        const auto& row = rows[i];
        update(dm, "T_fee", row[kCodeColumn], amounts[i], unifiedNo);
        update(dm, "T_fee1", row[kCodeColumn], row[kRemarkColumn], unifiedNo);
    }
    transaction.commit();
}

SaveOutcome saveFeeSheet(db::TDM& dm, Prompts& prompts, const FeeGridRows& rows,
                         const std::string& unifiedNo) {
    if (questionBox(prompts, kSaveQuestion) != Button::Yes) return SaveOutcome::Declined;
    if (rows.empty() || rows.front()[kNameColumn].empty()) {
        warningBox(prompts, kNothingToSaveText);
        return SaveOutcome::NothingToSave;
    }
    try {
        saveFees(dm, rows, unifiedNo);
    } catch (const FeeAmountError& e) {
        warningBox(prompts, e.what());
        return SaveOutcome::Refused;
    }
    return SaveOutcome::Saved;
}

}  // namespace ca::fees
