#pragma once
// The two commands of the business data window over the query objects and the workbook writers:
// run the list's statement, fill the export table with one row per declaration, ask for a file and
// write it, new or appended.
#include <functional>
#include <string>

#include "ca/db/TADOQuery.h"
#include "ca/db/TDM.h"
#include "ca/reports/BusinessData.h"
#include "ca/reports/ExportTable.h"
#include "ca/util/Prompts.h"

namespace ca::reports {

inline constexpr const char* kNoMatchText = "查不到符合条件的数据！";
inline constexpr const char* kExportFailedText = "导出时出错！";
inline constexpr const char* kSaveFilter = "EXCEL 文件|*.xls";
inline constexpr const char* kSaveSuffix = "xls";

// Largest number of declarations a list holds: a .xls sheet has 65,536 rows, one of them the
// heading row.
inline constexpr int kMaxDeclarations = 65535;

// Sets the list's statement on the query (ADOQuery1 of the window) and opens it. Database errors
// propagate as db::DbError.
void openBusinessList(db::TADOQuery& declarations, const BusinessFilter& filter, BusinessList list);

// The table of an opened list: the heading row and one row per declaration, reading the goods lines
// of each declaration with a second query on the same connection. An empty result gives an empty
// table (no heading row).
ExportTable businessTable(db::TDM& dm, db::TADOQuery& declarations, BusinessList list);

// Both steps at once.
ExportTable businessRows(db::TDM& dm, const BusinessFilter& filter, BusinessList list);

enum class ExportOutcome {
    NoMatch,    // nothing matched: warned, the table kept its previous content, nothing written
    TooLarge,   // more declarations than a sheet holds: warned, nothing written
    Cancelled,  // the save dialog was cancelled: nothing written, no message
    Refused,    // the chosen file cannot take the list (an .xlsx workbook): warned, nothing written
    Failed,     // a writer failed: "导出时出错！", an existing file unchanged
    Written,    // a new file written, or the list appended to an existing one
};

struct ExportResult {
    ExportOutcome outcome = ExportOutcome::NoMatch;
    std::string path;       // the file chosen (empty before the dialog)
    bool appended = false;  // the list went below the content of an existing file
};

// The whole command. `table` is the window's export table: replaced when the statement finds
// declarations that fit on a sheet, kept otherwise (a list too long is refused before its goods
// lines are read). `waitCursor(true/false)` shows and lifts the wait cursor around the
// statement and the write (lifted for the dialog and every box). The file is asked for with the
// save dialog; "生成EXCEL" appends to an existing file, "生成非一般贸易数据" writes a new one, and
// replaces an existing file only when the clerk answers yes to the replace question.
ExportResult runBusinessExport(db::TDM& dm, Prompts& prompts, const BusinessFilter& filter, BusinessList list,
                               ExportTable& table, const std::function<void(bool)>& waitCursor = {});

// The replace question of a new-file write over an existing file.
std::string replaceQuestion(const std::string& path);

}  // namespace ca::reports
