#include "ca/app/reports/TfrmDataDetail.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDate>
#include <QDateEdit>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QSplitter>
#include <QTableView>
#include <QVBoxLayout>

#include "ca/app/common/ControlLook.h"
#include "ca/app/common/Guarded.h"
#include "ca/app/common/KeyActions.h"
#include "ca/app/common/QtText.h"
#include "ca/app/common/QueryTableModel.h"
#include "ca/app/common/Windows.h"
#include "ca/app/reports/DateControls.h"
#include "ca/app/reports/DetailPanel.h"
#include "ca/app/reports/ReportGrid.h"
#include "ca/reports/DocumentColumns.h"
#include "ca/reports/DocumentSearch.h"
#include "ca/users/CurrentUser.h"
#include "ca/users/MenuAccess.h"
#include "ca/users/UserCategory.h"

namespace ca::app {

namespace {

QLineEdit* edit(QWidget* parent, const char* name, int width) {
    auto* e = new QLineEdit(parent);
    e->setObjectName(name);
    e->setMinimumWidth(width);
    return e;
}

QTableView* grid(QWidget* parent, const char* name, QAbstractItemModel* model) {
    auto* view = new QTableView(parent);
    view->setObjectName(name);
    view->setModel(model);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    view->verticalHeader()->setDefaultSectionSize(22);
    view->horizontalHeader()->setDefaultSectionSize(110);
    return view;
}

QWidget* scrolled(QWidget* panel) {
    auto* area = new QScrollArea;
    area->setWidget(panel);
    area->setWidgetResizable(true);
    area->setFrameShape(QFrame::NoFrame);
    return area;
}

}  // namespace

TfrmDataDetail::TfrmDataDetail(AppContext& ctx, Windows& windows, QWidget* owner)
    : QWidget(owner, Qt::Window), ctx_(ctx), windows_(windows), ADOQuery1(ctx.dm()), ADOQuery2(ctx.dm()) {
    setObjectName("frmDataDetail");
    setWindowTitle("海关数据明细");
    headers_ = new QueryTableModel(ADOQuery1, gridColumns(reports::headerColumns()), this);
    goods_ = new QueryTableModel(ADOQuery2, gridColumns(reports::goodsColumns()), this);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    buildFilterBar();
    buildResultArea();
    resize(1280, 820);

    onReadClick(Button1, this, &TfrmDataDetail::Button1Click, ctx_);
    onClick(BitBtn1, this, &TfrmDataDetail::BitBtn1Click, ctx_);
    // Whichever way the current header row changes (a click, the arrow keys, a new search), the
    // panel and the goods lines follow it.
    connect(DBGrid1, &QTableView::clicked, this, [this] { guarded(ctx_, [this] { DBGrid1CellClick(); }); });
    connect(DBGrid1->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) {
                guarded(ctx_, [this, current] { showHeaderRow(current.row()); });
            });
    connect(DBGrid2->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) { goodsPanel_->showRow(*goods_, current.row()); });
    // Enter in a filter field runs the query; Esc closes the window.
    enterClicks(Button1, {Edit1, Edit68, Edit70, Edit72, DateTimePicker1, DateTimePicker2, ComboBox3, Edit69,
                          Edit67, Edit71, DateTimePicker3, DateTimePicker4, CheckBox2});
    escapeCloses(this);
    FormCreate();
}

TfrmDataDetail::~TfrmDataDetail() = default;

void TfrmDataDetail::buildFilterBar() {
    auto* bar = new QGridLayout;
    bar->setHorizontalSpacing(6);
    const QDate today = QDate::currentDate();
    Edit1 = edit(this, "Edit1", 110);
    Edit68 = edit(this, "Edit68", 100);
    Edit70 = edit(this, "Edit70", 130);
    Edit72 = edit(this, "Edit72", 110);
    DateTimePicker1 = datePicker(this, "DateTimePicker1", QDate(2010, 12, 1));
    DateTimePicker2 = datePicker(this, "DateTimePicker2", today);
    ComboBox3 = new QComboBox(this);
    ComboBox3->setObjectName("ComboBox3");
    ComboBox3->addItems({"", "进口报关单", "出口报关单", "出口转关运输提前报关单"});
    // As wide as its usual choices; the list that drops down shows the longest whole.
    ComboBox3->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    ComboBox3->setMinimumContentsLength(6);
    Edit69 = edit(this, "Edit69", 110);
    Edit67 = edit(this, "Edit67", 100);
    Edit71 = edit(this, "Edit71", 130);
    DateTimePicker3 = datePicker(this, "DateTimePicker3", QDate(2010, 12, 10));
    DateTimePicker4 = datePicker(this, "DateTimePicker4", QDate(2010, 12, 10));
    CheckBox2 = new QCheckBox("使用申报日期条件", this);
    CheckBox2->setObjectName("CheckBox2");
    Button1 = new QPushButton("查询", this);
    Button1->setObjectName("Button1");
    Button1->setDefault(true);
    BitBtn1 = new QPushButton("费用录入", this);
    BitBtn1->setObjectName("BitBtn1");
    BitBtn1->hide();

    const auto labelled = [&](int row, int column, const char* caption, QWidget* w) {
        auto* label = new QLabel(caption, this);
        label->setBuddy(w);
        bar->addWidget(label, row, column, Qt::AlignRight);
        bar->addWidget(w, row, column + 1);
    };
    const auto range = [&](QDateEdit* from, QDateEdit* to) {
        auto* box = new QHBoxLayout;
        box->addWidget(from);
        box->addWidget(new QLabel("至", this));
        box->addWidget(to);
        auto* holder = new QWidget(this);
        holder->setLayout(box);
        box->setContentsMargins(0, 0, 0, 0);
        return holder;
    };
    labelled(0, 0, "统一编号：", Edit1);
    labelled(0, 2, "货名：", Edit68);
    labelled(0, 4, "经营单位：", Edit70);
    labelled(0, 6, "申报单位编码：", Edit72);
    labelled(0, 8, "录入日期：", range(DateTimePicker1, DateTimePicker2));
    labelled(1, 0, "报关单号：", Edit69);
    labelled(1, 2, "合同号：", Edit67);
    labelled(1, 4, "提运单号:", Edit71);
    // Under 申报单位编码, where the second row has room: the bar then fits a 1280-pixel screen.
    labelled(1, 6, "进出口类型：", ComboBox3);
    labelled(1, 8, "申报日期：", range(DateTimePicker3, DateTimePicker4));
    bar->addWidget(CheckBox2, 1, 10, 1, 2);
    bar->addWidget(Button1, 0, 12);
    bar->addWidget(BitBtn1, 1, 12);
    bar->setColumnStretch(13, 1);
    static_cast<QVBoxLayout*>(layout())->addLayout(bar);
}

void TfrmDataDetail::buildResultArea() {
    DBGrid1 = grid(this, "DBGrid1", headers_);
    DBGrid2 = grid(this, "DBGrid2", goods_);
    headerPanel_ = new DetailPanel(reports::headerDetailRows(), "DBEdit_", 2, this);
    goodsPanel_ = new DetailPanel(reports::goodsDetailRows(), "DBEditSub_", 2, this);

    auto* counts = new QGroupBox("统计", this);
    auto* countLayout = new QGridLayout(counts);
    HeaderCount = new QLabel("0", counts);
    HeaderCount->setObjectName("HeaderCount");
    GoodsCount = new QLabel("0", counts);
    GoodsCount->setObjectName("GoodsCount");
    countLayout->addWidget(new QLabel("主单记录数：", counts), 0, 0);
    countLayout->addWidget(HeaderCount, 0, 1);
    countLayout->addWidget(new QLabel("当前记录 商品数：", counts), 1, 0);
    countLayout->addWidget(GoodsCount, 1, 1);
    countLayout->setColumnStretch(1, 1);

    auto* top = new QSplitter(Qt::Horizontal, this);
    top->addWidget(DBGrid1);
    top->addWidget(scrolled(headerPanel_));
    top->setStretchFactor(0, 3);
    top->setStretchFactor(1, 1);
    // The grid takes three quarters of the width; the panel scrolls within the rest.
    top->setSizes({3000, 1000});

    auto* goodsSide = new QWidget(this);
    auto* goodsSideLayout = new QVBoxLayout(goodsSide);
    goodsSideLayout->setContentsMargins(0, 0, 0, 0);
    goodsSideLayout->addWidget(scrolled(goodsPanel_), 1);
    goodsSideLayout->addWidget(counts);
    auto* bottom = new QSplitter(Qt::Horizontal, this);
    bottom->addWidget(DBGrid2);
    bottom->addWidget(goodsSide);
    bottom->setStretchFactor(0, 3);
    bottom->setStretchFactor(1, 2);

    auto* split = new QSplitter(Qt::Vertical, this);
    split->addWidget(top);
    split->addWidget(bottom);
    split->setStretchFactor(0, 3);
    split->setStretchFactor(1, 2);
    layout()->addWidget(split);
}

void TfrmDataDetail::FormCreate() {
    DateTimePicker2->setDate(QDate::currentDate());
    // Nobody logged in: the button stays hidden. A log-in shows it to every category but "QP用户".
    BitBtn1->setVisible(users::menuAccessFor(ctx_.currentUser()).documentFeeButton);
}

reports::DocumentFilter TfrmDataDetail::filter() const {
    reports::DocumentFilter f;
    f.entryFrom = toDate(DateTimePicker1->date());
    f.entryTo = toDate(DateTimePicker2->date());
    f.useDeclared = CheckBox2->isChecked();
    f.declaredFrom = toDate(DateTimePicker3->date());
    f.declaredTo = toDate(DateTimePicker4->date());
    f.unified = str(Edit1->text());
    f.customsNo = str(Edit69->text());
    f.contract = str(Edit67->text());
    f.bill = str(Edit71->text());
    f.goods = str(Edit68->text());
    f.company = str(Edit70->text());
    f.kind = str(ComboBox3->currentText());
    f.unitCode = str(Edit72->text());
    return f;
}

void TfrmDataDetail::RunQuery() {
    const reports::DocumentFilter f = filter();
    shownRow_ = -1;
    try {
        headers_->reopen([&] { reports::findDocuments(ADOQuery1, f); });
    } catch (...) {
        showHeaderRow(-1);  // no goods lines under an empty grid
        throw;
    }
    fitColumns(DBGrid1);
    HeaderCount->setText(QString::number(ADOQuery1.RecordCount()));
    // The model was reset: the view has no current row, and row 0 of the new result becomes it.
    showHeaderRow(headers_->rowCount() > 0 ? 0 : -1);
    if (headers_->rowCount() > 0) DBGrid1->setCurrentIndex(headers_->index(0, 0));
}

void TfrmDataDetail::DBGrid1CellClick() {
    showHeaderRow(DBGrid1->currentIndex().row());
}

void TfrmDataDetail::showHeaderRow(int row) {
    if (row == shownRow_ && row >= 0) return;
    shownRow_ = row;
    headerPanel_->showRow(*headers_, row);
    const bool valid = ADOQuery1.Active() && row >= 0 && row < headers_->rowCount();
    goods_->reopen([&] {
        if (!valid) {
            ADOQuery2.Close();
            return;
        }
        reports::findGoods(ADOQuery2, db::valueToString(headers_->value(row, "TY_No")));
    });
    if (goods_->rowCount() > 0) {
        fitColumns(DBGrid2);
        DBGrid2->setCurrentIndex(goods_->index(0, 0));
    } else {
        goodsPanel_->showRow(*goods_, -1);
    }
    GoodsCount->setText(QString::number(valid ? ADOQuery2.RecordCount() : 0));
    if (valid) showKindLabels(db::valueToString(headers_->value(row, "inouttype")));
}

void TfrmDataDetail::showKindLabels(const std::string& kind) {
    const bool import = kind == reports::kImportKind;
    goodsPanel_->setRowVisible("GJF", !import);
    goodsPanel_->setRowVisible("SCCJ", !import);
    headerPanel_->labelOf("ZSBL")->setText(import ? reports::kLevyRateLabel : reports::kSettlementLabel);
}

void TfrmDataDetail::BitBtn1Click() {
    const int row = DBGrid1->currentIndex().row();
    if (!ADOQuery1.Active() || row < 0) return;
    windows_.get<FeeEntry>().enterFeesOf(db::valueToString(headers_->value(row, "TY_No")));
}

void TfrmDataDetail::showDeclaration(const std::string& serial, const Date& entryDate) {
    show();
    raise();
    activateWindow();
    Edit1->setText(qs(serial));
    DateTimePicker1->setDate(toQDate(entryDate));
    DateTimePicker2->setDate(toQDate(entryDate));
    RunQuery();
}

}  // namespace ca::app
