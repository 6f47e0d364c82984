#include "ca/fees/FeeSheet.h"

#include "ca/db/TADOQuery.h"
#include "ca/fees/StoredAmount.h"

namespace ca::fees {

LoadOutcome FeeSheet::InputData(db::TDM& dm, const std::string& userName, const std::string& value,
                                const std::string& field, MatchMode mode) {
    fields.customer.clear();
    fields.date.clear();
    fields.goods.clear();
    fields.contract.clear();
    fields.bill.clear();
    rows.clear();

    const FeeLookupStatements sql = feeLookupStatements(value, field, mode);
    db::TADOQuery amounts(dm);
    amounts.SetSQL(sql.amounts);
    amounts.Open();
    if (amounts.IsEmpty()) return LoadOutcome::NotFound;
    amounts.First();
    auto text = [&](const char* name) { return amounts.FieldByName(name).AsString(); };
    fields.customer = text("kh");
    fields.date = text("sdate");
    fields.goods = text("goods");
    fields.contract = text("htno");
    fields.bill = text("tdno");
    fields.declarationNo = text("bgno");
    fields.unifiedNo = text("ty_no");
    fields.verification = text("PZ_no");

    db::TADOQuery remarks(dm);
    remarks.SetSQL(sql.remarks);
    remarks.Open();
    remarks.First();

    db::TADOQuery permissions(dm);
    permissions.SetSQL(permissionStatement(userName));
    permissions.Open();
    if (permissions.IsEmpty()) return LoadOutcome::NoPermission;

    FeeGridRows loaded;
    loaded.reserve(static_cast<size_t>(permissions.RecordCount()));
    Amount sum;
    for (permissions.First(); !permissions.Eof(); permissions.Next()) {
        const std::string code = permissions.FieldByName("L_func_code").AsString();
        const std::optional<Amount> amount = storedAmount(amounts.FieldByName(code).AsVariant());
        if (amount) sum += *amount;  // Null counts as 0 and shows as an empty cell
        std::string remark;
        if (!remarks.Eof()) remark = remarks.FieldByName(code).AsString();
        loaded.push_back({permissions.FieldByName("L_func_name").AsString(),
                          amount ? amount->plainText() : std::string(), remark, code});
    }
    rows = std::move(loaded);
    total = sum;
    totalText = sum.text();
    return LoadOutcome::Loaded;
}

}  // namespace ca::fees
