// libFuzzer target over the workbook readers (.xls and .xlsx, chosen by content as in use) and,
// for what reads, the .xls writer: anything read must write and read back with the same texts.
// Only SpreadsheetError may leave the readers; any other exception, crash or hang is a finding.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "ca/spreadsheet/SpreadsheetError.h"
#include "ca/spreadsheet/Workbook.h"
#include "ca/spreadsheet/XlsWriter.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace ca::spreadsheet;
    std::string bytes(reinterpret_cast<const char*>(data), size);
    Workbook book = [&] {
        try {
            return Workbook::fromBytes(bytes, "fuzz.xls");
        } catch (const ca::SpreadsheetError&) {
            return Workbook::add();
        }
    }();
    std::string written;
    try {
        written = writeXls(book.data());
    } catch (const ca::FormatError&) {
        return 0;  // more rows than a .xls holds, a bad sheet name and the like
    }
    const Workbook again = Workbook::fromBytes(written, "rewritten.xls");
    const auto& a = book.data();
    const auto& b = again.data();
    if (a.sheets.size() != b.sheets.size() || a.activeSheet != b.activeSheet) std::abort();
    for (size_t s = 0; s < a.sheets.size(); ++s) {
        const Sheet& x = a.sheets[s];
        const Sheet& y = b.sheets[s];
        if (x.name() != y.name()) std::abort();
        for (int r = 1; r <= x.lastRow(); ++r)
            for (const auto& [column, cell] : x.row(r))
                if (cell.kind == Cell::Kind::Text && cell.text != y.text(r, column)) std::abort();
    }
    return 0;
}
