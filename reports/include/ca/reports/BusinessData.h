#pragma once
// The business data window's filter and the statements of its two commands.
#include <array>
#include <string>
#include <string_view>

#include "ca/util/Convert.h"

namespace ca::reports {

// "生成EXCEL": declarations with goods lines by declaration date (sb_date), new file or appended.
// "生成非一般贸易数据": declarations outside general trade by entry date (indate), always a new file.
enum class BusinessList { WithGoods, NonGeneralTrade };

// The values of the window's controls, texts exactly as typed. Initial values are the window's,
// except year and month, which the window sets to the current month.
struct BusinessFilter {
    bool useRange = false;             // CheckBox1 "使用时间段"
    Date from{2010, 12, 10};           // DateTimePicker3 "申报日期：" from
    Date to{2010, 12, 10};             // DateTimePicker4: the window sets it to today
    std::string year = "2011";         // ComboBox1 "年份"
    std::string month = "01";          // ComboBox2 "月份"
    std::string unitCode;              // Edit1 "申报单位编码"
    std::string kind = "无";           // ComboBox3 "进出口类型"
    std::string vehicle;               // Edit2 "运输工具名称", part of the name
    std::string customsCode = "5201";  // Edit6 "报关号：", first four characters of HG_No
    std::string clerk;                 // Edit3 "报关员"
    std::string maker;                 // Edit5 "生产产家" (生成EXCEL only)
    std::string phones;                // Edit4 "电话号码", separated by commas
};

// The entries of the kind list, "无" first.
inline constexpr const char* kNoKind = "无";
inline constexpr const char* kBothExportKinds = "出口和转关";
inline constexpr std::array<const char*, 5> kBusinessKinds = {kNoKind, "进口报关单", "出口报关单",
                                                              "出口转关运输提前报关单", kBothExportKinds};

// The command's statement: its select, then the date bounds and the filter conditions in their
// fixed order. Year and month must be numbers (the lists hold nothing else); other texts go between
// their quotes with apostrophes doubled, and % and _ in the vehicle name keep their wildcard meaning.
std::string businessStatement(const BusinessFilter& filter, BusinessList list);

// The goods lines of one declaration as the command reads them for its row.
std::string businessGoodsStatement(std::string_view tyNo, BusinessList list);

}  // namespace ca::reports
