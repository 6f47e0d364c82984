#pragma once
// The rows of the business lists: which value each column holds, and the derived values page count
// and port mode.
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ca/reports/BusinessData.h"

namespace ca::reports {

enum class BusinessSource {
    Sequence,        // 1, 2, 3 ... in result order
    Blank,           // always empty
    Field,           // a field of the declaration's record
    DateField,       // a date field of the record
    FirstGoodsName,  // spmc_name of the declaration's first goods line
    FirstMaker,      // SCCJ of the first goods line
    PageCount,       // "页数"
    PortMode,        // "方式"
};

struct BusinessColumn {
    const char* heading;
    BusinessSource source;
    const char* field = "";
};

// The list's columns from column 0: 19 for WithGoods, 15 for NonGeneralTrade.
const std::vector<BusinessColumn>& businessColumns(BusinessList list);

// The goods lines of one declaration as its row needs them.
struct GoodsSummary {
    int count = 0;
    std::string firstName;   // empty when there is no line
    std::string firstMaker;  // empty when there is no line
};

// Page count of a declaration with n goods lines: (n - 1) div 5, so 1-5 lines give 0, 6-10 give 1.
int pageCount(int goodsLines);

// The page count cell: from the goods lines; without any, empty for WithGoods, and for
// NonGeneralTrade the same formula over the listed line count SPXS unless it is empty or 0.
std::string pageCountText(BusinessList list, const GoodsSummary& goods, std::string_view spxsText);

// "蛇口" when the transport vehicle name holds "@", otherwise "国转".
std::string portMode(std::string_view vehicleName);

// The texts of row k (k from 1) of a list, before empty texts become blanks. `field` gives the
// default text form of a field of the record by name.
std::vector<std::string> businessRow(BusinessList list, int k,
                                     const std::function<std::string(std::string_view)>& field,
                                     const GoodsSummary& goods);

}  // namespace ca::reports
