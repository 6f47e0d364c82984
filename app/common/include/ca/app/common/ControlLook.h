#pragma once
// How controls look to the clerk, the same in every window.
class QLineEdit;
class QTableView;

namespace ca::app {

// A field the clerk reads but cannot change: read-only, and drawn on the window's colour instead of
// the white of an editable field, so it does not invite typing.
void showReadOnly(QLineEdit* edit);

// Sizes each visible column to its heading and its cells, but never wider than the grid's visible
// area, so one long cell does not push the others out of view. Run it after the grid was filled.
void fitColumns(QTableView* view);

}  // namespace ca::app
