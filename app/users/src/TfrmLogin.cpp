#include "ca/app/users/TfrmLogin.h"

#include <QLineEdit>
#include <QPushButton>

#include "ca/app/common/Guarded.h"
#include "ca/app/users/FieldForm.h"
#include "ca/users/LoginCheck.h"
#include "ca/util/MessageBoxes.h"

namespace ca::app {

TfrmLogin::TfrmLogin(AppContext& ctx, QWidget* owner) : QDialog(owner), ctx_(ctx) {
    setObjectName("frmLogin");
    setWindowTitle("用户登录");

    const FieldForm form =
        buildFieldForm(this, {{"Edit1", "用户名：", false}, {"Edit2", "密码：", true}}, "登录", "取消");
    Edit1 = form.edits[0];
    Edit2 = form.edits[1];
    BitBtn1 = form.BitBtn1;
    BitBtn1->setDefault(true);
    BitBtn2 = form.BitBtn2;

    onReadClick(BitBtn1, this, &TfrmLogin::BitBtn1Click, ctx_);
    onReadClick(BitBtn2, this, &TfrmLogin::BitBtn2Click, ctx_);
}

void TfrmLogin::BitBtn1Click() {
    if (users::logIn(ctx_.dm(), ctx_.currentUser(), Edit1->text().toStdString(),
                     Edit2->text().toStdString())) {
        accept();
        return;
    }
    warningBox(ctx_.prompts(), "用户名或密码错误，请重新输入！");
    Edit2->clear();
    Edit2->setFocus();
}

void TfrmLogin::BitBtn2Click() {
    reject();
}

}  // namespace ca::app
