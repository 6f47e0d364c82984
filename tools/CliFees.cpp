// customs-assistant-cli fee-query and fee-item: the fee query's grid (printed or exported) and the
// fee item catalogue, through the same core as the fee windows.
#include <iostream>

#include "CliRegistry.h"
#include "CliSupport.h"
#include "ca/db/TDM.h"
#include "ca/fees/FeeItemAdd.h"
#include "ca/fees/FeeQueryGrid.h"
#include "ca/util/Convert.h"
#include "ca/util/LocalTime.h"

namespace {

constexpr const char* kQueryUsage =
    "fee-query [--db 数据库] [--from YYYY-MM-DD] [--to YYYY-MM-DD] [--serial 流水号] [--customer 客户] "
    "[--goods 货名] [--contract 合同号] [--bill 提运单号] [--office 关区代码] [--phone 电话] "
    "[--verification 核销单号] [--zero-only] [--out 文件.xls]";
constexpr const char* kItemUsage = "fee-item list [--db 数据库] | fee-item add 编码 名称 [--db 数据库]";

int runFeeQuery(const std::vector<std::string>& args) {
    // "--zero-only" is the one option without a value.
    std::vector<std::string> rest;
    bool zeroOnly = false;
    for (const auto& a : args) {
        if (a == "--zero-only")
            zeroOnly = true;
        else
            rest.push_back(a);
    }
    const ca::cli::Arguments parsed =
        ca::cli::parseArguments(rest, kQueryUsage,
                                {"--from", "--to", "--serial", "--customer", "--goods", "--contract",
                                 "--bill", "--office", "--phone", "--verification"});
    if (!parsed.positional.empty())
        throw ca::cli::UsageError("多余的参数 '" + parsed.positional[0] + "'\n用法：" + kQueryUsage);
    ca::fees::FeeQueryFilter f;
    f.zeroOnly = zeroOnly;
    f.to = ca::localToday();
    for (auto [name, date] : {std::pair{"--from", &f.from}, std::pair{"--to", &f.to}})
        if (auto text = parsed.option(name)) {
            auto d = ca::parseDate(*text);
            if (!d)
                throw ca::cli::UsageError("日期“" + *text + "”无效，应为 YYYY-MM-DD\n用法：" + kQueryUsage);
            *date = *d;
        }
    for (auto [name, text] : {std::pair{"--serial", &f.serial}, std::pair{"--customer", &f.customer},
                              std::pair{"--goods", &f.goods}, std::pair{"--contract", &f.contract},
                              std::pair{"--bill", &f.bill}, std::pair{"--office", &f.office},
                              std::pair{"--phone", &f.phone}, std::pair{"--verification", &f.verification}})
        if (auto value = parsed.option(name)) *text = *value;

    ca::db::TDM dm(parsed.db);
    const ca::fees::FeeQueryGrid grid = ca::fees::runFeeQuery(dm, f);
    if (!parsed.out.empty()) {
        ca::fees::exportFeeGrid(parsed.out, grid);
        std::cout << "已导出 " << grid.recordCount << " 条记录到 " << parsed.out << "\n";
        return 0;
    }
    ca::cli::printRows(std::cout, {grid.header});
    if (grid.recordCount > 0) ca::cli::printRows(std::cout, grid.rows);
    std::cerr << "总记录数：" << grid.recordCount << "\n";
    return 0;
}

int runFeeItem(const std::vector<std::string>& args) {
    const ca::cli::Arguments parsed = ca::cli::parseArguments(args, kItemUsage);
    const auto& words = parsed.positional;
    ca::db::TDM dm(parsed.db);
    if (words.size() == 1 && words[0] == "list") {
        std::vector<std::vector<std::string>> rows;
        for (const auto& item : ca::fees::feeItems(dm))
            rows.push_back({item.code, item.name});
        ca::cli::printRows(std::cout, rows);
        return 0;
    }
    if (words.size() == 3 && words[0] == "add") {
        const ca::fees::FeeItemResult r = ca::fees::addFeeItem(dm, words[1], words[2]);
        (r.added ? std::cout : std::cerr) << r.message << "\n";
        return r.added ? 0 : 1;
    }
    throw ca::cli::UsageError(std::string("需要 list 或 add 编码 名称\n用法：") + kItemUsage);
}

ca::cli::Registrar queryReg{
    {"fee-query",
     std::string(kQueryUsage) +
         "\n      费用查询：列出报关单及其各项费用、小计和合计行（以制表符分隔，记录数写在标准错误上），"
         "或用 --out 导出为 .xls 文件；--zero-only 只列出费用为零的报关单",
     runFeeQuery}};
ca::cli::Registrar itemReg{
    {"fee-item",
     std::string(kItemUsage) +
         "\n      列出费用项目，或新增一项（与费用项目窗口相同的检查和提示；被拒绝时退出状态为 1）",
     runFeeItem}};

}  // namespace
