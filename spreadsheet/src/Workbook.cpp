#include "ca/spreadsheet/Workbook.h"

#include <filesystem>

#include "ca/spreadsheet/CompoundFile.h"
#include "ca/spreadsheet/FileIo.h"
#include "ca/spreadsheet/SpreadsheetError.h"
#include "ca/spreadsheet/XlsReader.h"
#include "ca/spreadsheet/XlsWriter.h"
#ifdef CA_SPREADSHEET_XLSX
#include "ca/spreadsheet/XlsxReader.h"
#endif
#include "ca/util/AsciiCase.h"
#include "ca/util/Folders.h"

namespace ca::spreadsheet {

namespace {

WorkbookData decode(std::string bytes, const std::string& name) {
    try {
        if (CompoundFile::hasSignature(bytes)) return readXls(std::move(bytes));
        if (bytes.size() >= 4 && bytes.compare(0, 4, "PK\x03\x04", 4) == 0) {
#ifdef CA_SPREADSHEET_XLSX
            return readXlsx(std::move(bytes));
#else
            throw FormatError("这个版本的程序不能读取 .xlsx 文件（请另存为 .xls 文件）");
#endif
        }
        if (bytes.empty()) throw FormatError("文件是空的");
        throw FormatError("不是电子表格文件（既不是 .xls 文件，也不是 .xlsx 文件）");
    } catch (const FormatError& e) {
        throw SpreadsheetError::about("无法读取", name, e.what());
    } catch (const std::bad_alloc&) {
        throw SpreadsheetError::about("无法读取", name, "内存不足");
    } catch (const std::out_of_range& e) {
        throw SpreadsheetError::about("无法读取", name, e.what());
    }
}

}  // namespace

std::string Workbook::shownName() const {
    return path_.empty() ? "（新工作簿）" : path_;
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
        throw SpreadsheetError::about("无法读取", shownName(),
                                      "当前工作表“" + sheet.name() + "”中没有任何单元格");
    return sheet.text(row, column);
}

Sheet& Workbook::worksheet(int index) {
    if (index < 1 || index > sheetCount())
        throw SpreadsheetError::about("找不到第 " + std::to_string(index) + " 个工作表：", shownName(),
                                      "工作簿只有 " + std::to_string(sheetCount()) + " 个工作表");
    return data_.sheets[static_cast<size_t>(index - 1)];
}

Sheet& Workbook::worksheet(const std::string& name) {
    for (auto& s : data_.sheets)
        if (equalsNoCase(s.name(), name)) return s;
    throw SpreadsheetError::about("找不到工作表“" + name + "”：", shownName(), "没有这个名称的工作表");
}

void Workbook::activateSheet(int index) {
    worksheet(index);
    data_.activeSheet = static_cast<size_t>(index - 1);
}

void Workbook::setSheetCount(int n) {
    if (n < 1) throw SpreadsheetError::about("无法修改", shownName(), "工作簿至少要有一个工作表");
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
        throw SpreadsheetError::about("无法保存", path, "已有同名文件，没有替换它");
    std::string bytes;
    try {
        bytes = writeXls(data_);
    } catch (const FormatError& e) {
        throw SpreadsheetError::about("无法保存", path, e.what());
    } catch (const std::bad_alloc&) {
        throw SpreadsheetError::about("无法保存", path, "内存不足");
    }
    replaceFile(path, bytes);
    path_ = path;
}

}  // namespace ca::spreadsheet
