// Reports from the command line: find lists the declarations the document query finds,
// business-data writes a business list the way the business data window does (for scheduled tasks).
#include <algorithm>
#include <iostream>

#include "CliRegistry.h"
#include "CliSupport.h"
#include "ca/db/TADOQuery.h"
#include "ca/db/TDM.h"
#include "ca/reports/BusinessExport.h"
#include "ca/reports/CellText.h"
#include "ca/reports/DocumentColumns.h"
#include "ca/reports/DocumentQuery.h"
#include "ca/reports/DocumentSearch.h"
#include "ca/util/IniFile.h"
#include "ca/util/LocalTime.h"
#include "ca/util/Settings.h"
#include "ca/util/TabText.h"

namespace {

using namespace ca::reports;

// ---- find ----

int find(ca::cli::Invocation& o) {
    DocumentFilter f;
    f.entryFrom = o.date("--from", f.entryFrom);
    f.entryTo = o.date("--to", ca::localToday());
    f.useDeclared = o.has("--declared-from") || o.has("--declared-to");
    f.declaredFrom = o.date("--declared-from", f.declaredFrom);
    f.declaredTo = o.date("--declared-to", f.useDeclared ? ca::localToday() : f.declaredTo);
    f.unified = o.value("--unified");
    f.customsNo = o.value("--customs-no");
    f.contract = o.value("--contract");
    f.bill = o.value("--bill");
    f.goods = o.value("--goods");
    f.company = o.value("--company");
    f.kind = o.value("--kind");
    f.unitCode = o.value("--unit");
    ca::db::TADOQuery q(o.database());
    findDocuments(q, f);
    const auto& columns = headerColumns();
    std::vector<ca::db::TField> fields;
    std::string out;
    for (const auto& c : columns) {
        fields.push_back(q.FieldByName(c.field));
        out += (out.empty() ? "" : "\t") + c.field;
    }
    out += '\n';
    for (q.First(); !q.Eof(); q.Next()) {
        for (size_t i = 0; i < columns.size(); ++i) {
            if (i) out += '\t';
            out += ca::escapeTabText(cellText(fields[i].AsString(), columns[i].kind));
        }
        out += '\n';
    }
    std::cout << out;
    return 0;
}

// ---- business-data ----

// The console prompts with the window's warnings on standard error (a scheduled task logs them as
// failures), and the question before a file is replaced answered yes, since --out names the file
// to write.
class ExportPrompts : public ca::cli::ConsolePrompts {
public:
    using ConsolePrompts::ConsolePrompts;
    void warning(const std::string& text, const std::string&) override {
        std::cerr << ca::escapeControls(text) << "\n";
    }
    ca::Button question(const std::string&, const std::string&) override { return ca::Button::Yes; }
};

// The declaring unit code the window starts with: the office's own, from the program's config.ini
// (the setting the entry types into the client).
std::string configuredUnitCode(const ca::cli::Invocation& in) {
    namespace st = ca::settings;
    const ca::IniFile ini(in.configFile());
    return ini.ReadString(st::kSection, st::kDeclaringUnit, "");
}

int businessData(ca::cli::Invocation& o) {
    BusinessFilter f;
    BusinessList list = BusinessList::WithGoods;
    const std::string out = o.value("--out");
    const bool month = o.has("--month"), range = o.has("--from") || o.has("--to");
    if (month == range) o.usageError("请给出 --month YYYY-MM 或 --from DATE --to DATE（二选一）");
    if (month) {
        const std::string m = o.value("--month");
        const auto d = ca::parseDate(m + "-01");
        if (m.size() != 7 || m[4] != '-' || !d) o.usageError("--month 应为 YYYY-MM：" + m);
        f.year = m.substr(0, 4);
        f.month = m.substr(5, 2);
    } else {
        if (!o.has("--from") || !o.has("--to")) o.usageError("--from 与 --to 须一起给出");
        f.useRange = true;
        f.from = o.date("--from", {});
        f.to = o.date("--to", {});
    }
    f.kind = o.value("--kind", kNoKind);
    if (std::find(kBusinessKinds.begin(), kBusinessKinds.end(), f.kind) == kBusinessKinds.end())
        o.usageError("--kind 不是可选的进出口类型：" + f.kind);
    f.unitCode = o.has("--unit") ? o.value("--unit") : configuredUnitCode(o);
    f.vehicle = o.value("--vehicle");
    f.customsCode = o.value("--customs", f.customsCode);
    f.clerk = o.value("--clerk");
    f.maker = o.value("--maker");
    f.phones = o.value("--phones");
    if (o.has("--non-general-trade")) list = BusinessList::NonGeneralTrade;
    ca::db::TDM& dm = o.database();
    ExportPrompts prompts(out);
    ExportTable table;
    const ExportResult r = runBusinessExport(dm, prompts, f, list, table);
    if (r.outcome != ExportOutcome::Written) return 1;
    std::cout << table.declarationCount() << "\n";
    return 0;
}

const ca::cli::Registrar findCommand{{"find",
                                      {{"--from", "日期"},
                                       {"--to", "日期"},
                                       {"--unified", "统一编号"},
                                       {"--customs-no", "海关编号"},
                                       {"--contract", "合同号"},
                                       {"--bill", "提运单号"},
                                       {"--goods", "货名"},
                                       {"--company", "经营单位"},
                                       {"--kind", "报关单类型"},
                                       {"--unit", "申报单位代码"},
                                       {"--declared-from", "日期"},
                                       {"--declared-to", "日期"}},
                                      {},
                                      ca::cli::DatabaseUse::Existing,
                                      "列出单据查询找到的报关单（未给出录入日期时为 2010-12-01 至今天）",
                                      find}};
const ca::cli::Registrar businessCommand{
    {"business-data",
     {{"--month", "YYYY-MM"},
      {"--from", "日期"},
      {"--to", "日期"},
      {"--unit", "申报单位代码"},
      {"--kind", "无|进口报关单|出口报关单|出口转关运输提前报关单|出口和转关"},
      {"--vehicle", "运输工具"},
      {"--customs", "关区代码"},
      {"--clerk", "录入员"},
      {"--maker", "生产厂家"},
      {"--phones", "电话1,电话2"},
      {"--non-general-trade", ""},
      {"--out", "文件.xls", true, ca::cli::Output::Workbook}},
     {},
     ca::cli::DatabaseUse::Existing,
     "与“生成业务数据”窗口相同地写出业务数据（--month，或 --from 与 "
     "--to）：默认“生成EXCEL”（文件已存在时追加在"
     "后面），加 --non-general-trade 为“生成非一般贸易数据”（替换已有文件）；输出写入的报关单条数",
     businessData}};

}  // namespace
