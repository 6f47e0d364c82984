#pragma once
// A table of texts shared by the writer tests and their independent checks.
#include <string>

#include "ca/spreadsheet/TextGrid.h"

namespace ca::spreadsheet::test {

// Texts that exercise the string table: one- and two-byte characters, escapes, blanks, and strings
// long enough to run over record boundaries.
inline TextRows sampleRows() {
    TextRows rows{{"报关单号", "", "经营单位", "a\tb", "line1\nline2", "back\\slash"},
                  {" ", "123", "0012", "1.50", "2011-02-17"}};
    std::string longWide;
    for (int i = 0; i < 6000; ++i)
        longWide += "货";
    rows.push_back({std::string(9000, 'x'), longWide, "end"});
    for (int r = 0; r < 400; ++r) {
        std::vector<std::string> row;
        for (int c = 0; c < 31; ++c)
            row.push_back(c % 3 ? "行" + std::to_string(r) + "列" + std::to_string(c)
                                : "r" + std::to_string(r * c));
        rows.push_back(row);
    }
    return rows;
}

inline std::string escaped(const std::string& s) {
    std::string out;
    for (char ch : s) {
        if (ch == '\\')
            out += "\\\\";
        else if (ch == '\t')
            out += "\\t";
        else if (ch == '\n')
            out += "\\n";
        else
            out += ch;
    }
    return out;
}

}  // namespace ca::spreadsheet::test
