#include "ca/app/users/TfrmLogin.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "ca/users/LoginCheck.h"
#include "ca/util/CommandGuard.h"
#include "ca/util/MessageBoxes.h"

namespace ca::app {

TfrmLogin::TfrmLogin(Prompts& prompts, db::TDM& dm, users::CurrentUser& user, QWidget* owner)
    : QDialog(owner), prompts_(prompts), dm_(dm), user_(user) {
    setObjectName("frmLogin");
    setWindowTitle("用户登录");

    Edit1 = new QLineEdit(this);
    Edit1->setObjectName("Edit1");
    Edit1->setMinimumWidth(180);
    Edit2 = new QLineEdit(this);
    Edit2->setObjectName("Edit2");
    Edit2->setEchoMode(QLineEdit::Password);
    auto* grid = new QGridLayout;
    auto* nameLabel = new QLabel("用户名：", this);
    nameLabel->setBuddy(Edit1);
    auto* passwordLabel = new QLabel("密码：", this);
    passwordLabel->setBuddy(Edit2);
    grid->addWidget(nameLabel, 0, 0, Qt::AlignRight);
    grid->addWidget(Edit1, 0, 1);
    grid->addWidget(passwordLabel, 1, 0, Qt::AlignRight);
    grid->addWidget(Edit2, 1, 1);

    BitBtn1 = new QPushButton("登录", this);
    BitBtn1->setObjectName("BitBtn1");
    BitBtn1->setDefault(true);
    BitBtn2 = new QPushButton("取消", this);
    BitBtn2->setObjectName("BitBtn2");
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(BitBtn1);
    buttons->addWidget(BitBtn2);
    auto* outer = new QVBoxLayout(this);
    outer->addLayout(grid);
    outer->addLayout(buttons);

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
