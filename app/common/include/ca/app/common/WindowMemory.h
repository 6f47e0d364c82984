#pragma once
// Windows that open where and as large as the clerk left them, with grids that keep the column
// widths the clerk set, on this desk. Kept in the program's own settings (QSettings, the user's
// "customs-assistant/windows.ini"), never in config.ini, whose keys belong to the system.
//
//   rememberWindow(*this);  // once, after the window and its grids are built
//
// A window is known by its object name, a grid by its own object name within it. Geometry is
// stored when the window hides (closing a window hides it) and when the program ends; it comes
// back before the window is first shown. A column width counts once the clerk drags (or
// double-clicks) a column's edge, and it comes back whenever the grid is filled again, after the
// window's own sizing of its columns.
#include <QString>

class QWidget;

namespace ca::app {

void rememberWindow(QWidget& window);

// The settings file every window's place is kept in (tests point QSettings elsewhere).
QString windowMemoryFile();

}  // namespace ca::app
