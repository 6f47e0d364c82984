// The document query window driven as the clerk drives it: search, keyboard, clicks, labels.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <algorithm>

#include "ReportsFixture.h"
#include "TestContext.h"
#include "WindowDriver.h"
#include "ca/app/common/Windows.h"
#include "ca/app/reports/TfrmDataDetail.h"

namespace ca::app {
namespace {

using test::cells;
using test::click;

class DataDetailWindow : public ::testing::Test {
protected:
    void SetUp() override {
        reports::testing::addSample(t.dm);
        w.show();
        w.findChild<QDateEdit*>("DateTimePicker1")->setDate(QDate(2011, 1, 1));
        w.findChild<QDateEdit*>("DateTimePicker2")->setDate(QDate(2011, 2, 28));
    }
    QTableView& grid(const char* name) { return *w.findChild<QTableView*>(name); }
    std::string box(const char* name) { return w.findChild<QLineEdit*>(name)->text().toStdString(); }
    std::string label(const char* name) { return w.findChild<QLabel*>(name)->text().toStdString(); }
    // The label in front of a box.
    QLabel* labelOf(const char* box) {
        for (auto* l : w.findChildren<QLabel*>())
            if (l->buddy() == w.findChild<QLineEdit*>(box)) return l;
        return nullptr;
    }
    // A mouse click on the first cell of a header row.
    void clickRow(int row) {
        QTableView& g = grid("DBGrid1");
        const QRect r = g.visualRect(g.model()->index(row, 0));
        QTest::mouseClick(g.viewport(), Qt::LeftButton, {}, r.center());
    }
    int rowOf(const std::string& serial) {
        const auto rows = cells(grid("DBGrid1"));
        for (size_t i = 0; i < rows.size(); ++i)
            if (rows[i][0].ends_with(serial)) return static_cast<int>(i);
        return -1;
    }

    test::TestContext t;
    Windows windows{t.ctx, nullptr};
    TfrmDataDetail& w = windows.get<TfrmDataDetail>();
};

TEST_F(DataDetailWindow, StartsEmptyWithItsInitialValues) {
    EXPECT_EQ(w.windowTitle().toStdString(), "海关数据明细");
    TfrmDataDetail fresh(t.ctx, windows);
    EXPECT_EQ(fresh.findChild<QDateEdit*>("DateTimePicker1")->date(), QDate(2010, 12, 1));
    EXPECT_EQ(fresh.findChild<QDateEdit*>("DateTimePicker2")->date(), QDate::currentDate());
    EXPECT_EQ(fresh.findChild<QDateEdit*>("DateTimePicker3")->date(), QDate(2010, 12, 10));
    EXPECT_EQ(fresh.findChild<QComboBox*>("ComboBox3")->currentText(), "");
    EXPECT_EQ(fresh.findChild<QComboBox*>("ComboBox3")->count(), 4);
    EXPECT_TRUE(fresh.findChild<QPushButton*>("BitBtn1")->isHidden());
    EXPECT_EQ(fresh.findChild<QPushButton*>("BitBtn1")->text(), "费用录入");
    EXPECT_TRUE(cells(*fresh.findChild<QTableView*>("DBGrid1")).empty());
    EXPECT_EQ(test::headings(*fresh.findChild<QTableView*>("DBGrid1")).size(), 46u);
    EXPECT_EQ(test::headings(*fresh.findChild<QTableView*>("DBGrid2")).front(), "商品序号");
    ASSERT_NE(labelOf("DBEdit_ZSBL"), nullptr);
    EXPECT_EQ(labelOf("DBEdit_ZSBL")->text().toStdString(), "征税比例：");
    EXPECT_FALSE(w.findChild<QLineEdit*>("DBEditSub_GJF")->isHidden());

    // A click on the empty grid before any search does nothing.
    QTest::mouseClick(grid("DBGrid1").viewport(), Qt::LeftButton);
    EXPECT_TRUE(t.prompts.shown().empty());
    EXPECT_EQ(label("GoodsCount"), "0");
}

TEST_F(DataDetailWindow, SearchFillsTheGridAndThePanelFollowsTheCurrentRow) {
    click(w, "Button1");
    EXPECT_EQ(cells(grid("DBGrid1")).size(), 6u);
    EXPECT_EQ(label("HeaderCount"), "6");
    const auto rows = cells(grid("DBGrid1"));
    EXPECT_EQ(box("DBEdit_TY_No"), rows[0][0]);
    EXPECT_EQ(box("DBEdit_SB_Date"), rows[0][7]);

    // The arrow keys move the panel, the goods lines and their count together.
    grid("DBGrid1").setFocus();
    const int exportRow = rowOf("000000002"), importRow = rowOf("000000001");  // 6 and 5 lines
    const auto moveTo = [&](int row) {
        while (grid("DBGrid1").currentIndex().row() != row)
            QTest::keyClick(&grid("DBGrid1"),
                            grid("DBGrid1").currentIndex().row() < row ? Qt::Key_Down : Qt::Key_Up);
    };
    moveTo(exportRow);
    EXPECT_EQ(box("DBEdit_TY_No"), rows[static_cast<size_t>(exportRow)][0]);
    EXPECT_EQ(cells(grid("DBGrid2")).size(), 6u);
    EXPECT_EQ(label("GoodsCount"), "6");
    EXPECT_EQ(box("DBEditSub_SPMC_Name"), "货1");
    moveTo(importRow);
    EXPECT_EQ(box("DBEdit_TY_No"), rows[static_cast<size_t>(importRow)][0]);
    EXPECT_EQ(cells(grid("DBGrid2")).size(), 5u);
    EXPECT_EQ(label("GoodsCount"), "5");

    // Only the serial part of the unified number matches; the count shows the new result.
    w.findChild<QLineEdit*>("Edit1")->setText("000000002");
    click(w, "Button1");
    ASSERT_EQ(cells(grid("DBGrid1")).size(), 1u);
    EXPECT_EQ(box("DBEdit_JYDW_Name"), "O'Neil公司");
    EXPECT_EQ(label("HeaderCount"), "1");
    w.findChild<QLineEdit*>("Edit1")->setText("520120111000000002");
    click(w, "Button1");
    EXPECT_TRUE(cells(grid("DBGrid1")).empty());
    EXPECT_EQ(box("DBEdit_TY_No"), "");
    EXPECT_EQ(label("HeaderCount"), "0");
    // No goods lines under an empty grid.
    EXPECT_TRUE(cells(grid("DBGrid2")).empty());
    EXPECT_EQ(label("GoodsCount"), "0");
    EXPECT_EQ(box("DBEditSub_SPMC_Name"), "");
}

TEST_F(DataDetailWindow, ClickLoadsTheGoodsAndSwitchesTheKindLabels) {
    click(w, "Button1");
    QLabel* zsbl = labelOf("DBEdit_ZSBL");
    auto* gjf = w.findChild<QLineEdit*>("DBEditSub_GJF");

    clickRow(rowOf("000000002"));  // export, 6 lines
    EXPECT_EQ(cells(grid("DBGrid2")).size(), 6u);
    EXPECT_EQ(label("GoodsCount"), "6");
    EXPECT_EQ(box("DBEditSub_SPMC_Name"), "货1");
    EXPECT_EQ(box("DBEditSub_SCCJ"), "厂B");
    EXPECT_EQ(zsbl->text().toStdString(), "结汇方式：");
    EXPECT_FALSE(gjf->isHidden());

    clickRow(rowOf("000000001"));  // import, 5 lines
    EXPECT_EQ(label("GoodsCount"), "5");
    EXPECT_EQ(zsbl->text().toStdString(), "征税比例：");
    EXPECT_TRUE(gjf->isHidden());
    EXPECT_TRUE(labelOf("DBEditSub_SCCJ")->isHidden());

    // A new search shows the goods and the labels of its first row.
    w.findChild<QComboBox*>("ComboBox3")->setCurrentText("出口报关单");
    click(w, "Button1");
    EXPECT_EQ(cells(grid("DBGrid1")).size(), 3u);
    EXPECT_EQ(label("GoodsCount"), std::to_string(cells(grid("DBGrid2")).size()));
    EXPECT_FALSE(gjf->isHidden());
}

// Enter in any filter field runs the query as "查询" does; Esc closes the window.
TEST_F(DataDetailWindow, EnterInAFilterFieldQueriesAndEscapeCloses) {
    for (const char* field : {"Edit1", "Edit69", "DateTimePicker2", "ComboBox3", "CheckBox2"}) {
        SCOPED_TRACE(field);
        auto* control = w.findChild<QWidget*>(field);
        ASSERT_NE(control, nullptr);
        QTest::keyClick(control, Qt::Key_Return);
        EXPECT_EQ(label("HeaderCount"), "6");
        EXPECT_EQ(t.prompts.shown().size(), 0u);
        // Reset the grid so that the next field has to run the query again.
        w.findChild<QLineEdit*>("Edit1")->setText("x");
        click(w, "Button1");
        EXPECT_EQ(label("HeaderCount"), "0");
        w.findChild<QLineEdit*>("Edit1")->clear();
    }
    QTest::keyClick(w.findChild<QLineEdit*>("Edit68"), Qt::Key_Escape);
    EXPECT_FALSE(w.isVisible());
    EXPECT_EQ(&windows.get<TfrmDataDetail>(), &w) << "closing only hides";
}

// The header grid takes most of the window's width and shows whole numbers: each column is as wide
// as its longest text, within the grid's visible width.
TEST_F(DataDetailWindow, ColumnsShowWholeValuesAndTheGridUsesTheWindow) {
    click(w, "Button1");
    QApplication::processEvents();
    QTableView& headers = grid("DBGrid1");
    EXPECT_GT(headers.width(), w.width() / 2);
    const auto rows = cells(headers);
    const auto heads = test::headings(headers);
    for (int c = 0; c < headers.model()->columnCount(); ++c) {
        int widest =
            headers.horizontalHeader()->fontMetrics().horizontalAdvance(QString::fromStdString(heads[c]));
        for (const auto& row : rows)
            widest =
                std::max(widest, headers.fontMetrics().horizontalAdvance(QString::fromStdString(row[c])));
        EXPECT_GE(headers.columnWidth(c), std::min(widest, headers.viewport()->width())) << heads[c];
    }
}

TEST_F(DataDetailWindow, RefusedStatementShowsTheErrorAndEmptiesTheGrid) {
    click(w, "Button1");
    t.dm.ADOConnection1.execRaw("DROP TABLE LoadData");
    click(w, "Button1");
    ASSERT_EQ(t.prompts.texts("error").size(), 1u);
    EXPECT_TRUE(cells(grid("DBGrid1")).empty());
    EXPECT_EQ(label("HeaderCount"), "6");  // the count keeps its previous value
    EXPECT_TRUE(w.isVisible());
}

TEST_F(DataDetailWindow, ShowDeclarationFillsTheFilterAndRuns) {
    w.hide();
    w.showDeclaration("000000004", {2011, 1, 10});
    EXPECT_TRUE(w.isVisible());
    EXPECT_EQ(w.findChild<QLineEdit*>("Edit1")->text(), "000000004");
    EXPECT_EQ(w.findChild<QDateEdit*>("DateTimePicker1")->date(), QDate(2011, 1, 10));
    EXPECT_EQ(w.findChild<QDateEdit*>("DateTimePicker2")->date(), QDate(2011, 1, 10));
    ASSERT_EQ(cells(grid("DBGrid1")).size(), 1u);
    EXPECT_EQ(box("DBEdit_JYDW_Name"), "公司D");
    EXPECT_EQ(&windows.get<TfrmDataDetail>(), &w);
}

}  // namespace
}  // namespace ca::app
