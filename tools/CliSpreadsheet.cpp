// Spreadsheet subcommands: xls-dump prints the cells of a workbook's active sheet, xls-write writes
// tab-separated rows as text cells the way the exports do.
#include <sys/stat.h>

#include <cstdio>
#include <iostream>
#include <stdexcept>
#include <string_view>
#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif
#include <string>
#include <vector>
#ifdef __GLIBC__
#include <malloc.h>
#endif

#include "CliRegistry.h"
#include "ca/spreadsheet/TextGrid.h"
#include "ca/spreadsheet/Workbook.h"
#include "ca/util/TabText.h"

namespace {

int xlsDump(ca::cli::Invocation& in) {
    const auto book = ca::spreadsheet::Workbook::open(in.argument(0));
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

// All of standard input, read in large blocks: a table of many thousand rows arrives in a few reads
// instead of one stream call per character.
std::string readStandardInput() {
#ifdef _WIN32
    _setmode(_fileno(stdin), _O_BINARY);
#endif
    std::string data;
    // Standard input redirected from a file: its size is known, and the text is read into one
    // allocation instead of one that doubles and copies itself on the way.
    struct stat input {};
    if (fstat(fileno(stdin), &input) == 0 && S_ISREG(input.st_mode) && input.st_size > 0)
        data.reserve(static_cast<size_t>(input.st_size));
    std::vector<char> block(1 << 20);
    size_t n;
    while ((n = std::fread(block.data(), 1, block.size(), stdin)) > 0)
        data.append(block.data(), n);
    if (std::ferror(stdin)) throw std::runtime_error("无法读取标准输入");
    return data;
}

// Tab-separated lines (a carriage return before the line break is dropped) into rows of cells.
ca::spreadsheet::TextRows parseRows(std::string_view text) {
    ca::spreadsheet::TextRows rows;
    while (!text.empty()) {
        const size_t eol = text.find('\n');
        std::string_view line = text.substr(0, eol);
        text.remove_prefix(eol == std::string_view::npos ? text.size() : eol + 1);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        std::vector<std::string> cells;
        cells.reserve(rows.empty() ? 0 : rows.back().size());
        while (true) {
            const size_t tab = line.find('\t');
            const std::string_view cell = line.substr(0, tab);
            cells.push_back(cell.find('\\') == std::string_view::npos ? std::string(cell)
                                                                      : ca::unescapeTabText(cell));
            if (tab == std::string_view::npos) break;
            line.remove_prefix(tab + 1);
        }
        rows.push_back(std::move(cells));
    }
    return rows;
}

int xlsWrite(ca::cli::Invocation& in) {
#ifdef __GLIBC__
    // The whole workbook is built in memory, in blocks of many megabytes that come and go, and the
    // process ends right after: freed blocks stay with the process for the next ones instead of being
    // handed back to the system and faulted in page by page again (a fifth of the time on a table of
    // 300,000 distinct texts).
    mallopt(M_MMAP_THRESHOLD, 256 << 20);
    mallopt(M_TRIM_THRESHOLD, 512 << 20);
#endif
    const std::string& path = in.argument(0);
    ca::spreadsheet::TextRows rows = parseRows(readStandardInput());
    if (in.has("--append"))
        ca::spreadsheet::appendTextRows(path, std::move(rows));
    else
        ca::spreadsheet::saveTextRows(path, in.value("--sheet", "StringGrid1"), std::move(rows), true);
    return 0;
}

const ca::cli::Registrar dumpCommand{{"xls-dump",
                                      {},
                                      {{"文件"}},
                                      ca::cli::DatabaseUse::None,
                                      "输出当前工作表每个非空单元格的 行<TAB>列<TAB>文本",
                                      xlsDump}};
const ca::cli::Registrar writeCommand{{"xls-write",
                                       {{"--sheet", "工作表名"}, {"--append", ""}},
                                       {{"输出.xls", false, ca::cli::Output::Workbook}},
                                       ca::cli::DatabaseUse::None,
                                       "< rows.tsv    把以制表符分隔的行写成文本单元格",
                                       xlsWrite}};

}  // namespace
