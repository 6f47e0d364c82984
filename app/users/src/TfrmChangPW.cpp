#include "ca/app/users/TfrmChangPW.h"

#include <QLineEdit>
#include <QPushButton>

#include "ca/app/users/FieldForm.h"
#include "ca/users/PasswordChange.h"
#include "ca/util/CommandGuard.h"

namespace ca::app {

TfrmChangPW::TfrmChangPW(Prompts& prompts, db::TDM& dm, const users::CurrentUser& user, QWidget* owner)
    : QWidget(owner, Qt::Window), prompts_(prompts), dm_(dm), user_(user) {
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

    connect(BitBtn1, &QPushButton::clicked, this,
            [this] { CommandGuard::run(prompts_, [this] { BitBtn1Click(); }); });
    connect(BitBtn2, &QPushButton::clicked, this, [this] { BitBtn2Click(); });
}

void TfrmChangPW::BitBtn1Click() {
    users::changePassword(
        dm_, prompts_, user_.CurrentUserName(),
        {Edit1->text().toStdString(), Edit2->text().toStdString(), Edit3->text().toStdString()});
}

void TfrmChangPW::BitBtn2Click() {
    close();
}

}  // namespace ca::app
