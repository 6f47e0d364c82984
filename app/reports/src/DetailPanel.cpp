#include "ca/app/reports/DetailPanel.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>

#include "ca/app/common/QtText.h"
#include "ca/app/common/QueryTableModel.h"
#include "ca/app/reports/ReportGrid.h"
#include "ca/util/AsciiCase.h"

namespace ca::app {

DetailPanel::DetailPanel(const std::vector<reports::DetailRow>& rows, const std::string& prefix, int columns,
                         QWidget* parent)
    : QWidget(parent) {
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(4, 4, 4, 4);
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(3);
    const int perColumn = (static_cast<int>(rows.size()) + columns - 1) / columns;
    for (size_t i = 0; i < rows.size(); ++i) {
        const auto& r = rows[i];
        auto* label = new QLabel(qs(r.label), this);
        auto* boxes = new QHBoxLayout;
        boxes->setSpacing(2);
        Row row{label, {}};
        for (const auto& field : r.fields) {
            auto* edit = new QLineEdit(this);
            edit->setObjectName(qs(prefix + field.field));
            edit->setReadOnly(true);
            edit->setMinimumWidth(60);
            boxes->addWidget(edit, 1);
            row.boxes.push_back(edit);
            byField_[toLowerAscii(field.field)] = boxes_.size();
            boxes_.push_back({edit, field, i});
        }
        label->setBuddy(row.boxes.front());
        const int gridRow = static_cast<int>(i) % perColumn, gridColumn = static_cast<int>(i) / perColumn * 2;
        grid->addWidget(label, gridRow, gridColumn, Qt::AlignRight);
        grid->addLayout(boxes, gridRow, gridColumn + 1);
        rows_.push_back(row);
    }
    for (int c = 0; c < columns; ++c)
        grid->setColumnStretch(c * 2 + 1, 1);
    grid->setRowStretch(perColumn, 1);
}

void DetailPanel::showRow(const QueryTableModel& model, int row) {
    const bool valid = row >= 0 && row < model.rowCount();
    for (const auto& b : boxes_) {
        b.edit->setText(valid ? qs(reportText(model.value(row, b.column.field), b.column.kind)) : QString());
        b.edit->setCursorPosition(0);
    }
}

QLabel* DetailPanel::labelOf(const std::string& field) const {
    auto it = byField_.find(toLowerAscii(field));
    return it == byField_.end() ? nullptr : rows_[boxes_[it->second].row].label;
}

QLineEdit* DetailPanel::boxOf(const std::string& field) const {
    auto it = byField_.find(toLowerAscii(field));
    return it == byField_.end() ? nullptr : boxes_[it->second].edit;
}

void DetailPanel::setRowVisible(const std::string& field, bool visible) {
    auto it = byField_.find(toLowerAscii(field));
    if (it == byField_.end()) return;
    const Row& r = rows_[boxes_[it->second].row];
    r.label->setVisible(visible);
    for (auto* b : r.boxes)
        b->setVisible(visible);
}

}  // namespace ca::app
