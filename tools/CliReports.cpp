// Reports from the command line: find lists the declarations the document query finds,
// business-data writes a business list the way the business data window does (for scheduled tasks).
#include <algorithm>
#include <iostream>
#include <map>
#include <stdexcept>

#include "CliRegistry.h"
#include "CliSupport.h"
#include "ca/db/TADOQuery.h"
#include "ca/db/TDM.h"
#include "ca/reports/BusinessExport.h"
#include "ca/reports/CellText.h"
#include "ca/reports/DocumentColumns.h"
#include "ca/reports/DocumentQuery.h"
#include "ca/reports/DocumentSearch.h"
#include "ca/util/Folders.h"
#include "ca/util/IniFile.h"
#include "ca/util/LocalTime.h"
#include "ca/util/Settings.h"
#include "ca/util/TabText.h"

namespace {

using namespace ca::reports;

// Options of the form --name VALUE and bare flags; anything else is a usage error.
class Options {
public:
    Options(const std::vector<std::string>& args, const std::vector<std::string>& valued,
            const std::vector<std::string>& flags) {
        for (size_t i = 0; i < args.size(); ++i) {
            const std::string& a = args[i];
            if (std::find(flags.begin(), flags.end(), a) != flags.end()) {
                values_[a] = "";
            } else if (std::find(valued.begin(), valued.end(), a) != valued.end() && i + 1 < args.size()) {
                values_[a] = args[++i];
            } else {
                throw std::invalid_argument("无法识别的参数：" + a);
            }
        }
    }
    bool has(const std::string& name) const { return values_.count(name) > 0; }
    std::string get(const std::string& name, const std::string& def = "") const {
        auto it = values_.find(name);
        return it == values_.end() ? def : it->second;
    }
    ca::Date date(const std::string& name, const ca::Date& def) const {
        if (!has(name)) return def;
        auto d = ca::parseDate(get(name));
        if (!d) throw std::invalid_argument(name + " 不是有效的日期（应为 YYYY-MM-DD）：" + get(name));
        return *d;
    }

private:
    std::map<std::string, std::string> values_;
};

int usageError(const std::exception& e, const char* usage) {
    std::cerr << "错误：" << e.what() << "\n用法：" << usage << "\n";
    return 2;
}

// ---- find ----

constexpr const char* kFindUsage =
    "find [--db 数据库] [--from 日期 --to 日期] [--unified 统一编号] [--customs-no 海关编号] [--contract "
    "合同号] "
    "[--bill 提运单号] [--goods 货名] [--company 经营单位] [--kind 报关单类型] [--unit 申报单位代码] "
    "[--declared-from 日期 --declared-to 日期]"
    "    列出单据查询找到的报关单（未给出录入日期时为 2010-12-01 至今天）";

int find(const std::vector<std::string>& args) {
    DocumentFilter f;
    std::string db;
    try {
        const Options o(args,
                        {"--db", "--from", "--to", "--unified", "--customs-no", "--contract", "--bill",
                         "--goods", "--company", "--kind", "--unit", "--declared-from", "--declared-to"},
                        {});
        db = o.get("--db", ca::settings::kDatabaseFileName);
        f.entryFrom = o.date("--from", f.entryFrom);
        f.entryTo = o.date("--to", ca::localToday());
        f.useDeclared = o.has("--declared-from") || o.has("--declared-to");
        f.declaredFrom = o.date("--declared-from", f.declaredFrom);
        f.declaredTo = o.date("--declared-to", f.useDeclared ? ca::localToday() : f.declaredTo);
        f.unified = o.get("--unified");
        f.customsNo = o.get("--customs-no");
        f.contract = o.get("--contract");
        f.bill = o.get("--bill");
        f.goods = o.get("--goods");
        f.company = o.get("--company");
        f.kind = o.get("--kind");
        f.unitCode = o.get("--unit");
    } catch (const std::invalid_argument& e) {
        return usageError(e, kFindUsage);
    }
    ca::db::TDM dm(db);
    ca::db::TADOQuery q(dm);
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

constexpr const char* kBusinessUsage =
    "business-data [--db 数据库] (--month YYYY-MM | --from 日期 --to 日期) [--unit 申报单位代码] "
    "[--kind 无|进口报关单|出口报关单|出口转关运输提前报关单|出口和转关] [--vehicle 运输工具] [--customs "
    "关区代码] "
    "[--clerk 录入员] [--maker 生产厂家] [--phones 电话1,电话2] [--non-general-trade] --out 文件.xls\n"
    "      与“生成业务数据”窗口相同地写出业务数据：默认“生成EXCEL”（文件已存在时追加在后面），"
    "加 --non-general-trade 为“生成非一般贸易数据”（替换已有文件）；输出写入的报关单条数";

// The console prompts with the window's warnings on standard error (a scheduled task logs them as
// failures), and the question before a file is replaced answered yes, since --out names the file
// to write.
class ExportPrompts : public ca::cli::ConsolePrompts {
public:
    using ConsolePrompts::ConsolePrompts;
    void warning(const std::string& text, const std::string&) override { std::cerr << text << "\n"; }
    ca::Button question(const std::string&, const std::string&) override { return ca::Button::Yes; }
};

// The declaring unit code the window starts with: the office's own, from config.ini next to the
// program (the setting the entry types into the client).
std::string configuredUnitCode() {
    namespace st = ca::settings;
    const ca::IniFile ini(st::configPathFor(ca::pathFromUtf8(ca::cli::executableDir())));
    return ini.ReadString(st::kSection, st::kDeclaringUnit, "");
}

int businessData(const std::vector<std::string>& args) {
    BusinessFilter f;
    std::string db, out;
    BusinessList list = BusinessList::WithGoods;
    try {
        const Options o(args,
                        {"--db", "--month", "--from", "--to", "--unit", "--kind", "--vehicle", "--customs",
                         "--clerk", "--maker", "--phones", "--out"},
                        {"--non-general-trade"});
        db = o.get("--db", ca::settings::kDatabaseFileName);
        out = o.get("--out");
        if (out.empty()) throw std::invalid_argument("缺少 --out FILE.xls");
        const bool month = o.has("--month"), range = o.has("--from") || o.has("--to");
        if (month == range)
            throw std::invalid_argument("请给出 --month YYYY-MM 或 --from DATE --to DATE（二选一）");
        if (month) {
            const std::string m = o.get("--month");
            const auto d = ca::parseDate(m + "-01");
            if (m.size() != 7 || m[4] != '-' || !d) throw std::invalid_argument("--month 应为 YYYY-MM：" + m);
            f.year = m.substr(0, 4);
            f.month = m.substr(5, 2);
        } else {
            if (!o.has("--from") || !o.has("--to")) throw std::invalid_argument("--from 与 --to 须一起给出");
            f.useRange = true;
            f.from = o.date("--from", {});
            f.to = o.date("--to", {});
        }
        f.unitCode = o.has("--unit") ? o.get("--unit") : configuredUnitCode();
        f.kind = o.get("--kind", kNoKind);
        if (std::find(kBusinessKinds.begin(), kBusinessKinds.end(), f.kind) == kBusinessKinds.end())
            throw std::invalid_argument("--kind 不是可选的进出口类型：" + f.kind);
        f.vehicle = o.get("--vehicle");
        f.customsCode = o.get("--customs", f.customsCode);
        f.clerk = o.get("--clerk");
        f.maker = o.get("--maker");
        f.phones = o.get("--phones");
        if (o.has("--non-general-trade")) list = BusinessList::NonGeneralTrade;
    } catch (const std::invalid_argument& e) {
        return usageError(e, kBusinessUsage);
    }
    ca::db::TDM dm(db);
    ExportPrompts prompts(out);
    ExportTable table;
    const ExportResult r = runBusinessExport(dm, prompts, f, list, table);
    if (r.outcome != ExportOutcome::Written) return 1;
    std::cout << table.declarationCount() << "\n";
    return 0;
}

const ca::cli::Registrar findCommand{{"find", kFindUsage, find}};
const ca::cli::Registrar businessCommand{{"business-data", kBusinessUsage, businessData}};

}  // namespace
