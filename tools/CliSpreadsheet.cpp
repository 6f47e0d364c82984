// Spreadsheet subcommands: xls-dump prints the cells of a workbook's active sheet, xls-write writes
// tab-separated rows as text cells the way the exports do.
#include <iostream>
#include <string>
#include <vector>

#include "CliRegistry.h"
#include "ca/spreadsheet/TextGrid.h"
#include "ca/spreadsheet/Workbook.h"
#include "ca/util/TabText.h"

namespace {

int xlsDump(const std::vector<std::string>& args) {
    if (args.size() != 1) {
        std::cerr << "用法：xls-dump 文件\n";
        return 1;
    }
    const auto book = ca::spreadsheet::Workbook::open(args[0]);
    const auto& sheet = book.activeSheet();
    std::string out;
    for (int r = 1; r <= sheet.lastRow(); ++r) {
        for (const auto& [column, cell] : sheet.row(r)) {
            if (cell.text.empty()) continue;
            out += std::to_string(r) + '\t' + std::to_string(column) + '\t' + ca::escapeTabText(cell.text) +
                   '\n';
        }
    }
    std::cout << out;
    return 0;
}

int xlsWrite(const std::vector<std::string>& args) {
    std::string path, sheet = "StringGrid1";
    bool append = false;
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--append") {
            append = true;
        } else if (args[i] == "--sheet" && i + 1 < args.size()) {
            sheet = args[++i];
        } else if (path.empty() && !args[i].starts_with("--")) {
            path = args[i];
        } else {
            path.clear();
            break;
        }
    }
    if (path.empty()) {
        std::cerr << "用法：xls-write 输出.xls [--sheet 工作表名] [--append] < rows.tsv\n";
        return 1;
    }
    ca::spreadsheet::TextRows rows;
    std::string line;
    while (std::getline(std::cin, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        std::vector<std::string> cells;
        size_t start = 0;
        while (true) {
            const size_t tab = line.find('\t', start);
            cells.push_back(ca::unescapeTabText(
                line.substr(start, tab == std::string::npos ? std::string::npos : tab - start)));
            if (tab == std::string::npos) break;
            start = tab + 1;
        }
        rows.push_back(std::move(cells));
    }
    if (append)
        ca::spreadsheet::appendTextRows(path, rows);
    else
        ca::spreadsheet::saveTextRows(path, sheet, rows, true);
    return 0;
}

ca::cli::Registrar dumpCommand{
    {"xls-dump", "xls-dump 文件    输出当前工作表每个非空单元格的 行<TAB>列<TAB>文本", xlsDump}};
ca::cli::Registrar writeCommand{
    {"xls-write",
     "xls-write 输出.xls [--sheet 工作表名] [--append] < rows.tsv    把以制表符分隔的行写成文本单元格",
     xlsWrite}};

}  // namespace
