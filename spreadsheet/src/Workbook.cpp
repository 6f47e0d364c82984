#include "ca/spreadsheet/Workbook.h"

#include <cctype>
#include <filesystem>

#include "ca/spreadsheet/CompoundFile.h"
#include "ca/spreadsheet/FileIo.h"
#include "ca/spreadsheet/SpreadsheetError.h"
#include "ca/spreadsheet/XlsReader.h"
#include "ca/spreadsheet/XlsWriter.h"
#ifdef CA_SPREADSHEET_XLSX
#include "ca/spreadsheet/XlsxReader.h"
#endif

namespace ca::spreadsheet {

namespace {

bool sameName(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

WorkbookData decode(std::string bytes, const std::string& name) {
    try {
        if (CompoundFile::hasSignature(bytes)) return readXls(std::move(bytes));
        if (bytes.size() >= 4 && bytes.compare(0, 4, "PK\x03\x04", 4) == 0) {
#ifdef CA_SPREADSHEET_XLSX
            return readXlsx(std::move(bytes));
#else
            throw FormatError(".xlsx workbooks cannot be read by this build (save the file as .xls)");
#endif
        }
        if (bytes.empty()) throw FormatError("the file is empty");
        throw FormatError("not a spreadsheet file (neither a .xls Compound File nor a .xlsx zip)");
    } catch (const FormatError& e) {
        throw SpreadsheetError::about("cannot read", name, e.what());
    } catch (const std::bad_alloc&) {
        throw SpreadsheetError::about("cannot read", name, "out of memory");
    } catch (const std::out_of_range& e) {
        throw SpreadsheetError::about("cannot read", name, e.what());
    }
}

}  // namespace

std::string Workbook::shownName() const {
    return path_.empty() ? "(new workbook)" : path_;
}

Workbook Workbook::open(const std::string& path) {
    Workbook wb = fromBytes(readWholeFile(path), path);
    wb.path_ = path;
    return wb;
}

Workbook Workbook::fromBytes(std::string bytes, const std::string& name) {
    Workbook wb;
    wb.data_ = decode(std::move(bytes), name);
    wb.path_ = name;
    return wb;
}

Workbook Workbook::add() {
    Workbook wb;
    wb.data_.sheets.emplace_back("Sheet1");
    return wb;
}

std::string Workbook::cellText(int row, int column) const {
    const Sheet& sheet = activeSheet();
    if (!sheet.hasCells())
        throw SpreadsheetError::about("cannot read", shownName(),
                                      "the active sheet '" + sheet.name() + "' holds no cells");
    return sheet.text(row, column);
}

Sheet& Workbook::worksheet(int index) {
    if (index < 1 || index > sheetCount())
        throw SpreadsheetError::about("no sheet " + std::to_string(index) + " in", shownName(),
                                      "the workbook has " + std::to_string(sheetCount()) + " sheet(s)");
    return data_.sheets[static_cast<size_t>(index - 1)];
}

Sheet& Workbook::worksheet(const std::string& name) {
    for (auto& s : data_.sheets)
        if (sameName(s.name(), name)) return s;
    throw SpreadsheetError::about("no sheet named '" + name + "' in", shownName(), "no such sheet");
}

void Workbook::activateSheet(int index) {
    worksheet(index);
    data_.activeSheet = static_cast<size_t>(index - 1);
}

void Workbook::setSheetCount(int n) {
    if (n < 1)
        throw SpreadsheetError::about("cannot change", shownName(), "a workbook needs at least one sheet");
    while (sheetCount() > n)
        data_.sheets.pop_back();
    while (sheetCount() < n)
        data_.sheets.emplace_back("Sheet" + std::to_string(sheetCount() + 1));
    if (data_.activeSheet >= data_.sheets.size()) data_.activeSheet = 0;
}

int Workbook::usedRows(int sheetIndex) const {
    return const_cast<Workbook*>(this)->worksheet(sheetIndex).lastRow();
}

void Workbook::saveAs(const std::string& path, bool replaceExisting) {
    std::error_code ec;
    if (!replaceExisting && std::filesystem::exists(pathFromUtf8(path), ec))
        throw SpreadsheetError::about("cannot save", path, "a file of that name exists and was not replaced");
    std::string bytes;
    try {
        bytes = writeXls(data_);
    } catch (const FormatError& e) {
        throw SpreadsheetError::about("cannot save", path, e.what());
    } catch (const std::bad_alloc&) {
        throw SpreadsheetError::about("cannot save", path, "out of memory");
    }
    replaceFile(path, bytes);
    path_ = path;
}

}  // namespace ca::spreadsheet
