#pragma once
// The printed fee statement: its lines collected from the fee grid, and where each text goes on the
// page, in the printer's device units (x to the right, y downwards, the text's top-left corner).
#include <string>
#include <vector>

#include "ca/fees/FeeGrid.h"
#include "ca/util/Printer.h"

namespace ca::fees {

// The window texts the statement prints.
struct FeeStatementTexts {
    std::string customer;       // Edit1
    std::string date;           // Edit2
    std::string goods;          // Edit3
    std::string contract;       // Edit4
    std::string bill;           // Edit5
    std::string declarationNo;  // Edit6
    std::string total;          // Label9: the total as loaded
    std::string accountHolder;  // Edit8
    std::string accountNo;      // Edit9
    std::string bank;           // Edit10
};

struct StatementLine {
    std::string item, amount, remark;
    bool operator==(const StatementLine&) const = default;
};

// The header line "费用项目" | "费用" | "备注", then one line per grid row whose amount is neither
// exactly "0" nor empty (no amount entered): name + " : " | the amount as "0.00" | the remark.
// Throws FeeAmountError naming the first amount that is not a number, before anything is printed.
std::vector<StatementLine> feeStatementLines(const FeeGridRows& rows);

struct PlacedText {
    int x = 0, y = 0;
    std::string text;
    bool operator==(const PlacedText&) const = default;
};

// Every text of the statement at its place, in printing order.
std::vector<PlacedText> feeStatementLayout(const FeeStatementTexts& texts,
                                           const std::vector<StatementLine>& lines);

// Prints the texts as one document titled "打印报表" in 12 points. A printer that cannot start (no
// default printer) throws before anything is printed; an error during the document drops it.
void printFeeStatement(Printer& printer, const std::vector<PlacedText>& layout);

}  // namespace ca::fees
