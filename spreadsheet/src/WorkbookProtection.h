#pragma once
// Why an .xls workbook is encrypted. Excel and LibreOffice encrypt a workbook whose structure is
// protected (or that is write-protected) even when it has no open password: with the fixed password
// "VelvetSweatshop", which every program tries before it asks for one. Such a workbook is not secret;
// its owner only has to lift the protection. A workbook with an open password is another matter.
#include <string>
#include <string_view>

namespace ca::spreadsheet {

// True when the FILEPASS record's data says the workbook opens with the fixed password (RC4
// encryption as Excel 97 and LibreOffice write it, checked against the record's verifier).
bool encryptedOnlyForProtection(std::string_view filePass);

// The sentence refusing an encrypted workbook for `action` ("不能在其中追加行", "无法读取"), saying
// which of the two it is and what to do.
std::string encryptedWorkbookProblem(std::string_view filePass, const std::string& action);

}  // namespace ca::spreadsheet
