#include "ca/app/fees/TfrmFeeInput.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>

#include "ca/app/common/ControlLook.h"
#include "ca/app/common/Guarded.h"
#include "ca/app/common/OutputFile.h"
#include "ca/app/common/QtPrinter.h"
#include "ca/app/common/QtText.h"
#include "ca/app/common/TextGridModel.h"
#include "ca/app/common/TfrmPrintPreview.h"
#include "ca/app/common/WaitCursor.h"
#include "ca/app/common/Windows.h"
#include "ca/fees/FeeSave.h"
#include "ca/fees/FeeStatement.h"
#include "ca/fees/FeeTexts.h"
#include "ca/users/CurrentUser.h"
#include "ca/util/Convert.h"
#include "ca/util/IniFile.h"
#include "ca/util/MessageBoxes.h"
#include "ca/util/Settings.h"

namespace ca::app {

namespace {

// Wide enough for a whole 18-character unified or customs number.
int numberWidth(const QLineEdit* e) {
    return e->fontMetrics().horizontalAdvance(QStringLiteral("000000000000000000")) + 16;
}

QPushButton* button(QWidget* parent, const char* name, const char* caption) {
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(name);
    return b;
}

}  // namespace

// The declaration's fields, top to bottom. The searchable ones carry their "搜索" button.
const TfrmFeeInput::FieldSpec TfrmFeeInput::kFields[] = {
    {"客户：", "Edit1", &TfrmFeeInput::Edit1, false, nullptr, nullptr, nullptr},
    {"日期：", "Edit2", &TfrmFeeInput::Edit2, false, nullptr, nullptr, nullptr},
    {"货名：", "Edit3", &TfrmFeeInput::Edit3, false, nullptr, nullptr, nullptr},
    {"合同号：", "Edit4", &TfrmFeeInput::Edit4, true, "BitBtn4", &TfrmFeeInput::BitBtn4,
     &TfrmFeeInput::BitBtn4Click},
    {"提单号：", "Edit5", &TfrmFeeInput::Edit5, true, "BitBtn5", &TfrmFeeInput::BitBtn5,
     &TfrmFeeInput::BitBtn5Click},
    {"报关单号：", "Edit6", &TfrmFeeInput::Edit6, true, "BitBtn2", &TfrmFeeInput::BitBtn2,
     &TfrmFeeInput::BitBtn2Click},
    {"统一编号：", "Edit7", &TfrmFeeInput::Edit7, true, "BitBtn3", &TfrmFeeInput::BitBtn3,
     &TfrmFeeInput::BitBtn3Click},
    {"核销单号：", "Edit11", &TfrmFeeInput::Edit11, true, "BitBtn6", &TfrmFeeInput::BitBtn6,
     &TfrmFeeInput::BitBtn6Click},
};

// The texts printed on the statement for the customer to pay to; config.ini remembers them.
const TfrmFeeInput::AccountSpec TfrmFeeInput::kAccountFields[] = {
    {"帐户：", "Edit8", &TfrmFeeInput::Edit8, fees::kAccountHolderKey},
    {"账号：", "Edit9", &TfrmFeeInput::Edit9, fees::kAccountNoKey},
    {"开户行：", "Edit10", &TfrmFeeInput::Edit10, fees::kBankKey},
};

QLineEdit* TfrmFeeInput::addField(QGridLayout* grid, int row, const char* label, const char* name,
                                  bool editable) {
    auto* e = new QLineEdit(this);
    e->setObjectName(name);
    if (!editable) showReadOnly(e);
    e->setMinimumWidth(numberWidth(e));
    auto* l = new QLabel(label, this);
    l->setBuddy(e);
    grid->addWidget(l, row, 0);
    grid->addWidget(e, row, 1);
    return e;
}

TfrmFeeInput::TfrmFeeInput(AppContext& ctx, Windows& windows) : ctx_(ctx), windows_(windows) {
    setObjectName("frmFeeInput");
    setWindowTitle("费用录入");

    auto* conditions = new QGroupBox("条件区", this);
    auto* grid = new QGridLayout(conditions);
    int r = 0;
    for (const FieldSpec& f : kFields) {
        this->*f.edit = addField(grid, r, f.label, f.name, f.editable);
        if (f.search) {
            QPushButton* search = this->*f.search = button(this, f.searchName, "搜索");
            grid->addWidget(search, r, 2);
            onReadClick(search, this, f.handler, ctx_);
        }
        ++r;
    }
    Button1 = button(this, "Button1", "查看单据明细");
    grid->addWidget(Button1, r++, 1);

    auto* printBox = new QGroupBox("打印信息设置", this);
    auto* printGrid = new QGridLayout(printBox);
    // The three account texts start from config.ini and are remembered there when changed.
    const IniFile ini(ctx_.configFile());
    int a = 0;
    for (const AccountSpec& f : kAccountFields) {
        QLineEdit* edit = this->*f.edit = addField(printGrid, a++, f.label, f.name, true);
        edit->setText(qs(ini.ReadString(settings::kSection, f.key, "")));
        rememberAccountText(edit, f.key);
    }
    grid->addWidget(printBox, r, 0, 1, 3);

    auto* data = new QGroupBox("数据区", this);
    auto* dataLayout = new QVBoxLayout(data);
    StringGrid1 = new QTableView(this);
    StringGrid1->setObjectName("StringGrid1");
    model_ = std::make_unique<TextGridModel>(
        sheet_.rows, std::vector<std::string>(fees::kFeeGridHeader.begin(), fees::kFeeGridHeader.end()),
        std::vector<bool>{false, true, true, false});
    StringGrid1->setModel(model_.get());
    StringGrid1->verticalHeader()->setVisible(false);
    StringGrid1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    StringGrid1->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    // The last column holds the fee codes the save needs; the clerk has no use for them.
    StringGrid1->setColumnHidden(3, true);
    StringGrid1->horizontalHeader()->setStretchLastSection(true);  // the remarks take the rest
    dataLayout->addWidget(StringGrid1, 1);
    auto* foot = new QHBoxLayout;
    Label9 = new QLabel(this);
    Label9->setObjectName("Label9");
    BitBtn1 = button(this, "BitBtn1", "保存");
    Button4 = button(this, "Button4", "打印");
    BtnPreview = button(this, "BtnPreview", "打印预览");
    BtnPdf = button(this, "BtnPdf", "导出PDF");
    foot->addWidget(new QLabel("总计：", this));
    foot->addWidget(Label9);
    foot->addStretch();
    foot->addWidget(BitBtn1);
    foot->addWidget(Button4);
    foot->addWidget(BtnPreview);
    foot->addWidget(BtnPdf);
    dataLayout->addLayout(foot);

    auto* layout = new QHBoxLayout(this);
    layout->addWidget(conditions);
    layout->addWidget(data, 1);
    resize(980, 520);

    onClick(BitBtn1, this, &TfrmFeeInput::BitBtn1Click, ctx_);
    onReadClick(Button4, this, &TfrmFeeInput::Button4Click, ctx_);
    onReadClick(BtnPreview, this, &TfrmFeeInput::BtnPreviewClick, ctx_);
    onReadClick(BtnPdf, this, &TfrmFeeInput::BtnPdfClick, ctx_);
    onReadClick(Button1, this, &TfrmFeeInput::Button1Click, ctx_);
    guarded(ctx_, [this] { FormCreate(); });
}

TfrmFeeInput::~TfrmFeeInput() = default;

void TfrmFeeInput::rememberAccountText(QLineEdit* edit, const char* key) {
    connect(edit, &QLineEdit::editingFinished, this, [this, edit, key] {
        guarded(ctx_, [this, edit, key] {
            IniFile ini(ctx_.configFile());
            const std::string text = str(edit->text());
            if (ini.ReadString(settings::kSection, key, "") != text)
                ini.WriteString(settings::kSection, key, text);
        });
    });
}

void TfrmFeeInput::FormCreate() {
    if (ctx_.currentUser().CurrentUserCategory() == 0) Button1->hide();
    InputData(str(Edit7->text()), "TY_NO", fees::MatchMode::Whole);
}

void TfrmFeeInput::readFields() {
    fees::FeeFields& f = sheet_.fields;
    f.contract = str(Edit4->text());
    f.bill = str(Edit5->text());
    f.declarationNo = str(Edit6->text());
    f.unifiedNo = str(Edit7->text());
    f.verification = str(Edit11->text());
}

void TfrmFeeInput::showFields() {
    const fees::FeeFields& f = sheet_.fields;
    Edit1->setText(qs(f.customer));
    Edit2->setText(qs(f.date));
    Edit3->setText(qs(f.goods));
    Edit4->setText(qs(f.contract));
    Edit5->setText(qs(f.bill));
    Edit6->setText(qs(f.declarationNo));
    Edit7->setText(qs(f.unifiedNo));
    Edit11->setText(qs(f.verification));
    // A long customer or goods name widens its field instead of being cut (up to a limit; the tool
    // tip holds the whole name).
    for (QLineEdit* e : {Edit1, Edit3}) {
        const int textWidth = e->fontMetrics().horizontalAdvance(e->text()) + 16;
        e->setMinimumWidth(std::clamp(textWidth, numberWidth(e), 480));
        e->setToolTip(e->text());
    }
}

fees::LoadOutcome TfrmFeeInput::InputData(const std::string& value, const std::string& field,
                                          fees::MatchMode mode) {
    readFields();
    fees::LoadOutcome outcome = fees::LoadOutcome::NotFound;
    try {
        model_->reload([&] {
            outcome = sheet_.InputData(ctx_.dm(), ctx_.currentUser().CurrentUserName(), value, field, mode);
        });
    } catch (...) {
        showFields();
        throw;
    }
    showFields();
    if (outcome == fees::LoadOutcome::NoPermission) warningBox(ctx_.prompts(), fees::kNoRightsText);
    fitColumns(StringGrid1);
    if (outcome == fees::LoadOutcome::Loaded) {
        Label9->setText(qs(sheet_.totalText));
        show();
        raise();
        activateWindow();
    }
    return outcome;
}

void TfrmFeeInput::enterFeesOf(const std::string& unifiedNo) {
    InputData(unifiedNo, "TY_NO", fees::MatchMode::Whole);
}

void TfrmFeeInput::search(QLineEdit* edit, const char* field, fees::MatchMode mode) {
    InputData(str(edit->text()), field, mode);
    Button1->setEnabled(!Edit2->text().isEmpty());
}

void TfrmFeeInput::BitBtn2Click() {
    search(Edit6, "bgno", fees::MatchMode::Serial);
}
void TfrmFeeInput::BitBtn3Click() {
    // The serial alone (characters 10 to 18), or the whole number as a load shows it.
    search(Edit7, "TY_NO", Edit7->text().size() > 9 ? fees::MatchMode::Whole : fees::MatchMode::Serial);
}
void TfrmFeeInput::BitBtn4Click() {
    search(Edit4, "htno", fees::MatchMode::Whole);
}
void TfrmFeeInput::BitBtn5Click() {
    search(Edit5, "tdno", fees::MatchMode::Whole);
}
void TfrmFeeInput::BitBtn6Click() {
    search(Edit11, "PZ_No", fees::MatchMode::Whole);
}

void TfrmFeeInput::BitBtn1Click() {
    if (fees::saveFeeSheet(ctx_.dm(), ctx_.prompts(), sheet_.rows, str(Edit7->text())) ==
        fees::SaveOutcome::Saved)
        InputData(str(Edit7->text()), "TY_NO", fees::MatchMode::Whole);
}

std::vector<fees::PlacedText> TfrmFeeInput::statementLayout() const {
    // The lines are collected (and a bad amount refused) before any document starts.
    const auto lines = fees::feeStatementLines(sheet_.rows);
    const fees::FeeStatementTexts texts{
        str(Edit1->text()), str(Edit2->text()),  str(Edit3->text()), str(Edit4->text()), str(Edit5->text()),
        str(Edit6->text()), str(Label9->text()), str(Edit8->text()), str(Edit9->text()), str(Edit10->text())};
    return fees::feeStatementLayout(texts, lines);
}

void TfrmFeeInput::Button4Click() {
    fees::printFeeStatement(ctx_.printer(), statementLayout());
}

void TfrmFeeInput::BtnPreviewClick() {
    // The preview keeps the statement as it was when opened: its 打印 and 导出PDF give exactly what
    // it shows, even when the window's fields change meanwhile.
    const auto layout = statementLayout();
    if (!preview_) preview_ = new TfrmPrintPreview(ctx_, this);
    preview_->openPreview([layout](Printer& printer) { fees::printFeeStatement(printer, layout); },
                          [this, layout] { fees::printFeeStatement(ctx_.printer(), layout); },
                          [this, layout] { exportPdf(layout); });
}

void TfrmFeeInput::BtnPdfClick() {
    exportPdf(statementLayout());
}

void TfrmFeeInput::exportPdf(const std::vector<fees::PlacedText>& layout) {
    const std::string path = ctx_.prompts().saveFile("导出PDF", "PDF 文件|*.pdf", "pdf");
    if (path.empty()) return;
    if (!confirmOutputFile(ctx_, path)) return;
    WaitCursor wait;
    QtPrinter pdf(qs(path), printPage());
    fees::printFeeStatement(pdf, layout);
}

void TfrmFeeInput::Button1Click() {
    if (Edit7->text().isEmpty()) return;
    // The document query matches the serial part of the unified number (characters 10 to 18) on the
    // declaration's own date.
    const std::string dateText = str(Edit2->text());
    std::optional<Date> date = parseDate(dateText);
    if (!date && dateText.size() > 10) date = parseDate(dateText.substr(0, 10));
    if (!date) throw std::runtime_error("日期“" + dateText + "”不是有效的日期，无法查看单据明细");
    windows_.get<DeclarationDetails>().showDeclaration(str(Edit7->text().mid(9, 9)), *date);
}

}  // namespace ca::app
