#include "ca/reports/DocumentColumns.h"

namespace ca::reports {

namespace {

Column date(const char* field, const char* caption) {
    return {field, caption, CellKind::Date};
}
// A box of a detail panel: the label of its row says what it holds.
Column text(const char* field) {
    return {field, "", CellKind::Text};
}

}  // namespace

const std::vector<Column>& headerColumns() {
    static const std::vector<Column> columns = {
        {"TY_No", "统一编号"},       {"YLR_No", "预录入编号"},
        {"JKKA", "进口口岸"},        {"BA_No", "备案号"},
        {"HG_No", "海关编号"},       {"HT_No", "合同协议号"},
        date("JK_Date", "进口日期"), date("SB_Date", "申报日期"),
        {"JYDW_No", "经营单位编号"}, {"JYDW_Name", "经营单位名称"},
        {"SHDW_No", "收货单位编号"}, {"SHDW_Name", "收货单位名称"},
        {"SBDW_No", "申报单位编号"}, {"SBDW_Name", "申报单位名称"},
        {"YSFS", "运输方式"},        {"YSGJ", "运输工具名称"},
        {"HC_No", "航次号"},         {"TiYun_No", "提运单号"},
        {"JGFS", "监管方式"},        {"ZMXZ", "征免性质"},
        {"ZSBL", "征税比例"},        {"NSDW", "纳税单位"},
        {"XK_No", "许可证号"},       {"QYG", "起运国"},
        {"ZHG", "装货港"},           {"JNMDD", "境内目的地"},
        {"PZ_No", "批准文号"},       {"CJFS", "成交方式"},
        {"YunFee", "运费"},          {"yBiZhong", "币种"},
        {"BaoFee", "保费"},          {"bBiZhong", "币种"},
        {"ZaFee", "杂费"},           {"zBiZhong", "币种"},
        {"JianShu", "件数"},         {"BZZL", "包装种类"},
        {"MaoZhong", "毛重"},        {"jingZhong", "净重"},
        {"JZX_No", "集装箱号"},      {"SFDZ_No", "随附单证"},
        {"BGDType", "报关类型"},     {"Remark", "备注"},
        date("indate", "录入日期"),  {"inouttype", "类别"},
        {"opertor", "操作员"},       {"phone", "联系方式"},
    };
    return columns;
}

const std::vector<Column>& goodsColumns() {
    static const std::vector<Column> columns = {
        {"SP_No", "商品序号"},     {"BA_No", "备案编号"}, {"SPBH_No", "商品编号"}, {"FJBH_No", "附加编号"},
        {"SPMC_Name", "商品名称"}, {"GGXH", "规格型号"},  {"CJ_No", "成交数量"},   {"CJDW", "成交单位"},
        {"CJDJ", "成交单价"},      {"CJZJ", "成交总价"},  {"BiZhong", "币制"},     {"FD_No", "法定数量"},
        {"FDDW", "法定单位"},      {"BBH_No", "版本号"},  {"HH_No", "货号"},       {"YT", "用途"},
        {"DESL", "第二数量"},      {"DEDW", "第二单位"},  {"YCD", "原产地"},       {"ZM", "征免"},
    };
    return columns;
}

const std::vector<DetailRow>& headerDetailRows() {
    static const std::vector<DetailRow> rows = {
        {"统一编号：", {text("TY_No")}},
        {"预录入编号：", {text("YLR_No")}},
        {"海关编号：", {text("HG_No")}},
        {"备案号：", {text("BA_No")}},
        {"进口口岸：", {text("JKKA")}},
        {"合同协议号：", {text("HT_No")}},
        {"进口日期：", {date("JK_Date", "")}},
        {"申报日期：", {date("SB_Date", "")}},
        {"经营单位：", {text("JYDW_No"), text("JYDW_Name"), text("JYDW_XZ")}},
        {"收货单位：", {text("SHDW_No"), text("SHDW_Name")}},
        {"申报单位：", {text("SBDW_No"), text("SBDW_Name")}},
        {"运输方式：", {text("YSFS")}},
        {"运输工具名称：", {text("YSGJ")}},
        {"航次号：", {text("HC_No")}},
        {"提运单号：", {text("TiYun_No")}},
        {"监管方式：", {text("JGFS")}},
        {"征免性质：", {text("ZMXZ")}},
        {kLevyRateLabel, {text("ZSBL")}},
        {"纳税单位：", {text("NSDW")}},
        {"许可证号：", {text("XK_No")}},
        {"起运国：", {text("QYG")}},
        {"装货港：", {text("ZHG")}},
        {"境内目的地：", {text("JNMDD")}},
        {"批准文号：", {text("PZ_No")}},
        {"成交方式：", {text("CJFS")}},
        {"运费：", {text("YunFee"), text("yBiZhong")}},
        {"保费：", {text("BaoFee"), text("bBiZhong")}},
        {"杂费：", {text("ZaFee"), text("zBiZhong")}},
        {"件数：", {text("JianShu")}},
        {"包装种类：", {text("BZZL")}},
        {"毛重KG：", {text("MaoZhong")}},
        {"净重KG：", {text("jingZhong")}},
        {"集装箱号：", {text("JZX_No")}},
        {"随附单证：", {text("SFDZ_No")}},
        {"报关单类型：", {text("BGDType")}},
        {"备注：", {text("Remark")}},
        {"录入日期：", {date("indate", "")}},
        {"进出口类别：", {text("inouttype")}},
        {"报关员：", {text("opertor")}},
        {"联系方式：", {text("phone")}},
    };
    return rows;
}

const std::vector<DetailRow>& goodsDetailRows() {
    static const std::vector<DetailRow> rows = {
        {"商品序号：", {text("SP_No")}},     {"备案序号：", {text("BA_No")}},
        {"商品编号：", {text("SPBH_No")}},   {"附加编号：", {text("FJBH_No")}},
        {"商品名称：", {text("SPMC_Name")}}, {"型号规格：", {text("GGXH")}},
        {"成交数量：", {text("CJ_No")}},     {"成交单位：", {text("CJDW")}},
        {"成交单价：", {text("CJDJ")}},      {"成交总价：", {text("CJZJ")}},
        {"币制：", {text("BiZhong")}},       {"法定数量：", {text("FD_No")}},
        {"法定单位：", {text("FDDW")}},      {"版本号：", {text("BBH_No")}},
        {"货 号：", {text("HH_No")}},        {"用途：", {text("YT")}},
        {"第二数量：", {text("DESL")}},      {"第二单位：", {text("DEDW")}},
        {"原产地：", {text("YCD")}},         {"征免：", {text("ZM")}},
        {"工缴费：", {text("GJF")}},         {"生产厂家：", {text("SCCJ")}},
    };
    return rows;
}

}  // namespace ca::reports
