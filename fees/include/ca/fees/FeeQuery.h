#pragma once
// The fee query's statement and grid heading: declarations joined with their fee amounts,
// filtered by the filter panel.
#include <string>
#include <vector>

#include "ca/fees/FeeItem.h"
#include "ca/util/Convert.h"

namespace ca::fees {

// The filter panel, texts exactly as typed. The initial values are the window's.
struct FeeQueryFilter {
    std::string serial;           // Edit1 "报关单号：": characters 10 to 18 of bgno
    Date from{2010, 12, 10};      // DateTimePicker1
    Date to{2010, 12, 10};        // DateTimePicker2: the window sets it to today
    std::string customer;         // Edit2 "客户名称：", part of kh
    std::string goods;            // Edit3 "货名：", part of t_fee.goods
    std::string contract;         // Edit4 "合同号："
    std::string bill;             // Edit5 "提运单号："
    std::string office = "5201";  // Edit6 "报关号：": the first four characters of bgno
    std::string phone;            // Edit7 "电话："
    std::string verification;     // Edit8 "核销单号："
    bool zeroOnly = false;        // CheckBox1 "只显示小计为零的 记录"
};

// "select * from t_fee,LoadData where LoadData.ty_no=t_fee.ty_no  " and the conditions in their
// fixed order. Texts go between their quotes with apostrophes doubled (% and _ keep their wildcard
// meaning in the two name filters). The zero-subtotal condition counts a missing amount as 0; it
// is left out when there are no fee items.
std::string feeQueryStatement(const FeeQueryFilter& filter, const std::vector<FeeItem>& items);

// The grid heading: the six declaration columns, one per fee item, "小计".
std::vector<std::string> feeQueryHeader(const std::vector<FeeItem>& items);

// Number of declaration columns before the fee items.
inline constexpr int kFeeQueryFixedColumns = 6;

}  // namespace ca::fees
