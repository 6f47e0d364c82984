// customs-assistant-cli fee-query and fee-item: the fee query's grid (printed or exported) and the
// fee item catalogue, through the same core as the fee windows.
#include <iostream>
#include <stdexcept>

#include "CliRegistry.h"
#include "CliSupport.h"
#include "ca/db/TDM.h"
#include "ca/fees/FeeItemAdd.h"
#include "ca/fees/FeeQueryGrid.h"
#include "ca/util/Convert.h"
#include "ca/util/LocalTime.h"
#include "ca/util/TabText.h"

namespace {

int runFeeQuery(ca::cli::Invocation& in) {
    ca::fees::FeeQueryFilter f;
    f.zeroOnly = in.has("--zero-only");
    f.from = in.date("--from", f.from);
    f.to = in.date("--to", ca::localToday());
    for (auto [name, text] : {std::pair{"--serial", &f.serial}, std::pair{"--customer", &f.customer},
                              std::pair{"--goods", &f.goods}, std::pair{"--contract", &f.contract},
                              std::pair{"--bill", &f.bill}, std::pair{"--office", &f.office},
                              std::pair{"--phone", &f.phone}, std::pair{"--verification", &f.verification}})
        *text = in.value(name);

    const std::string out = in.value("--out");
    if (!out.empty())
        if (const std::string problem = ca::fees::feeExportProblem(in.database(), out); !problem.empty())
            throw std::runtime_error(problem);
    const ca::fees::FeeQueryGrid grid = ca::fees::runFeeQuery(in.database(), f);
    if (!out.empty()) {
        ca::fees::exportFeeGrid(out, grid);
        std::cout << "已导出 " << grid.recordCount << " 条记录到 " << ca::escapeControls(out) << "\n";
        return 0;
    }
    ca::cli::printRows(std::cout, {grid.header});
    if (grid.recordCount > 0) ca::cli::printRows(std::cout, grid.rows);
    std::cerr << "总记录数：" << grid.recordCount << "\n";
    return 0;
}

int listFeeItems(ca::cli::Invocation& in) {
    std::vector<std::vector<std::string>> rows;
    for (const auto& item : ca::fees::feeItems(in.database()))
        rows.push_back({item.code, item.name});
    ca::cli::printRows(std::cout, rows);
    return 0;
}

int addFeeItem(ca::cli::Invocation& in) {
    const ca::fees::FeeItemResult r = ca::fees::addFeeItem(in.database(), in.argument(0), in.argument(1));
    (r.added ? std::cout : std::cerr) << ca::escapeControls(r.message) << "\n";
    return r.added ? 0 : 1;
}

using ca::cli::DatabaseUse;

const ca::cli::Registrar queryReg{
    {"fee-query",
     {{"--from", "YYYY-MM-DD"},
      {"--to", "YYYY-MM-DD"},
      {"--serial", "流水号"},
      {"--customer", "客户"},
      {"--goods", "货名"},
      {"--contract", "合同号"},
      {"--bill", "提运单号"},
      {"--office", "关区代码"},
      {"--phone", "电话"},
      {"--verification", "核销单号"},
      {"--zero-only", ""},
      {"--out", "文件.xls", false, ca::cli::Output::Workbook}},
     {},
     DatabaseUse::Existing,
     "费用查询：列出报关单及其各项费用、小计和合计行（以制表符分隔，记录数写在标准错误上），"
     "或用 --out 导出为 .xls 文件；--zero-only 只列出费用为零的报关单",
     runFeeQuery}};
const ca::cli::Registrar listReg{
    {"fee-item list", {}, {}, DatabaseUse::Existing, "列出费用项目", listFeeItems}};
const ca::cli::Registrar addReg{{"fee-item add",
                                 {},
                                 {{"编码"}, {"名称"}},
                                 DatabaseUse::Changes,
                                 "新增一项费用项目（与费用项目窗口相同的检查和提示；被拒绝时退出状态为 1）",
                                 addFeeItem}};

}  // namespace
