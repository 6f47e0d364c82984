#include <QApplication>
#include <QCheckBox>
#include <QDateEdit>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>

#include "FeeWindowsFixture.h"
#include "WindowDriver.h"
#include "ca/app/common/WindowMemory.h"
#include "ca/app/fees/TfrmFeeDetai.h"
#include "ca/app/fees/TfrmFeeInput.h"
#include "ca/spreadsheet/FileIo.h"
#include "ca/spreadsheet/XlsReader.h"

using namespace ca::app;
using ca::app::test::cells;
using ca::app::test::click;
using ca::app::test::headings;

namespace {

class FeeQueryWindowTest : public FeeWindowsFixture {
protected:
    TfrmFeeDetai& open() {
        TfrmFeeDetai& w = windows->open<TfrmFeeDetai>();
        w.findChild<QDateEdit*>("DateTimePicker1")->setDate(QDate(2011, 1, 1));
        w.findChild<QDateEdit*>("DateTimePicker2")->setDate(QDate(2011, 1, 31));
        return w;
    }
    QTableView* grid(TfrmFeeDetai& w) { return w.findChild<QTableView*>("StringGrid1"); }
};

}  // namespace

TEST_F(FeeQueryWindowTest, QueryFillsTheGridAndTheCountAndOpensFeeEntryOnARow) {
    user().logIn("张三", 0);
    TfrmFeeDetai& w = open();
    EXPECT_EQ(w.windowTitle().toStdString(), "费用查询");
    EXPECT_TRUE(w.findChild<QPushButton*>("BitBtn1")->isHidden());  // ordinary user: no export
    EXPECT_EQ(w.findChild<QLineEdit*>("Edit6")->text().toStdString(), "5201");
    EXPECT_EQ(QDate::currentDate(), QDate::currentDate());
    // Before a query a double click does nothing.
    w.StringGrid1DblClick();
    EXPECT_EQ(windows->find<TfrmFeeInput>(), nullptr);

    click(w, "Button1");
    EXPECT_EQ(headings(*grid(w)), (std::vector<std::string>{"客户名称", "报关单号", "日期", "合同号",
                                                            "提单号", "货号", "报关费", "打单费", "小计"}));
    EXPECT_EQ(cells(*grid(w)),
              (std::vector<std::vector<std::string>>{
                  {"客户甲", "520120111000000001", "2011-01-05", "HT1", "TD1", "钢材", "12.5", "30", "42.50"},
                  {"客户乙", "520120111000000002", "2011-01-06", "HT1", "TD1", "钢材", "0", "0", "0.00"},
                  {" ", " ", " ", " ", " ", "合计：", "12.50", "30.00", "42.50"}}));
    EXPECT_EQ(w.findChild<QLabel*>("Label9")->text().toStdString(), "2");

    // The zero-subtotal filter; then a query without a match counts none.
    w.findChild<QCheckBox*>("CheckBox1")->setChecked(true);
    click(w, "Button1");
    EXPECT_EQ(cells(*grid(w)).size(), 2u);
    EXPECT_EQ(w.findChild<QLabel*>("Label9")->text().toStdString(), "1");
    w.findChild<QLineEdit*>("Edit2")->setText("O'Hara");
    click(w, "Button1");
    EXPECT_EQ(cells(*grid(w)), (std::vector<std::vector<std::string>>{std::vector<std::string>(9)}));
    EXPECT_EQ(w.findChild<QLabel*>("Label9")->text().toStdString(), "0");
    w.StringGrid1DblClick();  // the last query found nothing
    EXPECT_EQ(windows->find<TfrmFeeInput>(), nullptr);

    w.findChild<QLineEdit*>("Edit2")->clear();
    w.findChild<QCheckBox*>("CheckBox1")->setChecked(false);
    click(w, "Button1");
    grid(w)->setCurrentIndex(grid(w)->model()->index(1, 3));
    w.StringGrid1DblClick();
    TfrmFeeInput* input = windows->find<TfrmFeeInput>();
    ASSERT_NE(input, nullptr);
    EXPECT_TRUE(input->isVisible());
    EXPECT_EQ(input->sheet().fields.unifiedNo, "TY0000000987654321");
    EXPECT_TRUE(tc->prompts.texts("error").empty());
}

// Enter in a filter field runs the query; Esc closes the window. Every heading shows whole.
TEST_F(FeeQueryWindowTest, EnterQueriesEscapeClosesAndHeadingsAreWhole) {
    TfrmFeeDetai& w = open();
    for (const char* field : {"Edit2", "Edit6", "DateTimePicker2", "CheckBox1"}) {
        SCOPED_TRACE(field);
        w.findChild<QLineEdit*>("Edit3")->setText("x");
        click(w, "Button1");
        ASSERT_EQ(w.findChild<QLabel*>("Label9")->text().toStdString(), "0");
        w.findChild<QLineEdit*>("Edit3")->clear();
        QTest::keyClick(w.findChild<QWidget*>(field), Qt::Key_Return);
        EXPECT_EQ(w.findChild<QLabel*>("Label9")->text().toStdString(), "2");
    }
    QApplication::processEvents();
    const QTableView& g = *grid(w);
    const auto heads = headings(g);
    for (int c = 0; c < static_cast<int>(heads.size()); ++c)
        EXPECT_GE(g.columnWidth(c),
                  g.horizontalHeader()->fontMetrics().horizontalAdvance(QString::fromStdString(heads[c])))
            << heads[c];
    QTest::keyClick(w.findChild<QLineEdit*>("Edit1"), Qt::Key_Escape);
    EXPECT_FALSE(w.isVisible());
    EXPECT_TRUE(tc->prompts.shown().empty());
}

TEST_F(FeeQueryWindowTest, ExportWritesTheGridAfterTheSaveDialog) {
    user().logIn("张三", 1);
    TfrmFeeDetai& w = open();
    click(w, "Button1");
    const std::string path = (dir / "导出.xls").string();
    click(w, "BitBtn1");  // cancelled dialog: nothing
    EXPECT_FALSE(std::filesystem::exists(dir / "导出.xls"));
    tc->prompts.answerSave(path);
    click(w, "BitBtn1");
    const auto book = ca::spreadsheet::readXls(ca::spreadsheet::readWholeFile(path));
    ASSERT_EQ(book.sheets.size(), 1u);
    EXPECT_EQ(book.sheets[0].name(), "StringGrid1");
    EXPECT_EQ(book.sheets[0].text(1, 9), "小计");
    EXPECT_EQ(book.sheets[0].text(2, 2), "520120111000000001");
    EXPECT_EQ(book.sheets[0].text(4, 6), "合计：");
    // An existing file is replaced only when the clerk says so.
    tc->prompts.answerSave(path);
    click(w, "BitBtn1");
    EXPECT_EQ(tc->prompts.texts("question").size(), 1u);
    EXPECT_TRUE(tc->prompts.texts("error").empty());
    // The exports' one rule for names: an .xls written under an .xlsx name is refused, nothing asked.
    tc->prompts.answerSave((dir / "导出.xlsx").string());
    click(w, "BitBtn1");
    EXPECT_FALSE(std::filesystem::exists(dir / "导出.xlsx"));
    ASSERT_EQ(tc->prompts.texts("warning").size(), 1u);
    EXPECT_NE(tc->prompts.texts("warning")[0].find("只能导出为 .xls 文件"), std::string::npos);
    EXPECT_EQ(tc->prompts.texts("question").size(), 1u);
}

// The fee query opens where and as large as the clerk left it, with the column widths the clerk
// dragged, also after a new query fills the grid and the window sizes its columns; widths the
// window set itself are not kept. Everything is in the program's own settings, nothing in config.ini.
TEST_F(FeeQueryWindowTest, OpensWhereTheClerkLeftItWithTheColumnWidthsTheClerkSet) {
    user().logIn("张三", 1);
    auto ini = [&] {
        const auto file = dir / "config.ini";
        return std::filesystem::exists(file) ? ca::spreadsheet::readWholeFile(file.string()) : std::string();
    };
    const std::string iniBefore = ini();
    QRect placed;
    int dragged = 0, ownWidth = 0;
    {
        TfrmFeeDetai& w = open();
        w.setGeometry(130, 140, 900, 610);
        placed = w.geometry();
        click(w, "Button1");
        QHeaderView* header = grid(w)->horizontalHeader();
        ownWidth = header->sectionSize(0);
        // The clerk drags the right edge of the third column 60 pixels to the right.
        const int edge = header->sectionViewportPosition(2) + header->sectionSize(2) - 1;
        const int y = header->height() / 2;
        dragged = header->sectionSize(2) + 60;
        QTest::mousePress(header->viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(edge, y));
        QTest::mouseMove(header->viewport(), QPoint(edge + 30, y));
        QTest::mouseMove(header->viewport(), QPoint(edge + 60, y));
        QTest::mouseRelease(header->viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(edge + 60, y));
        ASSERT_EQ(header->sectionSize(2), dragged) << "the drag resized the column";
        header->resizeSection(0, ownWidth + 45);  // the window's own sizing: not the clerk's
        w.close();
    }
    windows.reset();  // the program ends; the next start makes the windows anew
    windows.emplace(tc->ctx, nullptr);

    TfrmFeeDetai& w = open();
    EXPECT_EQ(w.geometry(), placed);
    click(w, "Button1");  // a new query fills the grid and sizes its columns
    QApplication::processEvents();
    EXPECT_EQ(grid(w)->horizontalHeader()->sectionSize(2), dragged);
    EXPECT_NE(grid(w)->horizontalHeader()->sectionSize(0), ownWidth + 45);
    EXPECT_EQ(ini(), iniBefore);
    EXPECT_TRUE(QFile::exists(windowMemoryFile()));
}
