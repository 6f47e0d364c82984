#include "ca/reports/BusinessColumns.h"

#include "ca/reports/CellText.h"
#include "ca/util/Convert.h"

namespace ca::reports {

namespace {

using S = BusinessSource;

}  // namespace

const std::vector<BusinessColumn>& businessColumns(BusinessList list) {
    static const std::vector<BusinessColumn> withGoods = {
        {"序号", S::Sequence},
        {"", S::Blank},
        {"电话号码", S::Field, "phone"},
        {"经营单位名称", S::Field, "jydw_name"},
        {"商品名称", S::FirstGoodsName},
        {"提运单号", S::Field, "tiyun_no"},
        {"海关编号", S::Field, "HG_no"},
        {"件数", S::Field, "JIANSHU"},
        {"重量", S::Field, "jingzhong"},
        {"日期", S::DateField, "SB_DATE"},
        {"码头与柜数", S::Field, "remark"},
        {"合同号", S::Field, "HT_NO"},
        {"批准文号", S::Field, "PZ_No"},
        {"页数", S::PageCount},
        {"方式", S::PortMode},
        {"成交总价", S::Field, "ZJ"},
        {"统一编号", S::Field, "ty_no"},
        {"生产厂家", S::FirstMaker},
        {"进出口类型", S::Field, "inouttype"},
    };
    static const std::vector<BusinessColumn> nonGeneralTrade = {
        {"序号", S::Sequence},
        {"经营单位名称", S::Field, "jydw_name"},
        {"商品名称", S::FirstGoodsName},
        {"提运单号", S::Field, "tiyun_no"},
        {"海关编号", S::Field, "HG_no"},
        {"件数", S::Field, "JIANSHU"},
        {"重量", S::Field, "jingzhong"},
        {"日期", S::DateField, "indate"},
        {"码头与柜数", S::Field, "remark"},
        {"合同号", S::Field, "HT_NO"},
        {"批准文号", S::Field, "PZ_No"},
        {"页数", S::PageCount},
        {"方式", S::PortMode},
        {"成交总价", S::Blank},
        {"进出口类型", S::Field, "inouttype"},
    };
    return list == BusinessList::WithGoods ? withGoods : nonGeneralTrade;
}

int pageCount(int goodsLines) {
    return (goodsLines - 1) / 5;
}

std::string pageCountText(BusinessList list, const GoodsSummary& goods, std::string_view spxsText) {
    if (goods.count > 0) return std::to_string(pageCount(goods.count));
    if (list == BusinessList::WithGoods || spxsText.empty()) return {};
    const int listed = toInt(spxsText);
    return listed == 0 ? std::string() : std::to_string(pageCount(listed));
}

std::string portMode(std::string_view vehicleName) {
    return vehicleName.find('@') != std::string_view::npos ? "蛇口" : "国转";
}

std::vector<std::string> businessRow(BusinessList list, int k,
                                     const std::function<std::string(std::string_view)>& field,
                                     const GoodsSummary& goods) {
    std::vector<std::string> row;
    for (const auto& c : businessColumns(list)) {
        switch (c.source) {
            case S::Sequence:
                row.push_back(std::to_string(k));
                break;
            case S::Blank:
                row.emplace_back();
                break;
            case S::Field:
                row.push_back(field(c.field));
                break;
            case S::DateField:
                row.push_back(cellText(field(c.field), CellKind::Date));
                break;
            case S::FirstGoodsName:
                row.push_back(goods.firstName);
                break;
            case S::FirstMaker:
                row.push_back(goods.firstMaker);
                break;
            case S::PageCount:
                row.push_back(
                    pageCountText(list, goods, list == BusinessList::NonGeneralTrade ? field("spxs") : ""));
                break;
            case S::PortMode:
                row.push_back(portMode(field("YSGJ")));
                break;
        }
    }
    return row;
}

}  // namespace ca::reports
