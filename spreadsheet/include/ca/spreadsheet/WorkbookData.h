#pragma once
// The content of a workbook file: its sheets in file order and the sheet that was active when saved.
#include <cstddef>
#include <vector>

#include "ca/spreadsheet/Sheet.h"

namespace ca::spreadsheet {

struct WorkbookData {
    std::vector<Sheet> sheets;
    std::size_t activeSheet = 0;  // index into sheets
};

}  // namespace ca::spreadsheet
