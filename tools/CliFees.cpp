// customs-assistant-cli fee-query and fee-item: the fee query's grid (printed or exported) and the
// fee item catalogue, through the same core as the fee windows.
#include <ctime>
#include <iostream>
#include <map>
#include <optional>

#include "CliRegistry.h"
#include "ca/db/TDM.h"
#include "ca/fees/FeeItemAdd.h"
#include "ca/fees/FeeQueryGrid.h"
#include "ca/util/Convert.h"
#include "ca/util/TabText.h"

namespace {

constexpr const char* kQueryUsage =
    "fee-query [--db FILE] [--from YYYY-MM-DD] [--to YYYY-MM-DD] [--serial TEXT] [--customer TEXT] [--goods "
    "TEXT] "
    "[--contract TEXT] [--bill TEXT] [--office CODE] [--phone TEXT] [--verification TEXT] [--zero-only] "
    "[--out FILE.xls]";
constexpr const char* kItemUsage = "fee-item list [--db FILE] | fee-item add CODE NAME [--db FILE]";

ca::Date today() {
    std::time_t now = std::time(nullptr);
    std::tm tm{};
#ifdef _WIN32
    localtime_s(&tm, &now);
#else
    localtime_r(&now, &tm);
#endif
    return {tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday};
}

void printRow(const std::vector<std::string>& row) {
    for (size_t i = 0; i < row.size(); ++i)
        std::cout << (i ? "\t" : "") << ca::escapeTabText(row[i]);
    std::cout << "\n";
}

int usageError(const std::string& what, const char* usage) {
    std::cerr << "错误：" << what << "\n用法：" << usage << "\n";
    return 1;
}

int runFeeQuery(const std::vector<std::string>& args) {
    ca::fees::FeeQueryFilter f;
    f.to = today();
    std::string db = "DB.sqlite", out;
    const std::map<std::string, std::string*> texts = {
        {"--db", &db},           {"--serial", &f.serial},     {"--customer", &f.customer},
        {"--goods", &f.goods},   {"--contract", &f.contract}, {"--bill", &f.bill},
        {"--office", &f.office}, {"--phone", &f.phone},       {"--verification", &f.verification},
        {"--out", &out},
    };
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--zero-only") {
            f.zeroOnly = true;
            continue;
        }
        if (i + 1 >= args.size()) return usageError("参数 " + a + " 缺少值或无法识别", kQueryUsage);
        const std::string& value = args[++i];
        if (auto t = texts.find(a); t != texts.end()) {
            *t->second = value;
        } else if (a == "--from" || a == "--to") {
            auto d = ca::parseDate(value);
            if (!d) return usageError("日期“" + value + "”无效，应为 YYYY-MM-DD", kQueryUsage);
            (a == "--from" ? f.from : f.to) = *d;
        } else {
            return usageError("无法识别的参数 " + a, kQueryUsage);
        }
    }
    ca::db::TDM dm(db);
    const ca::fees::FeeQueryGrid grid = ca::fees::runFeeQuery(dm, f);
    if (!out.empty()) {
        ca::fees::exportFeeGrid(out, grid);
        std::cout << "已导出 " << grid.recordCount << " 条记录到 " << out << "\n";
        return 0;
    }
    printRow(grid.header);
    if (grid.recordCount > 0)
        for (const auto& row : grid.rows)
            printRow(row);
    std::cerr << "总记录数：" << grid.recordCount << "\n";
    return 0;
}

int runFeeItem(const std::vector<std::string>& args) {
    std::string db = "DB.sqlite";
    std::vector<std::string> words;
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--db" && i + 1 < args.size())
            db = args[++i];
        else
            words.push_back(args[i]);
    }
    ca::db::TDM dm(db);
    if (words.size() == 1 && words[0] == "list") {
        for (const auto& item : ca::fees::feeItems(dm))
            printRow({item.code, item.name});
        return 0;
    }
    if (words.size() == 3 && words[0] == "add") {
        const ca::fees::FeeItemResult r = ca::fees::addFeeItem(dm, words[1], words[2]);
        (r.added ? std::cout : std::cerr) << r.message << "\n";
        return r.added ? 0 : 1;
    }
    return usageError("需要 list 或 add CODE NAME", kItemUsage);
}

ca::cli::Registrar queryReg{
    {"fee-query",
     std::string(kQueryUsage) +
         "\n      fee query: the grid of declarations with their fees, subtotals and totals row, "
         "tab-separated (count on standard error), or exported to a .xls file",
     runFeeQuery}};
ca::cli::Registrar itemReg{
    {"fee-item",
     std::string(kItemUsage) +
         "\n      list the fee items, or add one (the checks and messages of the fee item dialog; exit "
         "status 1 when refused)",
     runFeeItem}};

}  // namespace
