#include "WindowDriver.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>

namespace ca::app::test {

void click(QWidget& window, const char* name) {
    auto* b = window.findChild<QAbstractButton*>(name);
    if (!b) {
        ADD_FAILURE() << "no button " << name;
        return;
    }
    if (!b->isVisible() || !b->isEnabled()) {
        ADD_FAILURE() << "button " << name << (b->isVisible() ? " is disabled" : " is hidden");
        return;
    }
    b->click();
}

void trigger(QWidget& window, const char* name) {
    auto* a = window.findChild<QAction*>(name);
    if (!a) {
        ADD_FAILURE() << "no menu item " << name;
        return;
    }
    if (!a->isVisible() || !a->isEnabled()) {
        ADD_FAILURE() << "menu item " << name << (a->isVisible() ? " is disabled" : " is hidden");
        return;
    }
    a->trigger();
}

std::vector<std::vector<std::string>> cells(const QAbstractItemView& view) {
    std::vector<std::vector<std::string>> rows;
    const QAbstractItemModel* m = view.model();
    if (!m) return rows;
    for (int r = 0; r < m->rowCount(); ++r) {
        auto& row = rows.emplace_back();
        for (int c = 0; c < m->columnCount(); ++c)
            row.push_back(m->index(r, c).data().toString().toStdString());
    }
    return rows;
}

std::vector<std::string> headings(const QAbstractItemView& view) {
    std::vector<std::string> out;
    const QAbstractItemModel* m = view.model();
    if (!m) return out;
    for (int c = 0; c < m->columnCount(); ++c)
        out.push_back(m->headerData(c, Qt::Horizontal).toString().toStdString());
    return out;
}

}  // namespace ca::app::test
