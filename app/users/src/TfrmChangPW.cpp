#include "ca/app/users/TfrmChangPW.h"

#include <QLineEdit>
#include <QPushButton>

#include "ca/app/common/Guarded.h"
#include "ca/app/common/KeyActions.h"
#include "ca/app/users/FieldForm.h"
#include "ca/users/PasswordChange.h"

namespace ca::app {

TfrmChangPW::TfrmChangPW(AppContext& ctx, QWidget* owner) : QWidget(owner, Qt::Window), ctx_(ctx) {
    setObjectName("frmChangPW");
    setWindowTitle("密码修改");

    const FieldForm form = buildFieldForm(
        this, {{"Edit1", "旧密码：", true}, {"Edit2", "新密码：", true}, {"Edit3", "密码确认：", true}},
        "确定", "关闭");
    Edit1 = form.edits[0];
    Edit2 = form.edits[1];
    Edit3 = form.edits[2];
    BitBtn1 = form.BitBtn1;
    BitBtn2 = form.BitBtn2;

    onClick(BitBtn1, this, &TfrmChangPW::BitBtn1Click, ctx_);
    onReadClick(BitBtn2, this, &TfrmChangPW::BitBtn2Click, ctx_);
    dialogKeys(this, BitBtn1, BitBtn2);  // Enter: 确定, Esc: 关闭
}

void TfrmChangPW::BitBtn1Click() {
    users::changePassword(
        ctx_.dm(), ctx_.prompts(), ctx_.currentUser().CurrentUserName(),
        {Edit1->text().toStdString(), Edit2->text().toStdString(), Edit3->text().toStdString()});
}

void TfrmChangPW::BitBtn2Click() {
    close();
}

}  // namespace ca::app
