#include "ca/spreadsheet/Excel.h"

#include <filesystem>

#include "ca/spreadsheet/FileIo.h"
#include "ca/spreadsheet/SpreadsheetError.h"

namespace ca::spreadsheet::excel {

void Range::Value(const std::string& text) {
    try {
        if (text.empty()) {
            // Putting in empty text empties the cell; its format stays.
            Cell cell = sheet_->cell(row_, column_);
            const bool textFormat = cell.textFormat || cell.kind == Cell::Kind::Text;
            sheet_->set(row_, column_, Cell{Cell::Kind::Blank, "", 0.0, textFormat});
            return;
        }
        sheet_->setText(row_, column_, text);
    } catch (const std::out_of_range& e) {
        throw SpreadsheetError::about("cannot write to sheet", sheet_->name(), e.what());
    }
}

void Range::NumberFormatLocal(const std::string& format) {
    bool text = false;
    if (format == "@") {
        text = true;
    } else if (format != "General" && format != "G/通用格式") {
        throw SpreadsheetError::about(
            "cannot format a cell of sheet", sheet_->name(),
            "only the text format \"@\" and General are supported, not \"" + format + "\"");
    }
    try {
        Cell cell = sheet_->cell(row_, column_);
        if (cell.kind == Cell::Kind::Empty) cell.kind = Cell::Kind::Blank;
        cell.textFormat = text;
        sheet_->set(row_, column_, std::move(cell));
    } catch (const std::out_of_range& e) {
        throw SpreadsheetError::about("cannot format a cell of sheet", sheet_->name(), e.what());
    }
}

void Workbook::Activate() {
    app_->checkRunning();
    app_->workbooks_.active_ = this;
}

void Workbook::SaveAs(const std::string& path) {
    app_->checkRunning();
    std::error_code ec;
    bool replace = true;
    if (app_->DisplayAlerts && std::filesystem::exists(pathFromUtf8(path), ec))
        replace = app_->confirmReplace && app_->confirmReplace(path);
    book_.saveAs(path, replace);
}

Workbook& Workbooks::Open(const std::string& path) {
    app_->checkRunning();
    books_.push_back(std::make_unique<Workbook>(*app_, spreadsheet::Workbook::open(path)));
    active_ = books_.back().get();
    return *active_;
}

Workbook& Workbooks::Add() {
    app_->checkRunning();
    books_.push_back(std::make_unique<Workbook>(*app_, spreadsheet::Workbook::add()));
    active_ = books_.back().get();
    return *active_;
}

Workbook& Workbooks::operator()(int index) {
    app_->checkRunning();
    if (index < 1 || index > Count())
        throw SpreadsheetError("no workbook " + std::to_string(index) + ": " + std::to_string(Count()) +
                               " open");
    return *books_[static_cast<size_t>(index - 1)];
}

Workbooks& Application::WorkBooks() {
    checkRunning();
    return workbooks_;
}

Workbook& Application::ActiveWorkBook() {
    checkRunning();
    if (!workbooks_.active_) throw SpreadsheetError("no workbook is open");
    return *workbooks_.active_;
}

void Application::Quit() {
    workbooks_.books_.clear();
    workbooks_.active_ = nullptr;
    quit_ = true;
}

void Application::checkRunning() const {
    if (quit_) throw SpreadsheetError("the spreadsheet application has quit");
}

}  // namespace ca::spreadsheet::excel
