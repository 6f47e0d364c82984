#include "ca/app/common/Windows.h"

#include "ca/app/common/WindowMemory.h"

namespace ca::app {

void Windows::adopt(QWidget* w) {
    // A separate top-level window that belongs to the main window: it stays in front of it and goes
    // when the program ends. Closing it hides it; it is not deleted.
    w->setParent(owner_, w->windowFlags() | Qt::Window);
    w->setAttribute(Qt::WA_DeleteOnClose, false);
    // It opens where and as large as the clerk left it, with the column widths the clerk set.
    rememberWindow(*w);
}

void Windows::show(QWidget& w) {
    w.show();
    w.raise();
    w.activateWindow();
}

}  // namespace ca::app
