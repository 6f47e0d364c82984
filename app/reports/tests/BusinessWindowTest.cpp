// The business data window: its initial values, the enabling rule and both commands with their
// messages.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QLineEdit>
#include <filesystem>

#include "ReportsFixture.h"
#include "TestContext.h"
#include "WindowDriver.h"
#include "ca/app/reports/TfrmEportData.h"
#include "ca/spreadsheet/Workbook.h"
#include "ca/util/IniFile.h"
#include "ca/util/Settings.h"

namespace ca::app {
namespace {

using test::click;

class BusinessWindow : public ::testing::Test {
protected:
    BusinessWindow() {
        reports::testing::addSample(t.dm);
        w.show();
    }
    template <class T>
    T& control(const char* name) {
        return *w.findChild<T*>(name);
    }
    void january2011() {
        control<QComboBox>("ComboBox1").setCurrentText("2011");
        control<QComboBox>("ComboBox2").setCurrentText("01");
    }
    static std::filesystem::path configWithUnit(const reports::testing::TempDir& dir) {
        const std::filesystem::path file = dir.file("config.ini");
        IniFile(file).WriteString(settings::kSection, settings::kDeclaringUnit, "5201980001");
        return file;
    }

    reports::testing::TempDir dir;
    test::TestContext t{configWithUnit(dir)};
    TfrmEportData w{t.ctx};
};

TEST_F(BusinessWindow, InitialValuesAndTheEnablingRule) {
    EXPECT_EQ(w.windowTitle().toStdString(), "生成业务数据");
    const QDate today = QDate::currentDate();
    auto& years = control<QComboBox>("ComboBox1");
    EXPECT_EQ(years.itemText(0), "2006");
    EXPECT_EQ(years.itemText(years.count() - 1), QString::number(today.year()));
    EXPECT_EQ(years.currentText(), QString::number(today.year()));
    EXPECT_EQ(control<QComboBox>("ComboBox2").currentText().toInt(), today.month());
    EXPECT_EQ(control<QComboBox>("ComboBox2").itemText(0), "01");
    EXPECT_EQ(control<QLineEdit>("Edit1").text(), "5201980001");
    EXPECT_EQ(control<QLineEdit>("Edit6").text(), "5201");
    EXPECT_EQ(control<QComboBox>("ComboBox3").currentText(), "无");
    EXPECT_EQ(control<QDateEdit>("DateTimePicker3").date(), QDate(2010, 12, 10));
    EXPECT_EQ(control<QDateEdit>("DateTimePicker4").date(), today);

    EXPECT_FALSE(control<QDateEdit>("DateTimePicker3").isEnabled());
    EXPECT_TRUE(years.isEnabled());
    control<QCheckBox>("CheckBox1").click();
    EXPECT_TRUE(control<QDateEdit>("DateTimePicker3").isEnabled());
    EXPECT_TRUE(control<QDateEdit>("DateTimePicker4").isEnabled());
    EXPECT_FALSE(years.isEnabled());
    EXPECT_FALSE(control<QComboBox>("ComboBox2").isEnabled());
    EXPECT_TRUE(w.filter().useRange);
    control<QCheckBox>("CheckBox1").click();
    EXPECT_FALSE(control<QDateEdit>("DateTimePicker4").isEnabled());
    EXPECT_TRUE(years.isEnabled());
}

TEST_F(BusinessWindow, CommandsWriteAskAndWarn) {
    january2011();
    const std::string path = dir.file("一月.xls");
    t.prompts.answerSave(path);
    click(w, "Button3");
    EXPECT_TRUE(t.prompts.texts("warning").empty());
    EXPECT_EQ(w.exportTable().declarationCount(), 2);
    const auto book = spreadsheet::Workbook::open(path);
    EXPECT_EQ(book.cellText(1, 3), "电话号码");
    EXPECT_EQ(book.cellText(2, 17), "520120111000000001");

    // 生成非一般贸易数据 over the same file: replaced only after a yes.
    t.prompts.answerSave(path);
    t.prompts.answerQuestion(Button::No);
    click(w, "Button1");
    EXPECT_EQ(t.prompts.texts("warning"), (std::vector<std::string>{"导出时出错！"}));
    EXPECT_EQ(spreadsheet::Workbook::open(path).cellText(1, 3), "电话号码");

    // Nothing matches: the warning, and the table of the previous command stays.
    control<QComboBox>("ComboBox1").setCurrentText("2006");
    click(w, "Button3");
    EXPECT_EQ(t.prompts.texts("warning").back(), "查不到符合条件的数据！");
    EXPECT_EQ(w.exportTable().rows()[0][1], "经营单位名称");

    // The dialog cancelled: nothing written, no message.
    january2011();
    const size_t shown = t.prompts.shown().size();
    click(w, "Button1");
    EXPECT_EQ(t.prompts.shown().size(), shown + 1);  // the save dialog only
}

TEST_F(BusinessWindow, DatabaseErrorGoesToTheErrorBoxAndCloseHides) {
    t.dm.ADOConnection1.execRaw("DROP TABLE subData");
    january2011();
    click(w, "Button3");
    EXPECT_EQ(t.prompts.texts("error").size(), 1u);
    EXPECT_TRUE(t.prompts.texts("save").empty());
    click(w, "Button2");
    EXPECT_FALSE(w.isVisible());
}

}  // namespace
}  // namespace ca::app
