#include "ca/app/common/Windows.h"

namespace ca::app {

void Windows::adopt(QWidget* w) {
    // A separate top-level window that belongs to the main window: it stays in front of it and goes
    // when the program ends. Closing it hides it; it is not deleted.
    w->setParent(owner_, w->windowFlags() | Qt::Window);
    w->setAttribute(Qt::WA_DeleteOnClose, false);
}

void Windows::show(QWidget& w) {
    w.show();
    w.raise();
    w.activateWindow();
}

}  // namespace ca::app
