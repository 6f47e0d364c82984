#include "ca/fees/FeeItemAdd.h"

#include <optional>

#include "ca/db/Quoting.h"
#include "ca/db/TADOQuery.h"
#include "ca/db/Transaction.h"
#include "ca/fees/FeeColumns.h"
#include "ca/fees/FeeItemRules.h"
#include "ca/fees/FeeTexts.h"
#include "ca/users/UserStore.h"
#include "ca/util/AsciiCase.h"
#include "ca/util/NameRule.h"

namespace ca::fees {

namespace {

bool found(db::TDM& dm, const std::string& sql) {
    db::TADOQuery q(dm);
    q.SetSQL(sql);
    q.Open();
    return !q.IsEmpty();
}

void exec(db::TDM& dm, const std::string& sql) {
    db::TADOQuery q(dm);
    q.SetSQL(sql);
    q.ExecSQL();
}

// The table whose column the code would shadow. LoadData counts too: the fee statements join it,
// and a fee column of the same name would make the join's names ambiguous.
std::optional<std::string> tableWithColumn(db::TDM& dm, const std::string& code) {
    for (const char* table : {"T_fee", "T_fee1", "LoadData"})
        if (const auto* cols = dm.ADOConnection1.columns(table))
            for (const auto& c : *cols)
                if (equalsNoCase(c.name, code)) return std::string(table);
    return std::nullopt;
}

std::optional<std::string> refusal(db::TDM& dm, const std::string& code, const std::string& name) {
    if (auto why = codeRefusal(code)) return why;
    if (found(dm, "select * from func_desc where Fd_func_code='" + db::EscapeQuotes(code) + "'"))
        return std::string(kSameCodeText);
    if (auto table = tableWithColumn(dm, code))
        return "新字段名称 " + code + " 与数据表 " + *table + " 中已有的字段重名，不可用！";
    if (auto why = nameRefusal(name)) return why;
    // Compared here rather than in the statement: the engine cannot fold letter widths.
    db::TADOQuery names(dm);
    names.SetSQL("select Fd_func_name from func_desc");
    names.Open();
    for (names.First(); !names.Eof(); names.Next())
        if (sameName(names.FieldByName("Fd_func_name").AsString(), name)) return std::string(kSameNameText);
    return std::nullopt;
}

}  // namespace

FeeItemResult addFeeItem(db::TDM& dm, const std::string& typedCode, const std::string& typedName) {
    const std::string code = trimName(typedCode), name = trimName(typedName);
    if (auto why = refusal(dm, code, name)) return {false, *why};
    try {
        db::Transaction transaction(dm);
        exec(dm, "insert into func_desc(Fd_func_code,Fd_func_name)values('" + code + "','" +
                     db::EscapeQuotes(name) + "') ");
        // The amounts of the rows already there are 0; a server gives them 0 without rewriting them.
        for (const auto& table : kFeeTables)
            if (table.amounts)
                dm.ADOConnection1.AddColumnOfZeros(table.name, code, table.columnType);
            else
                exec(dm, addFeeColumnStatement(table, code));
        users::UserStore(dm).addMissingPermissions();
        transaction.commit();
    } catch (...) {
        // The undone columns may still be in what the connection knows of the tables.
        dm.ADOConnection1.schemaChanged();
        throw;
    }
    return {true, kAddedText};
}

}  // namespace ca::fees
