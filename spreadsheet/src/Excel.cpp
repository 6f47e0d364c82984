#include "ca/spreadsheet/Excel.h"

#include <filesystem>

#include "ca/spreadsheet/FileIo.h"
#include "ca/spreadsheet/SpreadsheetError.h"
#include "ca/util/Folders.h"

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
        throw SpreadsheetError::about("无法写入工作表", sheet_->name(), e.what());
    }
}

void Range::TextValue(std::string text) {
    try {
        sheet_->set(row_, column_,
                    text.empty() ? Cell{Cell::Kind::Blank, "", 0.0, true}
                                 : Cell{Cell::Kind::Text, std::move(text), 0.0, true});
    } catch (const std::out_of_range& e) {
        throw SpreadsheetError::about("无法写入工作表", sheet_->name(), e.what());
    }
}

void Range::NumberFormatLocal(const std::string& format) {
    bool text = false;
    if (format == "@") {
        text = true;
    } else if (format != "General" && format != "G/通用格式") {
        throw SpreadsheetError::about("无法设置工作表", sheet_->name(),
                                      "的单元格格式：只支持文本格式“@”和常规格式，不支持“" + format + "”");
    }
    try {
        Cell cell = sheet_->cell(row_, column_);
        if (cell.kind == Cell::Kind::Empty) cell.kind = Cell::Kind::Blank;
        cell.textFormat = text;
        sheet_->set(row_, column_, std::move(cell));
    } catch (const std::out_of_range& e) {
        throw SpreadsheetError::about("无法设置单元格格式，工作表", sheet_->name(), e.what());
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
        throw SpreadsheetError("没有第 " + std::to_string(index) + " 个工作簿：只打开了 " +
                               std::to_string(Count()) + " 个");
    return *books_[static_cast<size_t>(index - 1)];
}

Workbooks& Application::WorkBooks() {
    checkRunning();
    return workbooks_;
}

Workbook& Application::ActiveWorkBook() {
    checkRunning();
    if (!workbooks_.active_) throw SpreadsheetError("没有打开的工作簿");
    return *workbooks_.active_;
}

void Application::Quit() {
    workbooks_.books_.clear();
    workbooks_.active_ = nullptr;
    quit_ = true;
}

void Application::checkRunning() const {
    if (quit_) throw SpreadsheetError("电子表格程序已经退出");
}

}  // namespace ca::spreadsheet::excel
