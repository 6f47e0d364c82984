#include "ca/app/fees/TfrmFeeMagAdd.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "ca/app/common/Guarded.h"
#include "ca/app/common/KeyActions.h"
#include "ca/app/common/QtText.h"
#include "ca/fees/FeeItemAdd.h"
#include "ca/util/MessageBoxes.h"

namespace ca::app {

TfrmFeeMagAdd::TfrmFeeMagAdd(AppContext& ctx) : ctx_(ctx) {
    setObjectName("frmFeeMagAdd");
    setWindowTitle("费用项目增加");
    auto* form = new QFormLayout;
    Edit1 = new QLineEdit("zdy01", this);
    Edit1->setObjectName("Edit1");
    Edit2 = new QLineEdit("自定义收费项目01", this);
    Edit2->setObjectName("Edit2");
    form->addRow("新字段名称：", Edit1);
    form->addRow("费用名称：", Edit2);
    Button1 = new QPushButton("确定增加", this);
    Button1->setObjectName("Button1");
    Button2 = new QPushButton("关闭", this);
    Button2->setObjectName("Button2");
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Button1);
    buttons->addWidget(Button2);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons);
    onClick(Button1, this, &TfrmFeeMagAdd::Button1Click, ctx_);
    onReadClick(Button2, this, &TfrmFeeMagAdd::Button2Click, ctx_);
    dialogKeys(this, Button1, Button2);  // Enter: 确定增加, Esc: 关闭
}

void TfrmFeeMagAdd::Button1Click() {
    const fees::FeeItemResult r = fees::addFeeItem(ctx_.dm(), str(Edit1->text()), str(Edit2->text()));
    if (r.added)
        infoBox(ctx_.prompts(), r.message);
    else
        warningBox(ctx_.prompts(), r.message);
}

void TfrmFeeMagAdd::Button2Click() {
    close();
}

}  // namespace ca::app
