// The window table: each role another window asks for is played by its window, and each menu
// command opens its window, the same one whoever opens it.
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>

#include "FeeWindowsFixture.h"
#include "WindowDriver.h"
#include "ca/app/fees/TfrmFeeInput.h"
#include "ca/app/main/WindowTable.h"
#include "ca/app/reports/TfrmDataDetail.h"

using namespace ca::app;
using ca::app::test::cells;
using ca::app::test::click;

namespace {

class WindowTableTest : public FeeWindowsFixture {
protected:
    void SetUp() override {
        FeeWindowsFixture::SetUp();
        provideWindowRoles(*windows);
    }
    TfrmFeeInput& window() { return windows->get<TfrmFeeInput>(); }
    QLineEdit* edit(const char* name) { return window().findChild<QLineEdit*>(name); }
    std::string label9() { return window().findChild<QLabel*>("Label9")->text().toStdString(); }
};

}  // namespace

// The document query and fee entry reach each other: its "费用录入" loads the current declaration
// here, and "查看单据明细" here shows the declaration there, found by serial and date.
TEST_F(WindowTableTest, TheDocumentQueryAndFeeEntryOpenEachOther) {
    struct Case {
        int category;
        bool loggedIn;
        bool feeButtonShown;
    };
    for (const Case& c :
         {Case{0, false, false}, Case{0, true, true}, Case{1, true, true}, Case{2, true, false}}) {
        windows.emplace(tc->ctx, nullptr);
        provideWindowRoles(*windows);
        user() = ca::users::CurrentUser{};
        if (c.loggedIn) user().logIn("张三", c.category);
        TfrmDataDetail& query = windows->get<TfrmDataDetail>();
        EXPECT_EQ(query.findChild<QPushButton*>("BitBtn1")->isHidden(), !c.feeButtonShown) << c.category;
    }

    TfrmDataDetail& query = windows->get<TfrmDataDetail>();  // logged in as category 2 above
    user().logIn("张三", 1);
    windows->get<TfrmFeeInput>();  // created for a user who may see the details button
    query.showDeclaration("123456789", ca::Date{2011, 1, 5});
    ASSERT_EQ(cells(*query.findChild<QTableView*>("DBGrid1")).size(), 1u);
    query.BitBtn1Click();
    EXPECT_TRUE(window().isVisible());
    EXPECT_EQ(edit("Edit7")->text().toStdString(), "TY0000000123456789");
    EXPECT_EQ(label9(), "42.50");

    query.hide();
    click(window(), "Button1");
    EXPECT_TRUE(query.isVisible());
    EXPECT_EQ(query.findChild<QLineEdit*>("Edit1")->text().toStdString(), "123456789");
    EXPECT_EQ(query.findChild<QDateEdit*>("DateTimePicker1")->date(), QDate(2011, 1, 5));
    EXPECT_EQ(query.findChild<QDateEdit*>("DateTimePicker2")->date(), QDate(2011, 1, 5));
    EXPECT_EQ(cells(*query.findChild<QTableView*>("DBGrid1")).size(), 1u);
}
