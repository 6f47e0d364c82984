#include "ca/app/standin/StandInQueryView.h"

#include <QFont>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "ca/app/common/QtText.h"

namespace ca::app {

namespace sim = ca::automation::sim;

namespace {

// Captions of the query list's columns (8 and 9 are not read by the download).
const char* const kQueryColumns[] = {"海关编号", "统一编号", "经营单位", "提运单号", "进出口日期",
                                     "监管方式", "商品项数", "运输工具", "列8",      "列9",
                                     "申报单位", "标记",     "口岸"};

QTableWidget* grid(QWidget* parent, const char* name, const QStringList& headers) {
    auto* g = new QTableWidget(0, static_cast<int>(headers.size()), parent);
    g->setObjectName(name);
    g->setHorizontalHeaderLabels(headers);
    g->setEditTriggers(QAbstractItemView::NoEditTriggers);
    g->setSelectionMode(QAbstractItemView::NoSelection);
    g->horizontalHeader()->setDefaultSectionSize(96);
    g->verticalHeader()->setDefaultSectionSize(20);
    return g;
}

}  // namespace

StandInQueryView::StandInQueryView(sim::StandInClient& client, QWidget* parent)
    : QWidget(parent), client_(client) {
    setObjectName("StandInQueryView");
    auto* top = new QVBoxLayout(this);
    top->setContentsMargins(0, 0, 0, 0);
    FilterLabel = new QLabel(this);
    FilterLabel->setObjectName("FilterLabel");
    top->addWidget(FilterLabel);
    QStringList queryHeaders;
    for (const char* c : kQueryColumns)
        queryHeaders << c;
    QueryGrid = grid(this, "QueryGrid", queryHeaders);
    top->addWidget(QueryGrid, 2);

    auto* goods = new QHBoxLayout;
    OpenLabel = new QLabel(this);
    OpenLabel->setObjectName("OpenLabel");
    OpenLabel->setMinimumWidth(260);
    goods->addWidget(OpenLabel);
    GoodsListGrid = grid(this, "GoodsListGrid", {"序号", "商品编号", "列2", "列3"});
    goods->addWidget(GoodsListGrid, 1);
    top->addLayout(goods, 1);
    refresh();
}

// Selected rows are shaded; the focused row is bold, as the client's own list shows them.
void StandInQueryView::fill(QTableWidget* g, const std::vector<std::vector<std::string>>& rows,
                            const std::vector<int>& selected, int focused) {
    if (g->rowCount() != static_cast<int>(rows.size())) g->setRowCount(static_cast<int>(rows.size()));
    for (int r = 0; r < static_cast<int>(rows.size()); ++r) {
        const bool isSelected = std::find(selected.begin(), selected.end(), r) != selected.end();
        for (int c = 0; c < g->columnCount(); ++c) {
            const auto& cells = rows[static_cast<size_t>(r)];
            const QString text =
                c < static_cast<int>(cells.size()) ? qs(cells[static_cast<size_t>(c)]) : QString();
            auto* item = g->item(r, c);
            if (!item) g->setItem(r, c, item = new QTableWidgetItem);
            if (item->text() != text) item->setText(text);
            item->setBackground(isSelected ? QColor("#cfe3ff") : QColor(Qt::white));
            QFont f = item->font();
            f.setBold(r == focused);
            item->setFont(f);
        }
    }
    if (focused >= 0 && focused < g->rowCount()) g->scrollToItem(g->item(focused, 0));
}

void StandInQueryView::refresh() {
    const sim::ClientFixture& f = client_.fixture();
    const sim::Screen screen = client_.screen();
    FilterLabel->setText(qs("查询日期：" + f.queryDate + "    类别：" + f.kind +
                            (screen == sim::Screen::Gone ? "    （程序已退出）" : "")));
    fill(QueryGrid, f.rows, client_.selectedQueryRows(), client_.focusedQueryRow());

    std::vector<std::vector<std::string>> goodsRows;
    if (screen == sim::Screen::Declaration) {
        OpenLabel->setText(qs("已打开报关单：" + client_.openDeclarationKey()));
        auto it = f.declarations.find(client_.openDeclarationKey());
        if (it != f.declarations.end()) {
            const auto& lines = it->second.goods;
            for (size_t i = 0; i < lines.size(); ++i) {
                if (!lines[i].listCells.empty()) {
                    goodsRows.push_back(lines[i].listCells);
                    continue;
                }
                auto code = lines[i].texts.find(0);
                goodsRows.push_back({std::to_string(i + 1),
                                     code == lines[i].texts.end() ? std::to_string(i + 1) : code->second});
            }
        }
        fill(GoodsListGrid, goodsRows, client_.selectedGoodsRows(), -1);
    } else {
        OpenLabel->setText("未打开报关单");
        fill(GoodsListGrid, {}, {}, -1);
    }
}

}  // namespace ca::app
