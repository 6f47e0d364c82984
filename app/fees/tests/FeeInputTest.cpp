#include <QApplication>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPageLayout>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QTableView>

#include "FeeWindowsFixture.h"
#include "PdfWords.h"
#include "WindowDriver.h"
#include "ca/app/common/TfrmPrintPreview.h"
#include "ca/app/fees/TfrmFeeInput.h"
#include "ca/util/IniFile.h"
#include "ca/util/Settings.h"

using namespace ca::app;
using ca::app::test::cells;
using ca::app::test::click;
using ca::app::test::headings;

namespace {

class FeeInputTest : public FeeWindowsFixture {
protected:
    TfrmFeeInput& window() { return windows->get<TfrmFeeInput>(); }
    QLineEdit* edit(const char* name) { return window().findChild<QLineEdit*>(name); }
    QTableView* grid() { return window().findChild<QTableView*>("StringGrid1"); }
    std::string label9() { return window().findChild<QLabel*>("Label9")->text().toStdString(); }
    void setCell(int row, int column, const char* text) {
        grid()->model()->setData(grid()->model()->index(row, column), QString::fromUtf8(text));
    }
};

}  // namespace

TEST_F(FeeInputTest, OrdinaryUserSeesNoDetailsButtonAndNothingWithoutPermission) {
    user().logIn("", 0);
    TfrmFeeInput& w = window();
    EXPECT_FALSE(w.isVisible());
    EXPECT_TRUE(w.findChild<QPushButton*>("Button1")->isHidden());
    EXPECT_EQ(headings(*grid()), (std::vector<std::string>{"费用名称", "费用", "备注", ""}));
    // Found, but nobody has the empty name: warned, the window is not brought up.
    EXPECT_EQ(w.InputData("TY0000000123456789", "TY_NO", ca::fees::MatchMode::Whole),
              ca::fees::LoadOutcome::NoPermission);
    EXPECT_FALSE(w.isVisible());
    EXPECT_EQ(tc->prompts.texts("warning"), std::vector<std::string>{"您没有任何录入费用的权限！"});
    EXPECT_EQ(edit("Edit1")->text().toStdString(), "客户甲");
    EXPECT_TRUE(cells(*grid()).empty());
}

TEST_F(FeeInputTest, SearchLoadsTheDeclarationAndSaveWritesTheEditedCells) {
    user().logIn("张三", 1);
    TfrmFeeInput& w = window();
    w.show();
    edit("Edit7")->setText("123456789");
    click(w, "BitBtn3");
    EXPECT_EQ(cells(*grid()), (std::vector<std::vector<std::string>>{{"报关费", "12.5", "现金", "bgf"},
                                                                     {"打单费", "30", "", "ddf"}}));
    EXPECT_EQ(label9(), "42.50");
    EXPECT_EQ(edit("Edit6")->text().toStdString(), "520120111000000001");
    EXPECT_EQ(edit("Edit7")->text().toStdString(), "TY0000000123456789");
    EXPECT_TRUE(w.findChild<QPushButton*>("Button1")->isEnabled());

    // A bad amount is refused before anything is written.
    setCell(0, 1, "abc");
    setCell(1, 1, "5");
    tc->prompts.answerQuestion(ca::Button::Yes);
    click(w, "BitBtn1");
    EXPECT_EQ(tc->prompts.texts("warning").back(), "费用“报关费”的金额“abc”不是有效的数字，未保存任何费用。");
    EXPECT_EQ(column("select ddf from T_fee where ty_no='TY0000000123456789'"),
              std::vector<std::string>{"30"});

    setCell(0, 1, "20");
    setCell(1, 2, "O'Neil");
    tc->prompts.answerQuestion(ca::Button::Yes);
    click(w, "BitBtn1");
    EXPECT_EQ(column("select bgf+ddf from T_fee where ty_no='TY0000000123456789'"),
              std::vector<std::string>{"25"});
    EXPECT_EQ(column("select ddf from T_fee1 where ty_no='TY0000000123456789'"),
              std::vector<std::string>{"O'Neil"});
    EXPECT_EQ(label9(), "25.00");  // reloaded
    EXPECT_TRUE(tc->prompts.texts("error").empty());
}

TEST_F(FeeInputTest, PrintsTheStatementWithTheLoadedTotalAndTheAccountTexts) {
    ca::IniFile(dir / "config.ini").WriteString(ca::settings::kSection, "费用单帐户", "某某报关行");
    user().logIn("张三", 1);
    TfrmFeeInput& w = window();
    EXPECT_EQ(edit("Edit8")->text().toStdString(), "某某报关行");
    w.InputData("TY0000000123456789", "TY_NO", ca::fees::MatchMode::Whole);
    edit("Edit9")->setText("6222 0000");
    emit edit("Edit9")->editingFinished();
    EXPECT_EQ(ca::IniFile(dir / "config.ini").ReadString(ca::settings::kSection, "费用单帐号", ""),
              "6222 0000");
    setCell(1, 1, "0");    // left out
    setCell(0, 1, "100");  // printed, but the total stays the loaded one
    click(w, "Button4");
    const auto printed = tc->printer.printed();
    ASSERT_EQ(printed.size(), 1u);
    const auto& doc = printed[0];
    EXPECT_EQ(doc.title, "打印报表");
    std::vector<std::string> texts;
    for (const auto& t : doc.texts) {
        EXPECT_EQ(t.fontSize, 12);
        texts.push_back(std::to_string(t.x) + "," + std::to_string(t.y) + " " + t.text);
    }
    EXPECT_EQ(
        texts,
        (std::vector<std::string>{
            "200,200 客户：客户甲", "200,300 日期：2011-01-05", "200,400 货名：钢材", "1800,400 合同号：HT1",
            "200,500 提单号：TD1", "1800,500 报关单号：520120111000000001", "200,600 " + std::string(73, '-'),
            "200,750 费用项目", "1200,750 费用", "1900,750 备注", "200,900 报关费 : ", "1200,900 100.00",
            "1900,900 现金", "200,1050 " + std::string(73, '-'), "1200,1200 42.50",
            "200,1500 帐户：某某报关行", "200,1650 帐号：6222 0000", "200,1800 开户行："}));

    // A bad amount stops before the job; without a printer the reason shows and nothing is printed.
    setCell(0, 1, "");
    setCell(1, 1, "x");
    click(w, "Button4");
    tc->printer.failNextBegin("没有默认打印机");
    setCell(1, 1, "1");
    click(w, "Button4");
    EXPECT_EQ(tc->printer.printed().size(), 1u);
    ASSERT_EQ(tc->prompts.texts("error").size(), 2u);
    EXPECT_NE(tc->prompts.texts("error")[0].find("费用“打单费”的金额“x”"), std::string::npos);
    EXPECT_NE(tc->prompts.texts("error")[1].find("没有默认打印机"), std::string::npos);
}
// 打印预览 shows the statement on the paper it prints on (A4 on a desk without a printer); its 打印
// prints and 导出PDF writes what it shows, and 导出PDF of the window writes the same drawing into
// the file the clerk names: each text at its place on the page, read back with pdftotext.
TEST_F(FeeInputTest, PreviewPrintAndPdfAreOneDrawing) {
    if (!ca::app::test::havePdfToText()) GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    if (!QPrinterInfo::defaultPrinter().isNull()) GTEST_SKIP() << "this machine has a default printer";
    user().logIn("张三", 1);
    TfrmFeeInput& w = window();
    w.show();
    w.InputData("TY0000000123456789", "TY_NO", ca::fees::MatchMode::Whole);
    edit("Edit9")->setText("6222");
    click(w, "Button4");
    ASSERT_EQ(tc->printer.printed().size(), 1u);
    const auto printedTexts = tc->printer.printed()[0].texts;

    click(w, "BtnPreview");
    auto* preview = w.findChild<TfrmPrintPreview*>("frmPrintPreview");
    ASSERT_NE(preview, nullptr);
    EXPECT_TRUE(preview->isVisible());
    EXPECT_EQ(preview->pageCount(), 1);
    EXPECT_EQ(preview->paper().pageLayout().pageSize().id(), QPageSize::A4);
    EXPECT_EQ(preview->paper().resolution(), 600);
    if (const char* shot = std::getenv("CA_SCREENSHOTS")) {
        preview->grab().save(QString::fromUtf8(shot) + "/preview.png");
        w.grab().save(QString::fromUtf8(shot) + "/feeinput.png");
    }
    // A field changed after the preview opened does not change what the preview prints.
    edit("Edit9")->setText("changed");
    click(*preview, "BtnPrint");
    ASSERT_EQ(tc->printer.printed().size(), 2u);
    EXPECT_EQ(tc->printer.printed()[1].texts, printedTexts);

    const std::filesystem::path pdf = dir / "账单.pdf";
    tc->prompts.answerSave(pdf.string());
    click(*preview, "BtnPdf");
    ASSERT_TRUE(std::filesystem::exists(pdf));
    const auto text = ca::app::test::pdfText(pdf);
    EXPECT_EQ(text.pages, 1);
    EXPECT_NEAR(text.width, 595.3, 1);  // A4
    EXPECT_NEAR(text.height, 841.9, 1);
    auto expectAt = [&](const std::string& word, int x, int y) {
        ca::app::test::expectWordAt(text, word, x, y);
    };
    int checked = 0;
    for (const auto& t : printedTexts)
        if (!t.text.empty() && t.text.find_first_of(" -") == std::string::npos) {
            expectAt(t.text, t.x, t.y);  // the texts pdftotext reads as one word
            ++checked;
        }
    EXPECT_GE(checked, 10);
    expectAt("帐号：6222", 200, 1800);

    // The window's own 导出PDF: an existing file is replaced only when the clerk agrees.
    const auto before = std::filesystem::last_write_time(pdf);
    tc->prompts.answerSave(pdf.string());
    tc->prompts.answerQuestion(ca::Button::No);
    click(w, "BtnPdf");
    EXPECT_EQ(std::filesystem::last_write_time(pdf), before);
    std::filesystem::remove(pdf);
    tc->prompts.answerSave(pdf.string());
    click(w, "BtnPdf");
    EXPECT_NE(ca::app::test::pdfText(pdf).pages, 0);
    EXPECT_EQ(tc->prompts.texts("question"),
              (std::vector<std::string>{"文件“" + pdf.string() + "”已存在，要替换它吗？"}));
    EXPECT_TRUE(tc->prompts.texts("error").empty()) << tc->prompts.texts("error")[0];
}

// What the clerk sees of a loaded declaration: no fee codes, whole fee and customer names, fields he
// cannot change drawn as read-only; and 统一编号's own 搜索 takes the whole number a load shows as
// well as the serial.
TEST_F(FeeInputTest, ShowsWholeNamesHidesTheCodesAndSearchesTheWholeUnifiedNumber) {
    exec("update func_desc set Fd_func_name='自定义收费项目01' where Fd_func_code='ddf'");
    exec("update limit set L_func_name='自定义收费项目01' where L_func_code='ddf'");
    exec("update T_fee set kh='上海某某国际货运代理有限公司第二分公司' where ty_no='TY0000000123456789'");
    user().logIn("张三", 1);
    TfrmFeeInput& w = window();
    w.show();
    for (const char* typed : {"123456789", "TY0000000123456789"}) {
        SCOPED_TRACE(typed);
        edit("Edit7")->setText("TY0000000987654321");
        click(w, "BitBtn3");  // another declaration first
        edit("Edit7")->setText(QString::fromUtf8(typed));
        click(w, "BitBtn3");
        EXPECT_EQ(label9(), "42.50");
        EXPECT_EQ(edit("Edit7")->text().toStdString(), "TY0000000123456789");
    }
    QApplication::processEvents();
    EXPECT_TRUE(grid()->isColumnHidden(3));
    for (int r = 0; r < grid()->model()->rowCount(); ++r) {
        const QString name = grid()->model()->index(r, 0).data().toString();
        EXPECT_GE(grid()->columnWidth(0), grid()->fontMetrics().horizontalAdvance(name))
            << name.toStdString();
    }
    QLineEdit* customer = edit("Edit1");
    EXPECT_GE(customer->width(), customer->fontMetrics().horizontalAdvance(customer->text()));
    for (const char* name : {"Edit1", "Edit2", "Edit3"}) {
        EXPECT_TRUE(edit(name)->isReadOnly()) << name;
        EXPECT_EQ(edit(name)->palette().color(QPalette::Base), edit(name)->palette().color(QPalette::Window))
            << name;
    }
    EXPECT_NE(edit("Edit4")->palette().color(QPalette::Base),
              edit("Edit4")->palette().color(QPalette::Window));
    EXPECT_TRUE(tc->prompts.shown().empty());
}
