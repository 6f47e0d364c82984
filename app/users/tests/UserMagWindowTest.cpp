// "用户管理" driven as the administrator drives it: the tree, its pop-up menus, the fields of a
// clicked user, both save buttons and the department box.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QCoreApplication>
#include <QFocusEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTableWidget>
#include <QTreeWidget>
#include <cstdlib>
#include <memory>

#include "ca/app/users/TfrmUserMag.h"
#include "ca/db/testing/DbFixture.h"
#include "ca/users/Cipher.h"
#include "ca/util/Clock.h"
#include "ca/util/Printer.h"
#include "ca/util/Prompts.h"

using namespace ca;
using namespace ca::app;

namespace {

class UserMagWindowTest : public DbFixture {
protected:
    void SetUp() override {
        exec("insert into DEP(ID,DEP_Name) values(5,'报关部')");
        exec("insert into DEP(ID,DEP_Name) values(2,'财务部')");
        exec("insert into DEP(ID,DEP_Name) values(9,'空部门')");
        addUser(7, "张三", 2, "女", users::EncryptToHex("口令乗", users::PasswordKey), 2);
        addUser(3, "李四", 5, "男", "", 1);
        addUser(4, "管理员", 2, "男", users::EncryptToHex("admin", users::PasswordKey), 1);
        exec("insert into limit(L_pers_id,L_func_code,L_func_name,L_have_Limit) values(7,'bgf','报关费',1)");
        exec("insert into limit(L_pers_id,L_func_code,L_func_name,L_have_Limit) values(7,'sjf','',0)");
        w = std::make_unique<TfrmUserMag>(ctx);
        w->show();
    }
    void addUser(int id, const char* name, int dep, const char* sex, const std::string& pwd, int category) {
        exec(
            "insert into employee(E_ID,E_name,E_DEP,E_sex,E_pos,E_pwd,e_mobile,E_isSup,e_add1,e_add2) "
            "values(" +
            std::to_string(id) + ",'" + name + "'," + std::to_string(dep) + ",'" + sex + "','职务" +
            std::to_string(id) + "','" + pwd + "','1390000" + std::to_string(id) + "'," +
            std::to_string(category) + ",'地址甲','地址乙')");
    }

    template <class T>
    T* get(const char* name) {
        T* c = w->findChild<T*>(name);
        EXPECT_TRUE(c) << name;
        return c;
    }
    QTreeWidget* tree() { return get<QTreeWidget>("TreeView1"); }
    QString text(const char* edit) { return get<QLineEdit>(edit)->text(); }
    // The tree as "name#id" lines, children indented.
    std::vector<std::string> treeLines() {
        std::vector<std::string> lines;
        for (int i = 0; i < tree()->topLevelItemCount(); ++i) {
            QTreeWidgetItem* d = tree()->topLevelItem(i);
            lines.push_back(d->text(0).toStdString() + "#" + std::to_string(TfrmUserMag::nodeId(d)));
            for (int j = 0; j < d->childCount(); ++j)
                lines.push_back("  " + d->child(j)->text(0).toStdString() + "#" +
                                std::to_string(TfrmUserMag::nodeId(d->child(j))));
        }
        return lines;
    }
    QTreeWidgetItem* node(const char* name) {
        const auto found = tree()->findItems(name, Qt::MatchExactly | Qt::MatchRecursive);
        EXPECT_EQ(found.size(), 1) << name;
        return found.value(0);
    }
    QPoint at(QTreeWidgetItem* n) { return tree()->visualItemRect(n).center(); }
    // A left click on a node: the mouse-down selects it, the click shows it.
    void clickNode(QTreeWidgetItem* n) {
        w->TreeView1MouseDown(Qt::LeftButton, at(n));
        w->TreeView1Click();
    }
    void rightClick(const QPoint& p) { w->TreeView1MouseDown(Qt::RightButton, p); }
    void trigger(const char* item) {
        QAction* a = get<QAction>(item);
        a->trigger();
    }
    std::vector<std::vector<std::string>> grid() {
        auto* g = get<QTableWidget>("StringGrid1");
        std::vector<std::vector<std::string>> rows;
        for (int r = 0; r < g->rowCount(); ++r) {
            std::vector<std::string> row;
            for (int c = 0; c < g->columnCount(); ++c)
                row.push_back(g->item(r, c) ? g->item(r, c)->text().toStdString() : "");
            rows.push_back(row);
        }
        return rows;
    }
    void click(const char* button) {
        auto* b = get<QPushButton>(button);
        ASSERT_TRUE(b->isVisible() && b->isEnabled()) << button;
        b->click();
    }

    ScriptedPrompts prompts;
    VirtualClock clock;
    RecordingPrinter printer;
    users::CurrentUser user;
    AppContext ctx{prompts, dm, clock, printer, user, {}};
    std::unique_ptr<TfrmUserMag> w;
};

TEST_F(UserMagWindowTest, TreeListsDepartmentsInReverseWithTheirIds) {
    EXPECT_EQ(w->windowTitle().toStdString(), "用户管理");
    EXPECT_EQ(treeLines(), (std::vector<std::string>{"空部门#9", "财务部#2", "  张三#7", "  管理员#4",
                                                     "报关部#5", "  李四#3"}));
    // The department box lists them in the returned order, nothing chosen; the categories in theirs.
    auto* deps = get<QComboBox>("ComboBox2");
    ASSERT_EQ(deps->count(), 3);
    EXPECT_EQ(deps->itemText(0).toStdString(), "报关部");
    EXPECT_EQ(deps->currentIndex(), -1);
    auto* categories = get<QComboBox>("ComboBox3");
    ASSERT_EQ(categories->count(), 3);
    EXPECT_EQ(categories->itemText(2).toStdString(), "QP用户");

    // A department added from the menu goes to the end until the next rebuild.
    rightClick(QPoint(5, tree()->viewport()->height() - 3));
    prompts.answerInput(std::string("技术部"));
    trigger("N4");
    EXPECT_EQ(treeLines().back(), "技术部#10");
    trigger("N6");
    EXPECT_EQ(treeLines().front(), "技术部#10");

    // With no department left, a refresh keeps what the tree shows.
    exec("delete from DEP");
    const auto before = treeLines();
    trigger("N6");
    EXPECT_EQ(treeLines(), before);
    EXPECT_EQ(deps->count(), 4);
}

TEST_F(UserMagWindowTest, RightClickPopsUpTheMenuOfWhatIsUnderThePointer) {
    rightClick(at(node("张三")));
    EXPECT_EQ(w->lastPopup(), get<QMenu>("PopupMenu1"));
    EXPECT_EQ(w->selectedNode(), node("张三"));
    rightClick(at(node("财务部")));
    EXPECT_EQ(w->lastPopup(), get<QMenu>("PopupMenu2"));
    EXPECT_EQ(w->selectedNode(), node("财务部"));
    rightClick(QPoint(5, tree()->viewport()->height() - 3));
    EXPECT_EQ(w->lastPopup(), get<QMenu>("PopupMenu3"));
    EXPECT_EQ(w->selectedNode(), nullptr);
    EXPECT_TRUE(get<QMenu>("PopupMenu3")->isVisible());
    get<QMenu>("PopupMenu3")->hide();

    auto captions = [this](const char* menu) {
        std::vector<std::string> out;
        for (QAction* a : get<QMenu>(menu)->actions())
            out.push_back(a->objectName().toStdString() + " " + a->text().toStdString());
        return out;
    };
    EXPECT_EQ(captions("PopupMenu1"), std::vector<std::string>{"N2 删除用户"});
    EXPECT_EQ(captions("PopupMenu2"),
              (std::vector<std::string>{"N5 新增用户", "N3 修改部门名称", "N1 删除部门"}));
    EXPECT_EQ(captions("PopupMenu3"), (std::vector<std::string>{"N4 新增部门", "N6 刷新"}));
}

TEST_F(UserMagWindowTest, ClickingAUserFillsHisFieldsAndPermissions) {
    clickNode(node("张三"));
    EXPECT_EQ(text("Edit1").toStdString(), "7");
    EXPECT_TRUE(get<QLineEdit>("Edit1")->isReadOnly());
    EXPECT_EQ(text("Edit2").toStdString(), "张三");
    EXPECT_EQ(get<QComboBox>("ComboBox1")->currentText().toStdString(), "女");
    EXPECT_EQ(get<QComboBox>("ComboBox2")->currentText().toStdString(), "财务部");
    EXPECT_EQ(get<QComboBox>("ComboBox3")->currentText().toStdString(), "QP用户");
    EXPECT_EQ(text("Edit4").toStdString(), "13900007");
    EXPECT_EQ(text("Edit5").toStdString(), "职务7");
    EXPECT_EQ(text("Edit6").toStdString(), "口令乗");
    EXPECT_EQ(text("Edit7").toStdString(), "口令乗");
    EXPECT_EQ(get<QLineEdit>("Edit6")->echoMode(), QLineEdit::Password);
    EXPECT_EQ(text("Edit8").toStdString(), "地址甲");
    EXPECT_EQ(text("Edit9").toStdString(), "地址乙");
    EXPECT_EQ(grid(), (std::vector<std::vector<std::string>>{{"报关费", "1", "bgf"}, {" ", "0", "sjf"}}));

    // No password stored: both fields empty. A department: the grid empties, the fields stay.
    clickNode(node("李四"));
    EXPECT_EQ(text("Edit6").toStdString(), "");
    EXPECT_EQ(grid(), (std::vector<std::vector<std::string>>{{"", "", ""}}));
    clickNode(node("财务部"));
    EXPECT_EQ(text("Edit2").toStdString(), "李四");

    // A user deleted meanwhile.
    exec("delete from employee where E_ID=4");
    clickNode(node("管理员"));
    EXPECT_EQ(prompts.texts("warning"), std::vector<std::string>{"此帐户已经被删除，请刷新树列表！"});
    EXPECT_EQ(text("Edit2").toStdString(), "李四");
}

TEST_F(UserMagWindowTest, SavingTheFieldsAndThePermissions) {
    // Nothing shown yet: refused with a message, nothing asked.
    click("BitBtn1");
    click("BitBtn2");
    EXPECT_EQ(prompts.texts("warning"), (std::vector<std::string>{"请先在左边的列表中选择一个用户！",
                                                                  "请先在左边的列表中选择一个用户！"}));
    EXPECT_TRUE(prompts.texts("question").empty());

    clickNode(node("张三"));
    prompts.clear();
    get<QLineEdit>("Edit2")->setText("管理员");
    click("BitBtn1");
    get<QLineEdit>("Edit2")->setText("O'Neil");
    get<QLineEdit>("Edit7")->setText("别的");
    click("BitBtn1");
    get<QLineEdit>("Edit6")->setText("别的");
    get<QComboBox>("ComboBox3")->setCurrentIndex(1);
    get<QComboBox>("ComboBox2")->setCurrentIndex(0);  // 报关部
    prompts.answerQuestion(Button::Yes);
    click("BitBtn1");
    EXPECT_EQ(prompts.texts("warning"),
              (std::vector<std::string>{"已经存在相同的用户名称！", "您两次输入的密码不一致！"}));
    EXPECT_EQ(prompts.texts("question"), std::vector<std::string>{"您确定要保存用户信息吗？"});
    EXPECT_EQ(rows("select E_name,E_DEP,E_isSup,E_pwd from employee where E_ID=7"),
              std::vector<std::string>{"O'Neil|5|1|" + users::EncryptToHex("别的", users::PasswordKey)});
    EXPECT_EQ(node("张三")->text(0).toStdString(), "张三");  // the node keeps its text until a rebuild

    prompts.clear();
    auto* g = get<QTableWidget>("StringGrid1");
    EXPECT_FALSE(g->item(0, 0)->flags() & Qt::ItemIsEditable);
    g->item(0, 1)->setText("x");
    prompts.answerQuestion(Button::Yes);
    click("BitBtn2");
    EXPECT_EQ(prompts.texts("warning"),
              std::vector<std::string>{"报关费输入错误，只允许输入0和1 \r\n0=不允许操作 ；1=允许操作"});
    g->item(0, 1)->setText("0");
    g->item(1, 1)->setText("1");
    prompts.answerQuestion(Button::Yes);
    click("BitBtn2");
    EXPECT_EQ(rows("select L_func_code,L_have_Limit from limit where L_pers_id=7 order by L_func_code"),
              (std::vector<std::string>{"bgf|0", "sjf|0"}));  // the second row is matched by its name " "
    EXPECT_EQ(prompts.texts("question").size(), 2u);
}

TEST_F(UserMagWindowTest, PopUpActionsChangeTheTree) {
    rightClick(at(node("财务部")));
    trigger("N5");
    EXPECT_EQ(node("新增用户8")->parent(), node("财务部"));
    EXPECT_EQ(TfrmUserMag::nodeId(node("新增用户8")), 8);
    EXPECT_EQ(w->selectedNode(), node("财务部"));  // the new node is not selected

    rightClick(at(node("管理员")));
    trigger("N2");
    EXPECT_EQ(prompts.texts("plain"), std::vector<std::string>{"管理员 用户不能删除！"});
    rightClick(at(node("新增用户8")));
    trigger("N2");
    EXPECT_TRUE(tree()->findItems("新增用户8", Qt::MatchExactly | Qt::MatchRecursive).isEmpty());

    rightClick(at(node("财务部")));
    prompts.answerInput(std::string("财务 & 审计"));
    trigger("N3");
    EXPECT_EQ(TfrmUserMag::nodeId(node("财务 & 审计")), 2);
    prompts.answerQuestion(Button::No);
    trigger("N1");
    EXPECT_EQ(tree()->topLevelItemCount(), 3);
    prompts.answerQuestion(Button::Yes);
    trigger("N1");
    EXPECT_EQ(treeLines(), (std::vector<std::string>{"空部门#9", "报关部#5", "  李四#3"}));
    EXPECT_EQ(rows("select E_ID from employee"), std::vector<std::string>{"3"});
}

TEST_F(UserMagWindowTest, EnteringTheDepartmentBoxReloadsItAndDropsTheChoice) {
    clickNode(node("张三"));
    auto* deps = get<QComboBox>("ComboBox2");
    EXPECT_EQ(deps->currentText().toStdString(), "财务部");
    exec("insert into DEP(ID,DEP_Name) values(11,'新部门')");
    QFocusEvent back(QEvent::FocusIn, Qt::PopupFocusReason);  // its own list closing: no reload
    QCoreApplication::sendEvent(deps, &back);
    EXPECT_EQ(deps->count(), 3);
    QFocusEvent enter(QEvent::FocusIn, Qt::TabFocusReason);
    QCoreApplication::sendEvent(deps, &enter);
    EXPECT_EQ(deps->count(), 4);
    EXPECT_EQ(deps->currentIndex(), -1);
    EXPECT_EQ(deps->itemText(3).toStdString(), "新部门");
}

TEST_F(UserMagWindowTest, ADatabaseErrorDuringASaveIsShownAndTheWindowStaysUsable) {
    clickNode(node("张三"));
    dm.ADOConnection1.execRaw(
        "CREATE TRIGGER locked BEFORE UPDATE ON employee BEGIN SELECT RAISE(ABORT, 'database is locked'); "
        "END");
    prompts.answerQuestion(Button::Yes);
    click("BitBtn1");
    EXPECT_EQ(prompts.texts("error").size(), 1u);
    EXPECT_EQ(rows("select E_pos from employee where E_ID=7"), std::vector<std::string>{"职务7"});
    dm.ADOConnection1.execRaw("DROP TRIGGER locked");
    get<QLineEdit>("Edit5")->setText("主管");
    prompts.answerQuestion(Button::Yes);
    click("BitBtn1");
    EXPECT_EQ(rows("select E_pos from employee where E_ID=7"), std::vector<std::string>{"主管"});
}

TEST_F(UserMagWindowTest, WhileAnEntryOrDownloadRunsNothingIsWritten) {
    clickNode(node("张三"));
    ctx.busy().setBusy(true);
    for (const char* button : {"BitBtn1", "BitBtn2"})
        EXPECT_FALSE(get<QPushButton>(button)->isEnabled()) << button;
    for (const char* item : {"N1", "N2", "N3", "N4", "N5"})
        EXPECT_FALSE(get<QAction>(item)->isEnabled()) << item;
    EXPECT_TRUE(get<QAction>("N6")->isEnabled());  // a refresh only reads
    clickNode(node("李四"));                       // and so does showing a user
    EXPECT_EQ(text("Edit2").toStdString(), "李四");
    ctx.busy().setBusy(false);
    EXPECT_TRUE(get<QPushButton>("BitBtn1")->isEnabled());
    EXPECT_TRUE(get<QAction>("N4")->isEnabled());
}

TEST_F(UserMagWindowTest, LooksRight) {
    clickNode(node("张三"));
    if (const char* out = std::getenv("CA_SCREENSHOTS")) w->grab().save(QString(out) + "/frmUserMag.png");
    EXPECT_GE(w->width(), 700);
}

}  // namespace

// Deleting the user the panel shows empties the panel; a save for a user deleted meanwhile at another
// desk is refused with a message and writes nothing back.
TEST_F(UserMagWindowTest, DeletingTheShownUserEmptiesThePanelAndAGoneUserIsNotSaved) {
    clickNode(node("张三"));
    ASSERT_EQ(text("Edit1"), "7");
    rightClick(at(node("张三")));
    trigger("N2");
    for (const char* edit : {"Edit1", "Edit2", "Edit4", "Edit5", "Edit6", "Edit7", "Edit8", "Edit9"})
        EXPECT_EQ(text(edit), "") << edit;
    for (const char* box : {"ComboBox1", "ComboBox2", "ComboBox3"})
        EXPECT_EQ(get<QComboBox>(box)->currentIndex(), -1) << box;
    EXPECT_EQ(grid(), (std::vector<std::vector<std::string>>{{"", "", ""}}));
    click("BitBtn1");
    EXPECT_EQ(prompts.texts("warning"), std::vector<std::string>{"请先在左边的列表中选择一个用户！"});

    clickNode(node("管理员"));
    exec("delete from employee where E_ID=4");  // at another desk
    prompts.clear();
    prompts.answerQuestion(Button::Yes);
    click("BitBtn1");
    click("BitBtn2");
    EXPECT_EQ(prompts.texts("warning"), (std::vector<std::string>{"此帐户已经被删除，请刷新树列表！",
                                                                  "此帐户已经被删除，请刷新树列表！"}));
    EXPECT_TRUE(prompts.texts("question").empty());
    EXPECT_EQ(rows("select count(*) from employee where E_ID=4"), std::vector<std::string>{"0"});
}

// A user added to a department made after the window filled its department box shows that
// department as soon as he is clicked.
TEST_F(UserMagWindowTest, ANewUserOfANewDepartmentShowsHisDepartmentAtOnce) {
    rightClick(QPoint(5, tree()->viewport()->height() - 3));
    prompts.answerInput(std::string("技术部"));
    trigger("N4");
    rightClick(at(node("技术部")));
    trigger("N5");
    node("技术部")->setExpanded(true);  // the new department's branch opened, as the clerk opens it
    clickNode(node("技术部")->child(0));
    EXPECT_EQ(get<QComboBox>("ComboBox2")->currentText().toStdString(), "技术部");
    EXPECT_EQ(get<QComboBox>("ComboBox2")->currentData().toInt(), 10);
}
