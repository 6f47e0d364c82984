#pragma once
// The spreadsheet server as the procedures call it: an application object with its workbooks
// collection, workbooks, worksheets and cells, named like the automation interface they were
// written against ("Excel.Application"). A thin layer over Workbook and Sheet; every file is read
// and written by this program's own code, so "starting the server" cannot fail.
//
// Worksheet and Range values refer into their workbook and stay valid until Quit.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "ca/spreadsheet/Workbook.h"

namespace ca::spreadsheet::excel {

class Application;

// One cell: Cells(row, column).
class Range {
public:
    Range(Sheet& sheet, int row, int column) : sheet_(&sheet), row_(row), column_(column) {}
    // Value as text (empty text for an empty cell, numbers in general decimal form).
    std::string Value() const { return sheet_->text(row_, column_); }
    // Cells(row, column) := text.
    void Value(const std::string& text);
    Range& operator=(const std::string& text) {
        Value(text);
        return *this;
    }
    // "@" formats the cell as text; "General" (or "G/通用格式") takes that back. Other formats are
    // refused with SpreadsheetError.
    void NumberFormatLocal(const std::string& format);
    // NumberFormatLocal("@") followed by Value(text), in one step: the exports format and fill
    // every cell this way, hundreds of thousands of times for a large list.
    void TextValue(std::string text);

private:
    Sheet* sheet_;
    int row_, column_;
};

class Worksheet {
public:
    explicit Worksheet(Sheet& sheet) : sheet_(&sheet) {}
    const std::string& Name() const { return sheet_->name(); }
    void Name(const std::string& name) { sheet_->setName(name); }
    Range Cells(int row, int column) { return Range(*sheet_, row, column); }
    // UsedRange.Rows.count, counted to the last used row so that an append below it never
    // overwrites anything (0 for an empty sheet).
    int UsedRangeRowsCount() const { return sheet_->lastRow(); }

private:
    Sheet* sheet_;
};

class Workbook {
public:
    Workbook(Application& app, spreadsheet::Workbook book) : app_(&app), book_(std::move(book)) {}
    Worksheet WorkSheets(int index) { return Worksheet(book_.worksheet(index)); }
    Worksheet WorkSheets(const std::string& name) { return Worksheet(book_.worksheet(name)); }
    Worksheet ActiveSheet() { return Worksheet(book_.activeSheet()); }
    // Cells of the active sheet.
    Range Cells(int row, int column) { return Range(book_.activeSheet(), row, column); }
    void Activate();
    // Saves as .xls. With DisplayAlerts on, replacing an existing file needs the application's
    // confirmReplace to answer yes; otherwise the save is refused and the file stays.
    void SaveAs(const std::string& path);
    const std::string& FullName() const { return book_.path(); }
    spreadsheet::Workbook& book() { return book_; }

private:
    Application* app_;
    spreadsheet::Workbook book_;
};

class Workbooks {
public:
    explicit Workbooks(Application& app) : app_(&app) {}
    // Opens a .xls or .xlsx file as the active workbook.
    Workbook& Open(const std::string& path);
    // A new workbook (one sheet named "Sheet1") as the active workbook.
    Workbook& Add();
    // WorkBooks(index), 1-based.
    Workbook& operator()(int index);
    int Count() const { return static_cast<int>(books_.size()); }

private:
    friend class Application;
    friend class Workbook;
    Application* app_;
    std::vector<std::unique_ptr<Workbook>> books_;
    Workbook* active_ = nullptr;
};

class Application {
public:
    // create "Excel.Application": a new, invisible application without workbooks.
    Application() : workbooks_(*this) {}
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    Workbooks& WorkBooks();
    Workbook& ActiveWorkBook();

    // Off: SaveAs replaces an existing file without asking.
    bool DisplayAlerts = true;
    // Accepted and ignored, as it only affects workbooks added later and the procedures set it
    // after adding theirs.
    int SheetsInNewWorkbook = 1;
    // Asked, with the path, before SaveAs replaces a file while DisplayAlerts is on; unset means no.
    std::function<bool(const std::string& path)> confirmReplace;

    // Ends the application: every workbook is closed without saving; any further use raises.
    void Quit();
    bool hasQuit() const { return quit_; }

private:
    friend class Workbook;
    friend class Workbooks;
    void checkRunning() const;
    Workbooks workbooks_;
    bool quit_ = false;
};

}  // namespace ca::spreadsheet::excel
