#include "ca/app/common/ControlLook.h"

#include <QHeaderView>
#include <QLineEdit>
#include <QPalette>
#include <QTableView>
#include <algorithm>

namespace ca::app {

void showReadOnly(QLineEdit* edit) {
    edit->setReadOnly(true);
    QPalette grey = edit->palette();
    grey.setColor(QPalette::Base, grey.color(QPalette::Window));
    edit->setPalette(grey);
}

void fitColumns(QTableView* view) {
    if (!view->model()) return;
    // Not yet laid out, the view's area is Qt's default; a column may then take a third of a screen.
    const int room = std::max(view->viewport()->width(), 320);
    QHeaderView* header = view->horizontalHeader();
    const QAbstractItemView* cells = view;  // QTableView keeps its column hint protected
    for (int c = 0; c < view->model()->columnCount(); ++c) {
        if (view->isColumnHidden(c)) continue;
        const int wanted = std::max(cells->sizeHintForColumn(c), header->sectionSizeHint(c));
        view->setColumnWidth(c, std::min(wanted, room));
    }
}

}  // namespace ca::app
