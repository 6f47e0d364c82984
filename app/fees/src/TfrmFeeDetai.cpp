#include "ca/app/fees/TfrmFeeDetai.h"

#include <QCheckBox>
#include <QDate>
#include <QDateEdit>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>
#include <filesystem>

#include "ca/app/common/ControlLook.h"
#include "ca/app/common/Guarded.h"
#include "ca/app/common/KeyActions.h"
#include "ca/app/common/QtText.h"
#include "ca/app/common/TextGridModel.h"
#include "ca/app/common/WaitCursor.h"
#include "ca/app/common/Windows.h"
#include "ca/app/fees/TfrmFeeInput.h"
#include "ca/fees/FeeTexts.h"
#include "ca/spreadsheet/FileIo.h"
#include "ca/users/CurrentUser.h"
#include "ca/util/Folders.h"
#include "ca/util/MessageBoxes.h"

namespace ca::app {

namespace {

Date dateOf(const QDateEdit* e) {
    const QDate d = e->date();
    return {d.year(), d.month(), d.day()};
}

QDateEdit* dateEdit(QWidget* parent, const char* name, QDate date) {
    auto* e = new QDateEdit(date, parent);
    e->setObjectName(name);
    e->setDisplayFormat("yyyy-MM-dd");
    e->setCalendarPopup(true);
    return e;
}

}  // namespace

TfrmFeeDetai::TfrmFeeDetai(AppContext& ctx, Windows& windows) : ctx_(ctx), windows_(windows) {
    setObjectName("frmFeeDetai");
    setWindowTitle("费用查询");
    auto* panel = new QGridLayout;
    auto edit = [this](const char* name, const char* text = "") {
        auto* e = new QLineEdit(text, this);
        e->setObjectName(name);
        return e;
    };
    auto label = [this](const char* text) { return new QLabel(text, this); };
    Edit1 = edit("Edit1");
    DateTimePicker1 = dateEdit(this, "DateTimePicker1", QDate(2010, 12, 10));
    DateTimePicker2 = dateEdit(this, "DateTimePicker2", QDate(2010, 12, 10));
    Edit2 = edit("Edit2");
    Edit3 = edit("Edit3");
    Edit4 = edit("Edit4");
    Edit5 = edit("Edit5");
    Edit6 = edit("Edit6", "5201");
    Edit7 = edit("Edit7");
    Edit8 = edit("Edit8");
    CheckBox1 = new QCheckBox("只显示小计为零的 记录", this);
    CheckBox1->setObjectName("CheckBox1");
    Button1 = new QPushButton("查询", this);
    Button1->setObjectName("Button1");
    BitBtn1 = new QPushButton("导出EXCEL", this);
    BitBtn1->setObjectName("BitBtn1");
    Button2 = new QPushButton("进入费用录入", this);
    Button2->setObjectName("Button2");
    Label9 = new QLabel(this);
    Label9->setObjectName("Label9");

    // Row 0: number, dates, customer, goods; row 1: contract, bill, office, phone, verification.
    panel->addWidget(label("报关单号："), 0, 0);
    panel->addWidget(Edit1, 0, 1);
    panel->addWidget(DateTimePicker1, 0, 2);
    panel->addWidget(label("至"), 0, 3);
    panel->addWidget(DateTimePicker2, 0, 4);
    panel->addWidget(label("客户名称："), 0, 5);
    panel->addWidget(Edit2, 0, 6);
    panel->addWidget(label("货名："), 0, 7);
    panel->addWidget(Edit3, 0, 8);
    panel->addWidget(Button1, 0, 9);
    panel->addWidget(BitBtn1, 0, 10);
    panel->addWidget(label("合同号："), 1, 0);
    panel->addWidget(Edit4, 1, 1);
    panel->addWidget(label("提运单号："), 1, 2);
    panel->addWidget(Edit5, 1, 3, 1, 2);
    panel->addWidget(label("报关号："), 1, 5);
    panel->addWidget(Edit6, 1, 6);
    panel->addWidget(label("电话："), 1, 7);
    panel->addWidget(Edit7, 1, 8);
    panel->addWidget(Button2, 1, 9);
    panel->addWidget(label("核销单号："), 2, 0);
    panel->addWidget(Edit8, 2, 1);
    panel->addWidget(CheckBox1, 2, 2, 1, 3);
    panel->addWidget(label("总记录数："), 2, 5);
    panel->addWidget(Label9, 2, 6);

    StringGrid1 = new QTableView(this);
    StringGrid1->setObjectName("StringGrid1");
    StringGrid1->verticalHeader()->setVisible(false);
    StringGrid1->setSelectionBehavior(QAbstractItemView::SelectRows);
    StringGrid1->setSelectionMode(QAbstractItemView::SingleSelection);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(panel);
    layout->addWidget(StringGrid1, 1);
    resize(1100, 600);
    setWindowState(Qt::WindowMaximized);

    onReadClick(Button1, this, &TfrmFeeDetai::Button1Click, ctx_);
    onReadClick(BitBtn1, this, &TfrmFeeDetai::BitBtn1Click, ctx_);
    onReadClick(Button2, this, &TfrmFeeDetai::Button2Click, ctx_);
    connect(StringGrid1, &QTableView::doubleClicked, this,
            [this] { guarded(ctx_, [this] { StringGrid1DblClick(); }); });
    // Enter in a filter field runs the query; Esc closes the window.
    enterClicks(Button1, {Edit1, DateTimePicker1, DateTimePicker2, Edit2, Edit3, Edit4, Edit5, Edit6, Edit7,
                          Edit8, CheckBox1});
    escapeCloses(this);
    FormCreate();
}

TfrmFeeDetai::~TfrmFeeDetai() = default;

void TfrmFeeDetai::FormCreate() {
    DateTimePicker2->setDate(QDate::currentDate());
    if (ctx_.currentUser().CurrentUserCategory() == 0) BitBtn1->hide();
}

fees::FeeQueryFilter TfrmFeeDetai::filter() const {
    fees::FeeQueryFilter f;
    f.serial = str(Edit1->text());
    f.from = dateOf(DateTimePicker1);
    f.to = dateOf(DateTimePicker2);
    f.customer = str(Edit2->text());
    f.goods = str(Edit3->text());
    f.contract = str(Edit4->text());
    f.bill = str(Edit5->text());
    f.office = str(Edit6->text());
    f.phone = str(Edit7->text());
    f.verification = str(Edit8->text());
    f.zeroOnly = CheckBox1->isChecked();
    return f;
}

void TfrmFeeDetai::showGrid() {
    // The columns follow the fee items of the last query, so the model is made anew.
    auto model = std::make_unique<TextGridModel>(grid_.rows, grid_.header,
                                                 std::vector<bool>(grid_.header.size(), true));
    StringGrid1->setModel(model.get());
    model_ = std::move(model);
    // Each fee heading whole, and each column as wide as its amounts.
    fitColumns(StringGrid1);
    if (grid_.recordCount > 0) StringGrid1->setCurrentIndex(model_->index(0, 0));
}

void TfrmFeeDetai::Button1Click() {
    WaitCursor wait;
    fees::FeeQueryGrid grid = fees::runFeeQuery(ctx_.dm(), filter());
    // Detach the view before the rows it shows are replaced.
    StringGrid1->setModel(nullptr);
    grid_ = std::move(grid);
    queried_ = true;
    showGrid();
    Label9->setText(QString::number(grid_.recordCount));
}

void TfrmFeeDetai::StringGrid1DblClick() {
    if (!queried_ || grid_.recordCount == 0) return;
    Button2Click();
}

void TfrmFeeDetai::Button2Click() {
    std::string number;
    const int row = StringGrid1->currentIndex().isValid() ? StringGrid1->currentIndex().row() : 0;
    if (row >= 0 && static_cast<size_t>(row) < grid_.rows.size() &&
        grid_.rows[static_cast<size_t>(row)].size() > 1)
        number = grid_.rows[static_cast<size_t>(row)][1];
    windows_.get<TfrmFeeInput>().InputData(number, "bgno", fees::MatchMode::Whole);
}

void TfrmFeeDetai::BitBtn1Click() {
    const std::string path = ctx_.prompts().saveFile("导出EXCEL", fees::kExportFilter, "xls");
    if (path.empty()) return;
    if (const std::string problem = fees::feeExportProblem(ctx_.dm(), path); !problem.empty()) {
        warningBox(ctx_.prompts(), problem);
        return;
    }
    std::error_code ec;
    if (std::filesystem::exists(pathFromUtf8(path), ec) &&
        questionBox(ctx_.prompts(), "文件“" + path + "”已存在，要替换它吗？") != Button::Yes)
        return;
    WaitCursor wait;
    fees::exportFeeGrid(path, grid_);
}

}  // namespace ca::app
