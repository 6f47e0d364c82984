#include "ca/fees/FeeStatement.h"

#include "ca/fees/AmountCheck.h"
#include "ca/fees/FeeTexts.h"

namespace ca::fees {

namespace {

constexpr int kLeft = 200;
constexpr int kAmountX = 1200;
constexpr int kRemarkX = 1900;
constexpr int kRightX = 1800;
constexpr int kFirstLineY = 750;
constexpr int kLineStep = 150;
const std::string kRule(73, '-');

}  // namespace

std::vector<StatementLine> feeStatementLines(const FeeGridRows& rows) {
    std::vector<StatementLine> lines{{"费用项目", "费用", "备注"}};
    for (const auto& row : rows) {
        const std::string& amount = row[kAmountColumn];
        if (amount == "0" || amount.empty()) continue;
        const Amount value = checkedAmount(row[kNameColumn], amount, "无法打印。");
        lines.push_back({row[kNameColumn] + " : ", value.text(), row[kRemarkColumn]});
    }
    return lines;
}

std::vector<PlacedText> feeStatementLayout(const FeeStatementTexts& t,
                                           const std::vector<StatementLine>& lines) {
    std::vector<PlacedText> out = {
        {kLeft, 200, "客户：" + t.customer},
        {kLeft, 300, "日期：" + t.date},
        {kLeft, 400, "货名：" + t.goods},
        {kRightX, 400, "合同号：" + t.contract},
        {kLeft, 500, "提单号：" + t.bill},
        {kRightX, 500, "报关单号：" + t.declarationNo},
        {kLeft, 600, kRule},
    };
    const int n = static_cast<int>(lines.size());
    for (int i = 0; i < n; ++i) {
        const int y = kFirstLineY + kLineStep * i;
        out.push_back({kLeft, y, lines[static_cast<size_t>(i)].item});
        out.push_back({kAmountX, y, lines[static_cast<size_t>(i)].amount});
        out.push_back({kRemarkX, y, lines[static_cast<size_t>(i)].remark});
    }
    auto at = [&](int k) { return kFirstLineY + kLineStep * (n + k); };
    out.push_back({kLeft, at(0), kRule});
    out.push_back({kAmountX, at(1), t.total});
    // The statement's own label "帐号：" (the window shows "账号：").
    out.push_back({kLeft, at(3), "帐户：" + t.accountHolder});
    out.push_back({kLeft, at(4), "帐号：" + t.accountNo});
    out.push_back({kLeft, at(5), "开户行：" + t.bank});
    return out;
}

void printFeeStatement(Printer& printer, const std::vector<PlacedText>& layout) {
    printer.setTitle(kPrintTitle);
    printer.setFontSize(kPrintFontPoints);
    PrintJob job(printer);
    for (const auto& t : layout)
        job.textOut(t.x, t.y, t.text);
    job.end();
}

}  // namespace ca::fees
