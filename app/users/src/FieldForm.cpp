#include "ca/app/users/FieldForm.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace ca::app {

FieldForm buildFieldForm(QWidget* dialog, std::initializer_list<FieldSpec> fields, const char* caption1,
                         const char* caption2) {
    FieldForm form;
    auto* grid = new QGridLayout;
    int row = 0;
    for (const FieldSpec& f : fields) {
        auto* edit = new QLineEdit(dialog);
        edit->setObjectName(f.name);
        edit->setMinimumWidth(180);
        if (f.masked) edit->setEchoMode(QLineEdit::Password);
        auto* label = new QLabel(f.label, dialog);
        label->setBuddy(edit);
        grid->addWidget(label, row, 0, Qt::AlignRight);
        grid->addWidget(edit, row++, 1);
        form.edits.push_back(edit);
    }
    form.BitBtn1 = new QPushButton(caption1, dialog);
    form.BitBtn1->setObjectName("BitBtn1");
    form.BitBtn2 = new QPushButton(caption2, dialog);
    form.BitBtn2->setObjectName("BitBtn2");
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(form.BitBtn1);
    buttons->addWidget(form.BitBtn2);
    auto* outer = new QVBoxLayout(dialog);
    outer->addLayout(grid);
    outer->addLayout(buttons);
    return form;
}

}  // namespace ca::app
