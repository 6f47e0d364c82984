#include "ca/app/common/WaitCursor.h"

#include <QApplication>

namespace ca::app {

WaitCursor::WaitCursor() {
    QApplication::setOverrideCursor(Qt::WaitCursor);
}

WaitCursor::~WaitCursor() {
    QApplication::restoreOverrideCursor();
}

CursorLift::CursorLift() {
    while (const QCursor* c = QApplication::overrideCursor()) {
        lifted_.push_back(*c);
        QApplication::restoreOverrideCursor();
    }
}

CursorLift::~CursorLift() {
    for (auto it = lifted_.rbegin(); it != lifted_.rend(); ++it)
        QApplication::setOverrideCursor(*it);
}

}  // namespace ca::app
