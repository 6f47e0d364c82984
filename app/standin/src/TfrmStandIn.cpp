#include "ca/app/standin/TfrmStandIn.h"

#include "ca/app/standin/StandInQueryView.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>

namespace ca::app {

namespace sim = ca::automation::sim;

namespace {

// The goods fields an entry reaches (the chain the entry builds is 42 long).
constexpr int kGoodsFieldsShown = 42;
// The window's size where the screen has room for it; the form scrolls in a smaller one.
constexpr int kPreferredWidth = 1240;
constexpr int kPreferredHeight = 860;
constexpr int kSmallestWidth = 720;
constexpr int kGap = 12;

const char* screenText(sim::Screen screen, sim::FormKind kind) {
    switch (screen) {
        case sim::Screen::Entry:
            return kind == sim::FormKind::Import ? "进口报关单录入" : "出口报关单录入";
        case sim::Screen::Query:
            return "报关单查询";
        case sim::Screen::Declaration:
            return "报关单";
        case sim::Screen::Gone:
            return "已退出";
    }
    return "";
}

const char* areaChain(sim::Area area) {
    switch (area) {
        case sim::Area::Side:
            return "SidePanelEdits";
        case sim::Area::Header:
            return "HeaderEdits";
        case sim::Area::Panel1:
            return "Panel1Edits";
        case sim::Area::Panel3:
            return "Panel3Edits";
        case sim::Area::Panel4:
            return "Panel4Edits";
        case sim::Area::Goods:
            return "GoodsEdits";
        case sim::Area::Operator:
            return "OperatorEdits";
    }
    return "";
}

}  // namespace

TfrmStandIn::TfrmStandIn(sim::StandInClient& client, QWidget* parent)
    : QWidget(parent, Qt::Window), client_(client), formKind_(client.config().formKind) {
    setObjectName("frmStandIn");
    setWindowTitle(QString::fromStdString(client.config().caption));

    auto* top = new QVBoxLayout(this);
    auto* bar = new QHBoxLayout;
    auto* importForm = new QPushButton("新建进口报关单", this);
    importForm->setObjectName("NewImportButton");
    auto* exportForm = new QPushButton("新建出口报关单", this);
    exportForm->setObjectName("NewExportButton");
    auto* query = new QPushButton("查询界面", this);
    query->setObjectName("QueryButton");
    ScreenLabel = new QLabel(this);
    ScreenLabel->setObjectName("ScreenLabel");
    bar->addWidget(importForm);
    bar->addWidget(exportForm);
    bar->addWidget(query);
    bar->addSpacing(12);
    bar->addWidget(ScreenLabel, 1);
    top->addLayout(bar);
    // The download walks the query screen only; from the entry form it finds nothing to walk.
    DownloadHint = new QLabel(
        "下载详细数据要在查询界面上进行：请先按“查询界面”，再在报关助手中选“下载详细数据”。", this);
    DownloadHint->setObjectName("DownloadHint");
    DownloadHint->setStyleSheet("color: #8a4b00;");
    top->addWidget(DownloadHint);
    connect(importForm, &QPushButton::clicked, this, [this] { newForm(sim::FormKind::Import); });
    connect(exportForm, &QPushButton::clicked, this, [this] { newForm(sim::FormKind::Export); });
    connect(query, &QPushButton::clicked, this, [this] {
        client_.showQueryScreen();
        refresh();
    });

    // The query screen and the open declaration's goods list, which a download walks.
    QueryView = new StandInQueryView(client_, this);
    top->addWidget(QueryView, 2);

    auto* form = new QWidget;
    auto* formLayout = new QVBoxLayout(form);
    auto* upper = new QHBoxLayout;
    upper->addWidget(fieldGroup("申报地", "SidePanelEdits", sim::Area::Side, 11, 1));
    upper->addWidget(fieldGroup("表头", "HeaderEdits", sim::Area::Header, 82, 6), 1);
    formLayout->addLayout(upper);
    auto* lists = new QHBoxLayout;
    lists->addWidget(fieldGroup("备注", "Panel1Edits", sim::Area::Panel1, 11, 4));
    lists->addWidget(fieldGroup("随附单证", "Panel3Edits", sim::Area::Panel3, 5, 3));
    lists->addWidget(fieldGroup("集装箱", "Panel4Edits", sim::Area::Panel4, 7, 4));
    formLayout->addLayout(lists);
    formLayout->addWidget(fieldGroup("商品", "GoodsEdits", sim::Area::Goods, kGoodsFieldsShown, 7));
    FormArea = new QScrollArea(this);
    FormArea->setObjectName("FormArea");
    FormArea->setWidget(form);
    FormArea->setWidgetResizable(true);
    top->addWidget(FormArea, 3);

    auto* goodsTitle = new QLabel("已录入商品行", this);
    top->addWidget(goodsTitle);
    GoodsGrid = new QTableWidget(0, kGoodsFieldsShown, this);
    GoodsGrid->setObjectName("GoodsGrid");
    GoodsGrid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    GoodsGrid->horizontalHeader()->setDefaultSectionSize(72);
    QStringList positions;  // columns are the goods fields' positions, from 0
    for (int pos = 0; pos < kGoodsFieldsShown; ++pos)
        positions << QString::number(pos);
    GoodsGrid->setHorizontalHeaderLabels(positions);
    top->addWidget(GoodsGrid, 1);
    LastLabel = new QLabel(this);
    LastLabel->setObjectName("LastLabel");
    top->addWidget(LastLabel);

    resize(kPreferredWidth, kPreferredHeight);
    client_.setChangeCallback([this] { dirty_ = true; });
    // The entry runs on this thread and lets events through while it pauses; the timer then shows
    // what the client holds, a few dozen times a second at most.
    timer_ = new QTimer(this);
    timer_->setInterval(30);
    connect(timer_, &QTimer::timeout, this, [this] {
        if (dirty_) refresh();
    });
    timer_->start();
    refresh();
}

TfrmStandIn::~TfrmStandIn() {
    client_.setChangeCallback({});
}

QWidget* TfrmStandIn::fieldGroup(const QString& title, const char* chain, sim::Area area, int count,
                                 int columns) {
    auto* box = new QGroupBox(QString("%1 (%2)").arg(title, chain));
    auto* grid = new QGridLayout(box);
    grid->setHorizontalSpacing(4);
    grid->setVerticalSpacing(2);
    for (int pos = 0; pos < count; ++pos) {
        auto* label = new QLabel(QString::number(pos), box);
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        auto* edit = new QLineEdit(box);
        edit->setObjectName(QString("%1%2").arg(chain).arg(pos));
        edit->setReadOnly(true);
        edit->setMinimumWidth(72);
        grid->addWidget(label, pos / columns, 2 * (pos % columns));
        grid->addWidget(edit, pos / columns, 2 * (pos % columns) + 1);
        fields_[{area, pos}] = edit;
    }
    return box;
}

void TfrmStandIn::placeBeside(const QRect& frame) {
    QScreen* s = screen();
    if (!s) return;
    const QRect avail = s->availableGeometry();
    // Window decorations around the client area, as far as the platform reports them.
    const QSize decor = frameGeometry().size() - geometry().size();
    const int maxWidth = std::min(kPreferredWidth, avail.width() - decor.width());
    const int height = std::min(kPreferredHeight, avail.height() - decor.height());
    int x = frame.right() + 1 + kGap;
    int width = std::min(maxWidth, avail.right() + 1 - x - decor.width());
    if (width < std::min(kSmallestWidth, maxWidth)) {
        // No room to the right of the frame: as far right as the screen allows, over the frame.
        width = maxWidth;
        x = avail.right() + 1 - width - decor.width();
    }
    const int y = std::clamp(frame.top(), avail.top(), avail.bottom() + 1 - height - decor.height());
    resize(width, height);
    move(x, y);
}

void TfrmStandIn::closeEvent(QCloseEvent* event) {
    // The clerk closed the client: its process ends, and the next entry or download finds no
    // client, as with the real one.
    client_.exit();
    refresh();
    event->accept();
}

void TfrmStandIn::newForm(sim::FormKind kind) {
    client_.showEntryForm(kind);
    formKind_ = kind;
    client_.clearRecords();
    refresh();
}

void TfrmStandIn::refresh() {
    dirty_ = false;
    QueryView->refresh();
    ScreenLabel->setText(QString("当前界面：") + screenText(client_.screen(), formKind_));
    DownloadHint->setVisible(client_.screen() == sim::Screen::Entry);
    for (auto& [key, edit] : fields_) {
        const QString text = QString::fromStdString(client_.fieldText({key.first, key.second}));
        if (text == edit->text()) continue;
        edit->setText(text);
        edit->setCursorPosition(0);
    }
    // The field of the client's latest set, paste or confirmation is marked and kept in view (the
    // form is taller than the window).
    const auto& events = client_.events();
    QLineEdit* latest = lastChanged_;
    for (auto e = events.rbegin(); e != events.rend(); ++e) {
        using T = sim::ClientEvent::Type;
        if (e->type != T::Set && e->type != T::Paste && e->type != T::Confirm) continue;
        auto it = fields_.find({e->field.area, e->field.position});
        if (it != fields_.end()) latest = it->second;
        break;
    }
    if (latest != lastChanged_) {
        if (lastChanged_) lastChanged_->setStyleSheet({});
        latest->setStyleSheet("background: #fff3a0;");
        FormArea->ensureWidgetVisible(latest);
        lastChanged_ = latest;
    }
    const auto& lines = client_.goodsLines();
    if (GoodsGrid->rowCount() != static_cast<int>(lines.size())) {
        GoodsGrid->setRowCount(static_cast<int>(lines.size()));
        for (int r = 0; r < static_cast<int>(lines.size()); ++r)
            for (int c = 0; c < kGoodsFieldsShown && c < static_cast<int>(lines[r].size()); ++c)
                GoodsGrid->setItem(r, c, new QTableWidgetItem(QString::fromStdString(lines[r][c])));
        if (!lines.empty()) GoodsGrid->scrollToBottom();
    }
    if (events.size() != shownEvents_) {
        shownEvents_ = events.size();
        if (!events.empty()) {
            const auto& e = events.back();
            QString what;
            switch (e.type) {
                case sim::ClientEvent::Type::Set:
                    what = "设置";
                    break;
                case sim::ClientEvent::Type::Paste:
                    what = "粘贴";
                    break;
                case sim::ClientEvent::Type::Confirm:
                    what = "回车确认";
                    break;
                case sim::ClientEvent::Type::GoodsLineEnd:
                    what = "商品行完成";
                    break;
                default:
                    what = "其它";
                    break;
            }
            LastLabel->setText(QString("最近：%1 %2 %3  %4")
                                   .arg(what, areaChain(e.field.area))
                                   .arg(e.field.position)
                                   .arg(QString::fromStdString(e.text)));
        }
    }
}

}  // namespace ca::app
