#pragma once
// Reader of .xlsx workbooks (Office Open XML, a zip of XML parts). Built only where minizip and
// pugixml are available (CA_SPREADSHEET_XLSX is then defined).
#include <string>

#include "ca/spreadsheet/WorkbookData.h"

namespace ca::spreadsheet {

// Decodes a whole .xlsx file held in memory. Throws FormatError with the reason when the bytes are
// not a readable workbook (not a zip, no workbook part, damaged XML, too large when unpacked).
WorkbookData readXlsx(std::string bytes);

}  // namespace ca::spreadsheet
