#include <QLineEdit>
#include <QTest>

#include "FeeWindowsFixture.h"
#include "WindowDriver.h"
#include "ca/app/fees/TfrmFeeMagAdd.h"

using namespace ca::app;
using ca::app::test::click;

TEST_F(FeeWindowsFixture, FeeItemDialogAddsWithItsDefaultsAndRefusesRepeats) {
    TfrmFeeMagAdd& d = windows->open<TfrmFeeMagAdd>();
    EXPECT_EQ(d.windowTitle().toStdString(), "费用项目增加");
    click(d, "Button1");
    EXPECT_EQ(tc->prompts.texts("info"), std::vector<std::string>{"增加成功！"});
    EXPECT_EQ(column("select L_have_Limit from limit where L_func_code='zdy01'"),
              std::vector<std::string>{"0"});
    click(d, "Button1");
    d.findChild<QLineEdit*>("Edit1")->setText("ty_no");
    click(d, "Button1");
    EXPECT_EQ(
        tc->prompts.texts("warning"),
        (std::vector<std::string>{"已经存在相同的新字段名称！请重新输入。", "ty_no 是系统字段不可用！"}));
    click(d, "Button2");
    EXPECT_FALSE(d.isVisible());
    EXPECT_EQ(d.findChild<QLineEdit*>("Edit1")->text().toStdString(), "ty_no");
}

// Enter in a field does what "确定增加" does, and Esc closes the dialog.
TEST_F(FeeWindowsFixture, FeeItemDialogTakesEnterAndEscape) {
    TfrmFeeMagAdd& d = windows->open<TfrmFeeMagAdd>();
    QTest::keyClick(d.findChild<QLineEdit*>("Edit2"), Qt::Key_Return);
    EXPECT_EQ(tc->prompts.texts("info"), std::vector<std::string>{"增加成功！"});
    QTest::keyClick(d.findChild<QLineEdit*>("Edit1"), Qt::Key_Escape);
    EXPECT_FALSE(d.isVisible());
    EXPECT_EQ(tc->prompts.shown().size(), 1u);
}
