#include "ca/app/users/TfrmChangPW.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "ca/users/PasswordChange.h"
#include "ca/util/CommandGuard.h"

namespace ca::app {

TfrmChangPW::TfrmChangPW(Prompts& prompts, db::TDM& dm, const users::CurrentUser& user, QWidget* owner)
    : QWidget(owner, Qt::Window), prompts_(prompts), dm_(dm), user_(user) {
    setObjectName("frmChangPW");
    setWindowTitle("密码修改");

    auto* grid = new QGridLayout;
    int row = 0;
    for (auto [name, caption, edit] :
         {std::tuple{"Edit1", "旧密码：", &Edit1}, std::tuple{"Edit2", "新密码：", &Edit2},
          std::tuple{"Edit3", "密码确认：", &Edit3}}) {
        *edit = new QLineEdit(this);
        (*edit)->setObjectName(name);
        (*edit)->setEchoMode(QLineEdit::Password);
        (*edit)->setMinimumWidth(180);
        auto* label = new QLabel(caption, this);
        label->setBuddy(*edit);
        grid->addWidget(label, row, 0, Qt::AlignRight);
        grid->addWidget(*edit, row++, 1);
    }
    BitBtn1 = new QPushButton("确定", this);
    BitBtn1->setObjectName("BitBtn1");
    BitBtn2 = new QPushButton("关闭", this);
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

void TfrmChangPW::BitBtn1Click() {
    users::changePassword(
        dm_, prompts_, user_.CurrentUserName(),
        {Edit1->text().toStdString(), Edit2->text().toStdString(), Edit3->text().toStdString()});
}

void TfrmChangPW::BitBtn2Click() {
    close();
}

}  // namespace ca::app
