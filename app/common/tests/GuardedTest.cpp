// Controls connected through Guarded.h: handlers run inside the command guard, and write commands
// are off while the program is busy, with the reason, and come back as they were afterwards.
#include <gtest/gtest.h>

#include <QAction>
#include <QPushButton>
#include <stdexcept>

#include "TestContext.h"
#include "WindowDriver.h"
#include "ca/app/common/Guarded.h"

using namespace ca;
using namespace ca::app;

namespace {

struct Window : QWidget {
    explicit Window(AppContext& ctx) {
        Save = button("Save", "保存到数据库");
        Show = button("Show", "");
        Locked = button("Locked", "");
        Locked->setEnabled(false);  // off for a reason of its own (no permission)
        Delete = new QAction("删除", this);
        Delete->setObjectName("Delete");
        addAction(Delete);
        onClick(Save, this, &Window::SaveClick, ctx);
        onReadClick(Show, this, &Window::ShowClick, ctx);
        onClick(Locked, this, &Window::SaveClick, ctx);
        onTriggered(Delete, this, &Window::DeleteClick, ctx);
    }
    QPushButton* button(const char* name, const char* tip) {
        auto* b = new QPushButton(name, this);
        b->setObjectName(name);
        b->setToolTip(tip);
        return b;
    }
    void SaveClick() {
        ++saves;
        if (failSave) throw std::runtime_error("数据库拒绝了保存");
    }
    void ShowClick() { ++shows; }
    void DeleteClick() { ++deletes; }

    QPushButton *Save, *Show, *Locked;
    QAction* Delete;
    int saves = 0, shows = 0, deletes = 0;
    bool failSave = false;
};

}  // namespace

TEST(Guarded, HandlersRunInsideTheCommandGuard) {
    test::TestContext t;
    Window w(t.ctx);
    w.show();
    w.failSave = true;
    test::click(w, "Save");
    test::click(w, "Save");
    test::trigger(w, "Delete");
    EXPECT_EQ(w.saves, 2);
    EXPECT_EQ(w.deletes, 1);
    EXPECT_EQ(t.prompts.texts("error"), (std::vector<std::string>{"数据库拒绝了保存", "数据库拒绝了保存"}));
}

TEST(Guarded, WriteCommandsAreOffWhileBusyAndComeBackAsTheyWere) {
    test::TestContext t;
    Window w(t.ctx);
    w.show();
    t.ctx.busy().setBusy(true);
    EXPECT_FALSE(w.Save->isEnabled());
    EXPECT_FALSE(w.Delete->isEnabled());
    EXPECT_EQ(w.Save->toolTip().toStdString(), kBusyRefusal);
    EXPECT_EQ(w.Delete->toolTip().toStdString(), kBusyRefusal);
    test::click(w, "Show");  // reading stays possible
    EXPECT_EQ(w.shows, 1);

    // A request that reaches a write command anyway is refused with the reason.
    emit w.Save->clicked();
    w.Delete->setEnabled(true);
    w.Delete->trigger();
    EXPECT_EQ(w.saves, 0);
    EXPECT_EQ(w.deletes, 0);
    EXPECT_EQ(t.prompts.texts("warning"), (std::vector<std::string>{kBusyRefusal, kBusyRefusal}));

    // A control made while busy starts off disabled.
    auto* late = w.button("Late", "");
    onClick(late, &w, &Window::SaveClick, t.ctx);
    EXPECT_FALSE(late->isEnabled());

    t.ctx.busy().setBusy(false);
    EXPECT_TRUE(w.Save->isEnabled());
    EXPECT_TRUE(late->isEnabled());
    EXPECT_EQ(w.Save->toolTip().toStdString(), "保存到数据库");
    EXPECT_FALSE(w.Locked->isEnabled()) << "a control its window had switched off stays off";
    test::click(w, "Save");
    EXPECT_EQ(w.saves, 1);
}
