#pragma once
// One cell of a sheet as read from or written to a file.
#include <string>

namespace ca::spreadsheet {

struct Cell {
    enum class Kind {
        Empty,    // no cell at all
        Blank,    // a cell record without a value (it only carries formatting)
        Text,     // text; written as a text cell formatted "@"
        Number,   // a plain number; text holds its general decimal form
        Date,     // a date-formatted number; text holds YYYY-MM-DD[ HH:MM:SS]
        Boolean,  // text holds "TRUE" or "FALSE"
        Error,    // text holds the error literal, for example "#DIV/0!"
    };
    Kind kind = Kind::Empty;
    std::string text;     // the value as text; what Cells(row, column).Value gives
    double number = 0.0;  // Number and Date: the stored number; Boolean: 0 or 1; Error: the code
    // A blank cell formatted as text ("@") before any value was put into it. Text cells are
    // always written with that format.
    bool textFormat = false;

    bool empty() const { return kind == Kind::Empty || kind == Kind::Blank; }
};

}  // namespace ca::spreadsheet
