#include "ca/app/users/TfrmLogin.h"

#include <QLineEdit>
#include <QPushButton>

#include "ca/app/users/FieldForm.h"
#include "ca/users/LoginCheck.h"
#include "ca/util/CommandGuard.h"
#include "ca/util/MessageBoxes.h"

namespace ca::app {

TfrmLogin::TfrmLogin(Prompts& prompts, db::TDM& dm, users::CurrentUser& user, QWidget* owner)
    : QDialog(owner), prompts_(prompts), dm_(dm), user_(user) {
    setObjectName("frmLogin");
    setWindowTitle("用户登录");

    const FieldForm form =
        buildFieldForm(this, {{"Edit1", "用户名：", false}, {"Edit2", "密码：", true}}, "登录", "取消");
    Edit1 = form.edits[0];
    Edit2 = form.edits[1];
    BitBtn1 = form.BitBtn1;
    BitBtn1->setDefault(true);
    BitBtn2 = form.BitBtn2;

    connect(BitBtn1, &QPushButton::clicked, this,
            [this] { CommandGuard::run(prompts_, [this] { BitBtn1Click(); }); });
    connect(BitBtn2, &QPushButton::clicked, this, [this] { BitBtn2Click(); });
}

void TfrmLogin::BitBtn1Click() {
    if (users::logIn(dm_, user_, Edit1->text().toStdString(), Edit2->text().toStdString())) {
        accept();
        return;
    }
    warningBox(prompts_, "用户名或密码错误，请重新输入！");
    Edit2->clear();
    Edit2->setFocus();
}

void TfrmLogin::BitBtn2Click() {
    reject();
}

}  // namespace ca::app
