#pragma once
// The document query's statements: the header search over LoadData built from the filter bar, and
// the goods lines of one declaration.
#include <string>
#include <string_view>

#include "ca/util/Convert.h"

namespace ca::reports {

// The values of the filter bar, texts exactly as typed. The initial values are the window's.
struct DocumentFilter {
    Date entryFrom{2010, 12, 1};      // DateTimePicker1, "录入日期：" from
    Date entryTo{2010, 12, 1};        // DateTimePicker2: the window sets it to today
    bool useDeclared = false;         // CheckBox2 "使用申报日期条件"
    Date declaredFrom{2010, 12, 10};  // DateTimePicker3, "申报日期：" from
    Date declaredTo{2010, 12, 10};    // DateTimePicker4
    std::string unified;              // Edit1 "统一编号：": the 9-character serial
    std::string customsNo;            // Edit69 "报关单号：": the 9-character serial
    std::string contract;             // Edit67 "合同号："
    std::string bill;                 // Edit71 "提运单号:"
    std::string goods;                // Edit68 "货名：", part of the name
    std::string company;              // Edit70 "经营单位：", part of the name
    std::string kind;                 // ComboBox3 "进出口类型：", empty for any kind
    std::string unitCode;             // Edit72 "申报单位编码："
};

// "select LoadData.* from LoadData where  " and the filter's conditions in their fixed order. Every
// text goes between its quotes with its apostrophes doubled; % and _ typed into the two name fields
// keep their wildcard meaning.
std::string documentStatement(const DocumentFilter& filter);

// The goods lines of the declaration with that unified number.
std::string goodsStatement(std::string_view tyNo);

// The kind whose declarations show the import labels of the detail panel.
inline constexpr std::string_view kImportKind = "进口报关单";

}  // namespace ca::reports
