#pragma once
// A panel of labelled, read-only boxes, one row per entry of a detail table, showing the fields of
// one row of a query grid. Boxes are named after their field with a prefix ("DBEdit_TY_No"), so
// tests and the window find them by name.
#include <QWidget>
#include <map>
#include <string>
#include <vector>

#include "ca/reports/DocumentColumns.h"

class QLabel;
class QLineEdit;

namespace ca::app {

class QueryTableModel;

class DetailPanel : public QWidget {
    Q_OBJECT

public:
    // rows: the table; prefix: the start of every box's object name; columns: label-and-box pairs
    // side by side.
    DetailPanel(const std::vector<reports::DetailRow>& rows, const std::string& prefix, int columns,
                QWidget* parent = nullptr);

    // Shows the fields of that row of the model; a row outside the model empties every box.
    void showRow(const QueryTableModel& model, int row);

    // The label of the row holding that field's box, and that box (nullptr when there is none).
    QLabel* labelOf(const std::string& field) const;
    QLineEdit* boxOf(const std::string& field) const;
    // Hides or shows a field's row: its label and every box of the row.
    void setRowVisible(const std::string& field, bool visible);

private:
    struct Row {
        QLabel* label;
        std::vector<QLineEdit*> boxes;
    };
    struct Box {
        QLineEdit* edit;
        reports::Column column;
        size_t row;
    };
    std::vector<Row> rows_;
    std::vector<Box> boxes_;
    std::map<std::string, size_t> byField_;  // lower-case field -> index in boxes_
};

}  // namespace ca::app
