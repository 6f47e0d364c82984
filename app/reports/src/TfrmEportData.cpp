#include "ca/app/reports/TfrmEportData.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDate>
#include <QDateEdit>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>
#include <QVBoxLayout>
#include <optional>

#include "ca/app/common/Guarded.h"
#include "ca/app/common/QtText.h"
#include "ca/app/common/WaitCursor.h"
#include "ca/app/reports/DateControls.h"
#include "ca/reports/BusinessExport.h"
#include "ca/util/IniFile.h"
#include "ca/util/Settings.h"

namespace ca::app {

namespace {

// The first year of the list; the list runs to the current year.
constexpr int kFirstYear = 2006;

QLineEdit* edit(QWidget* parent, const char* name, const QString& text = {}) {
    auto* e = new QLineEdit(text, parent);
    e->setObjectName(name);
    e->setMinimumWidth(150);
    return e;
}

QComboBox* list(QWidget* parent, const char* name, const QStringList& items, const QString& current) {
    auto* box = new QComboBox(parent);
    box->setObjectName(name);
    box->addItems(items);
    box->setCurrentText(current);
    return box;
}

QPushButton* button(QWidget* parent, const char* name, const char* caption) {
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(name);
    return b;
}

}  // namespace

TfrmEportData::TfrmEportData(AppContext& ctx, QWidget* owner) : QWidget(owner, Qt::Window), ctx_(ctx) {
    setObjectName("frmEportData");
    setWindowTitle("生成业务数据");

    const QDate today = QDate::currentDate();
    QStringList years, months;
    for (int y = kFirstYear; y <= std::max(today.year(), kFirstYear); ++y)
        years << QString::number(y);
    for (int m = 1; m <= 12; ++m)
        months << QString("%1").arg(m, 2, 10, QChar('0'));

    CheckBox1 = new QCheckBox("使用时间段", this);
    CheckBox1->setObjectName("CheckBox1");
    DateTimePicker3 = datePicker(this, "DateTimePicker3", QDate(2010, 12, 10));
    DateTimePicker4 = datePicker(this, "DateTimePicker4", today);
    ComboBox1 = list(this, "ComboBox1", years, QString::number(today.year()));
    ComboBox2 = list(this, "ComboBox2", months, months[today.month() - 1]);
    const IniFile ini(ctx_.configFile());
    Edit1 = edit(this, "Edit1", qs(ini.ReadString(settings::kSection, settings::kDeclaringUnit, "")));
    QStringList kinds;
    for (const char* kind : reports::kBusinessKinds)
        kinds << kind;
    ComboBox3 = list(this, "ComboBox3", kinds, reports::kNoKind);
    Edit2 = edit(this, "Edit2");
    Edit6 = edit(this, "Edit6", "5201");
    Edit3 = edit(this, "Edit3");
    Edit5 = edit(this, "Edit5");
    Edit4 = edit(this, "Edit4");
    Edit4->setPlaceholderText("多个号码用逗号分隔");
    Button3 = button(this, "Button3", "生成EXCEL");
    Button1 = button(this, "Button1", "生成非一般贸易数据");
    Button2 = button(this, "Button2", "关闭");

    auto* period = new QGroupBox("时间", this);
    auto* periodLayout = new QGridLayout(period);
    periodLayout->addWidget(CheckBox1, 0, 0, 1, 4);
    periodLayout->addWidget(new QLabel("申报日期：", period), 1, 0, Qt::AlignRight);
    periodLayout->addWidget(DateTimePicker3, 1, 1);
    periodLayout->addWidget(new QLabel("至", period), 1, 2);
    periodLayout->addWidget(DateTimePicker4, 1, 3);
    periodLayout->addWidget(new QLabel("年份", period), 2, 0, Qt::AlignRight);
    periodLayout->addWidget(ComboBox1, 2, 1);
    periodLayout->addWidget(new QLabel("月份", period), 2, 2);
    periodLayout->addWidget(ComboBox2, 2, 3);

    auto* conditions = new QGroupBox("条件", this);
    auto* grid = new QGridLayout(conditions);
    int row = 0;
    const auto labelled = [&](const char* caption, QWidget* w) {
        auto* label = new QLabel(caption, conditions);
        label->setBuddy(w);
        grid->addWidget(label, row, 0, Qt::AlignRight);
        grid->addWidget(w, row++, 1);
    };
    labelled("申报单位编码", Edit1);
    labelled("进出口类型", ComboBox3);
    labelled("运输工具名称", Edit2);
    labelled("报关号：", Edit6);
    labelled("报关员", Edit3);
    labelled("生产产家", Edit5);
    labelled("电话号码", Edit4);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(Button3);
    buttons->addWidget(Button1);
    buttons->addStretch(1);
    buttons->addWidget(Button2);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(period);
    layout->addWidget(conditions);
    layout->addLayout(buttons);

    connect(CheckBox1, &QCheckBox::clicked, this, [this] { guarded(ctx_, [this] { CheckBox1Click(); }); });
    onClick(Button3, this, &TfrmEportData::Button3Click, ctx_);
    onClick(Button1, this, &TfrmEportData::Button1Click, ctx_);
    onReadClick(Button2, this, &TfrmEportData::Button2Click, ctx_);
    CheckBox1Click();
}

void TfrmEportData::CheckBox1Click() {
    const bool range = CheckBox1->isChecked();
    DateTimePicker3->setEnabled(range);
    DateTimePicker4->setEnabled(range);
    ComboBox1->setEnabled(!range);
    ComboBox2->setEnabled(!range);
}

reports::BusinessFilter TfrmEportData::filter() const {
    reports::BusinessFilter f;
    f.useRange = CheckBox1->isChecked();
    f.from = toDate(DateTimePicker3->date());
    f.to = toDate(DateTimePicker4->date());
    f.year = str(ComboBox1->currentText());
    f.month = str(ComboBox2->currentText());
    f.unitCode = str(Edit1->text());
    f.kind = str(ComboBox3->currentText());
    f.vehicle = str(Edit2->text());
    f.customsCode = str(Edit6->text());
    f.clerk = str(Edit3->text());
    f.maker = str(Edit5->text());
    f.phones = str(Edit4->text());
    return f;
}

void TfrmEportData::run(reports::BusinessList list) {
    std::optional<WaitCursor> wait;
    reports::runBusinessExport(ctx_.dm(), ctx_.prompts(), filter(), list, StringGrid1, [&wait](bool on) {
        if (on)
            wait.emplace();
        else
            wait.reset();
    });
}

void TfrmEportData::Button3Click() {
    run(reports::BusinessList::WithGoods);
}

void TfrmEportData::Button1Click() {
    run(reports::BusinessList::NonGeneralTrade);
}

void TfrmEportData::Button2Click() {
    hide();
}

void TfrmEportData::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (placed_ || !screen()) return;
    placed_ = true;
    QRect frame = frameGeometry();
    frame.moveCenter(screen()->availableGeometry().center());
    move(frame.topLeft());
}

}  // namespace ca::app
