#pragma once
// An editable grid of texts over rows the core owns: the view shows and edits the very rows (no
// copy goes back and forth), the headings live in the header, not in row 0, and each column is
// editable or not.
#include <QAbstractTableModel>
#include <functional>
#include <string>
#include <vector>

namespace ca::app {

class TextGridModel : public QAbstractTableModel {
    Q_OBJECT

public:
    using Rows = std::vector<std::vector<std::string>>;

    // rows must live as long as the model; a row shorter than the headings shows empty cells and
    // grows when one of them is edited. editable[c] (missing: false) lets the clerk edit column c.
    TextGridModel(Rows& rows, std::vector<std::string> headers, std::vector<bool> editable,
                  QObject* parent = nullptr);

    // Runs change (which replaces or reshapes the rows) with the views told that every row changes.
    void reload(const std::function<void()>& change);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    bool isEditable(int column) const;

    Rows& rows_;
    std::vector<std::string> headers_;
    std::vector<bool> editable_;
};

}  // namespace ca::app
