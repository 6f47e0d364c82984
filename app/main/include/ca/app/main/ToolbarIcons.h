#pragma once
// The main toolbar's four images, drawn at run time so no image files need shipping.
#include <QIcon>

namespace ca::app {

// 0 export entry, 1 import entry, 2 download, 3 query.
QIcon toolbarIcon(int index);

}  // namespace ca::app
