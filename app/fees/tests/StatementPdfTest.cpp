// The fee statement drawn into a PDF through the Qt printer, checked from outside with pdftotext
// (poppler-utils): every text lands at its device coordinates (600 units per inch, so 200 units are
// 24 points) in the printed order. Keep the PDF with CA_KEEP_PDF=1 to look at it (pdftoppm -png).
#include <gtest/gtest.h>

#include <QString>
#include <cstdlib>
#include <filesystem>
#include <random>

#include "PdfWords.h"
#include "ca/app/common/QtPrinter.h"
#include "ca/fees/FeeStatement.h"

namespace fs = std::filesystem;

TEST(StatementPdf, TextsLandAtTheirDeviceCoordinates) {
    if (!ca::app::test::havePdfToText()) GTEST_SKIP() << "pdftotext is not installed";
    const fs::path dir =
        fs::temp_directory_path() / ("ca_fee_statement_pdf_" + std::to_string(std::random_device{}()));
    fs::remove_all(dir);
    fs::create_directories(dir);
    const fs::path pdf = dir / "statement.pdf";
    const ca::fees::FeeStatementTexts texts{
        "客户甲", "2011-01-05", "钢材", "HT1",     "TD1", "520120111000000001",
        "42.50",  "某某报关行", "6222", "工商银行"};
    const auto lines =
        ca::fees::feeStatementLines({{"报关费", "12.5", "现金", "bgf"}, {"打单费", "30", "", "ddf"}});
    {
        ca::app::QtPrinter printer(QString::fromStdString(pdf.string()), 600);
        ca::fees::printFeeStatement(printer, ca::fees::feeStatementLayout(texts, lines));
    }
    const auto found = ca::app::test::pdfText(pdf);
    // Each text of the layout is found as a word starting at x / 600 inch, y / 600 inch (in points).
    auto expectAt = [&](const std::string& text, int x, int y) {
        ca::app::test::expectWordAt(found, text, x, y);
    };
    expectAt("客户：客户甲", 200, 200);
    expectAt("合同号：HT1", 1800, 400);
    expectAt("报关单号：520120111000000001", 1800, 500);
    expectAt("费用项目", 200, 750);
    expectAt("备注", 1900, 750);
    expectAt("报关费", 200, 900);
    expectAt("12.50", 1200, 900);
    expectAt("现金", 1900, 900);
    expectAt("30.00", 1200, 1050);
    expectAt("42.50", 1200, 1350);
    expectAt("帐号：6222", 200, 1800);
    expectAt("开户行：工商银行", 200, 1950);
    if (!std::getenv("CA_KEEP_PDF")) fs::remove_all(dir);
}
