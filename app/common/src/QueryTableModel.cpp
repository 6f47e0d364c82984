#include "ca/app/common/QueryTableModel.h"

#include "ca/app/common/QtText.h"

namespace ca::app {

namespace {

QVariant toVariant(const db::Value& v) {
    if (const auto* i = std::get_if<std::int64_t>(&v)) return QVariant::fromValue(static_cast<qlonglong>(*i));
    if (const auto* d = std::get_if<double>(&v)) return *d;
    if (const auto* s = std::get_if<std::string>(&v)) return qs(*s);
    return {};
}

}  // namespace

QueryTableModel::QueryTableModel(db::TADOQuery& query, std::vector<GridColumn> columns, QObject* parent)
    : QAbstractTableModel(parent), query_(query), given_(std::move(columns)) {
    resolveColumns();
}

void QueryTableModel::resolveColumns() {
    columns_ = given_;
    if (columns_.empty() && query_.Active())
        for (int i = 0; i < query_.FieldCount(); ++i)
            columns_.push_back({query_.fieldName(i), query_.fieldName(i), {}});
    fieldIndex_.clear();
    for (const auto& c : columns_)
        fieldIndex_.push_back(query_.Active() ? query_.FieldIndex(c.field) : -1);
}

void QueryTableModel::reopen(const std::function<void()>& open) {
    beginResetModel();
    try {
        open();
    } catch (...) {
        resolveColumns();
        endResetModel();
        throw;
    }
    resolveColumns();
    endResetModel();
}

db::Value QueryTableModel::value(int row, const std::string& field) const {
    if (!query_.Active()) return {};
    return query_.valueAt(row, query_.FieldIndex(field));
}

int QueryTableModel::rowCount(const QModelIndex& parent) const {
    if (parent.isValid() || !query_.Active()) return 0;
    return query_.RecordCount();
}

int QueryTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(columns_.size());
}

QVariant QueryTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.column() >= columnCount() || index.row() >= rowCount()) return {};
    const db::Value v = query_.valueAt(index.row(), fieldIndex_[static_cast<size_t>(index.column())]);
    if (role == RawValueRole) return toVariant(v);
    if (role != Qt::DisplayRole) return {};
    const GridColumn& c = columns_[static_cast<size_t>(index.column())];
    return qs(c.text ? c.text(v) : db::valueToString(v));
}

QVariant QueryTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 && section < columnCount())
        return qs(columns_[static_cast<size_t>(section)].caption);
    return QAbstractTableModel::headerData(section, orientation, role);
}

}  // namespace ca::app
