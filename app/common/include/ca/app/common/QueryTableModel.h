#pragma once
// A read-only grid over one open query: the view reads the query's rows where they are, nothing is
// copied. Columns come from a table (field, caption, how a value turns into text); without one the
// grid shows every field of the result under its own name.
#include <QAbstractTableModel>
#include <functional>
#include <string>
#include <vector>

#include "ca/db/TADOQuery.h"

namespace ca::app {

struct GridColumn {
    std::string field;    // the result's field, compared without regard to case
    std::string caption;  // the heading above the column
    // The cell text of a value; empty: db::valueToString.
    std::function<std::string(const db::Value&)> text;
};

class QueryTableModel : public QAbstractTableModel {
    Q_OBJECT

public:
    // The value as the database gave it (null QVariant, qlonglong, double or QString).
    static constexpr int RawValueRole = Qt::UserRole + 1;

    // The query must live as long as the model.
    QueryTableModel(db::TADOQuery& query, std::vector<GridColumn> columns, QObject* parent = nullptr);

    // Runs open (which sets the statement and opens the query) with the views told that every row
    // changes. When open throws, the views show the query as it is left (closed: no rows) and the
    // error goes on to the caller.
    void reopen(const std::function<void()>& open);

    db::TADOQuery& query() const { return query_; }
    // The value of a field in a row (Null when the result has no such field or row).
    db::Value value(int row, const std::string& field) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    void resolveColumns();

    db::TADOQuery& query_;
    std::vector<GridColumn> given_;
    std::vector<GridColumn> columns_;  // what is shown: the given table, or every field
    std::vector<int> fieldIndex_;      // per shown column, the result's field (-1: none)
};

}  // namespace ca::app
