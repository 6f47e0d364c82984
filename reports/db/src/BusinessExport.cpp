#include "ca/reports/BusinessExport.h"

#include <exception>
#include <filesystem>

#include "ca/db/DatabaseFile.h"
#include "ca/db/TADOQuery.h"
#include "ca/reports/BusinessColumns.h"
#include "ca/spreadsheet/FileIo.h"
#include "ca/spreadsheet/TextGrid.h"
#include "ca/util/Folders.h"
#include "ca/util/MessageBoxes.h"
#include "ca/util/OutputTarget.h"
#include "ca/util/SystemErrorText.h"

namespace ca::reports {

namespace {

constexpr const char* kSheetName = "StringGrid1";

std::vector<std::string> headings(BusinessList list) {
    std::vector<std::string> h;
    for (const auto& c : businessColumns(list))
        h.emplace_back(c.heading);
    return h;
}

GoodsSummary readGoods(db::TADOQuery& goods, BusinessList list) {
    GoodsSummary s;
    s.count = goods.RecordCount();
    if (s.count > 0) {
        goods.First();
        s.firstName = goods.FieldByName("spmc_name").AsString();
        if (list == BusinessList::WithGoods) s.firstMaker = goods.FieldByName("SCCJ").AsString();
    }
    return s;
}

// Shows the wait cursor while alive, or from show() to lift(); always lifted at the end.
class CursorScope {
public:
    explicit CursorScope(const std::function<void(bool)>& set) : set_(set) { show(); }
    ~CursorScope() { lift(); }
    CursorScope(const CursorScope&) = delete;
    CursorScope& operator=(const CursorScope&) = delete;
    void show() {
        if (set_ && !shown_) set_(true);
        shown_ = true;
    }
    void lift() {
        if (set_ && shown_) set_(false);
        shown_ = false;
    }

private:
    const std::function<void(bool)>& set_;
    bool shown_ = false;
};

}  // namespace

void openBusinessList(db::TADOQuery& declarations, const BusinessFilter& filter, BusinessList list) {
    declarations.SetSQL(businessStatement(filter, list));
    declarations.Open();
}

ExportTable businessTable(db::TDM& dm, db::TADOQuery& declarations, BusinessList list) {
    if (declarations.IsEmpty()) return {};
    db::TADOQuery goods(dm);  // the goods lines of one declaration at a time
    ExportTable table(headings(list));
    const auto field = [&declarations](std::string_view name) {
        return declarations.FieldByName(name).AsString();
    };
    int k = 1;
    for (declarations.First(); !declarations.Eof(); declarations.Next(), ++k) {
        goods.SetSQL(businessGoodsStatement(declarations.FieldByName("ty_no").AsString(), list));
        goods.Open();
        table.addRow(businessRow(list, k, field, readGoods(goods, list)));
    }
    return table;
}

ExportTable businessRows(db::TDM& dm, const BusinessFilter& filter, BusinessList list) {
    db::TADOQuery declarations(dm);
    openBusinessList(declarations, filter, list);
    return businessTable(dm, declarations, list);
}

std::string replaceQuestion(const std::string& path) {
    return "文件“" + path + "”已存在，要替换它吗？";
}

ExportResult runBusinessExport(db::TDM& dm, Prompts& prompts, const BusinessFilter& filter, BusinessList list,
                               ExportTable& table, const std::function<void(bool)>& waitCursor) {
    ExportResult result;
    CursorScope cursor(waitCursor);
    db::TADOQuery ADOQuery1(dm);
    openBusinessList(ADOQuery1, filter, list);
    if (ADOQuery1.IsEmpty()) {
        cursor.lift();
        warningBox(prompts, kNoMatchText);
        return result;
    }
    if (ADOQuery1.RecordCount() > kMaxDeclarations) {
        cursor.lift();
        warningBox(prompts, "共有 " + std::to_string(ADOQuery1.RecordCount()) +
                                " 条报关单，超过 EXCEL 工作表能容纳的 65535 条，请缩小查询范围后再导出。");
        result.outcome = ExportOutcome::TooLarge;
        return result;
    }
    table = businessTable(dm, ADOQuery1, list);
    cursor.lift();
    result.path = prompts.saveFile("", kSaveFilter, kSaveSuffix);
    if (result.path.empty()) {
        result.outcome = ExportOutcome::Cancelled;
        return result;
    }
    if (std::string problem = xlsOutputProblem(result.path);
        !problem.empty() || !(problem = db::DatabaseOutputProblem(dm, result.path)).empty()) {
        warningBox(prompts, problem);
        result.outcome = ExportOutcome::Refused;
        return result;
    }
    // A write that failed says why after the window's own words.
    const auto failed = [&](const std::string& cause) {
        cursor.lift();
        warningBox(prompts,
                   cause.empty() ? std::string(kExportFailedText) : kExportFailedText + ("\n" + cause));
        result.outcome = ExportOutcome::Failed;
        return result;
    };
    std::error_code ec;
    const bool exists = std::filesystem::exists(pathFromUtf8(result.path), ec);
    result.appended = list == BusinessList::WithGoods && exists;
    // A new workbook over an existing file: the spreadsheet program asks before it replaces one,
    // and a refusal ends the write as a failed one.
    if (!result.appended && exists && questionBox(prompts, replaceQuestion(result.path)) != Button::Yes)
        return failed({});
    try {
        cursor.show();
        if (result.appended)
            spreadsheet::appendTextRows(result.path, table.rows());
        else
            spreadsheet::saveTextRows(result.path, kSheetName, table.rows(), true);
    } catch (const std::exception& e) {
        return failed(errorText(e));
    }
    result.outcome = ExportOutcome::Written;
    return result;
}

}  // namespace ca::reports
