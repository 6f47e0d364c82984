#pragma once
// Reading and selecting rows of a list view that lives in another process. A list view answers
// text requests only through memory of its own process, so a block is placed there for the
// request record and the text, and the text is copied back.
#include <cstddef>
#include <string>

#include "ca/automation/Desktop.h"

namespace ca::automation {

struct ListAnswer {
    LResult answer = 0;  // the list view's answer (characters copied; nonzero selection success)
    std::string text;    // the cell text as UTF-8, empty for a row or column that does not exist
};

// Text of a cell (row and column from 0). size is the text buffer in bytes (256 by the callers,
// so at most 255 bytes of text). When the process cannot be opened or no block can be made
// nothing is sent and the answer is 0 with an empty text.
ListAnswer ReadListCell(Desktop& desktop, HWnd list, int row, int column, std::size_t size = 256);

// The same text request, then the row made focused and selected (other rows keep their
// selection). The answer is that of the select request.
ListAnswer SelectListRow(Desktop& desktop, HWnd list, int row, int column, std::size_t size = 256);

}  // namespace ca::automation
