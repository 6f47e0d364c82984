#include "ca/app/common/TextGridModel.h"

#include "ca/app/common/QtText.h"

namespace ca::app {

TextGridModel::TextGridModel(Rows& rows, std::vector<std::string> headers, std::vector<bool> editable,
                             QObject* parent)
    : QAbstractTableModel(parent),
      rows_(rows),
      headers_(std::move(headers)),
      editable_(std::move(editable)) {}

void TextGridModel::reload(const std::function<void()>& change) {
    beginResetModel();
    try {
        change();
    } catch (...) {
        endResetModel();
        throw;
    }
    endResetModel();
}

int TextGridModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int TextGridModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(headers_.size());
}

bool TextGridModel::isEditable(int column) const {
    return column >= 0 && static_cast<size_t>(column) < editable_.size() &&
           editable_[static_cast<size_t>(column)];
}

QVariant TextGridModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount() || index.column() >= columnCount()) return {};
    if (role != Qt::DisplayRole && role != Qt::EditRole) return {};
    const auto& row = rows_[static_cast<size_t>(index.row())];
    const auto c = static_cast<size_t>(index.column());
    return c < row.size() ? qs(row[c]) : QString();
}

bool TextGridModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::EditRole || !index.isValid() || index.row() >= rowCount() ||
        index.column() >= columnCount() || !isEditable(index.column()))
        return false;
    auto& row = rows_[static_cast<size_t>(index.row())];
    const auto c = static_cast<size_t>(index.column());
    if (row.size() <= c) row.resize(c + 1);
    row[c] = str(value.toString());
    emit dataChanged(index, index, {Qt::DisplayRole, Qt::EditRole});
    return true;
}

Qt::ItemFlags TextGridModel::flags(const QModelIndex& index) const {
    Qt::ItemFlags f = QAbstractTableModel::flags(index);
    if (index.isValid() && isEditable(index.column())) f |= Qt::ItemIsEditable;
    return f;
}

QVariant TextGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 && section < columnCount())
        return qs(headers_[static_cast<size_t>(section)]);
    return QAbstractTableModel::headerData(section, orientation, role);
}

}  // namespace ca::app
