#include "ca/app/common/BusyState.h"

#include <QAction>
#include <QWidget>
#include <algorithm>

namespace ca::app {

namespace {

// QWidget and QAction share these members without sharing a base that has them.
template <class C>
void switchControl(C* c, bool busy, bool& disabledByBusy, QString& toolTip) {
    if (busy && c->isEnabled()) {
        toolTip = c->toolTip();
        c->setEnabled(false);
        c->setToolTip(QString::fromUtf8(kBusyRefusal));
        disabledByBusy = true;
    } else if (!busy && disabledByBusy) {
        c->setEnabled(true);
        c->setToolTip(toolTip);
        disabledByBusy = false;
    }
}

}  // namespace

void BusyState::apply(Control& c) {
    if (c.widget) switchControl(c.widget.data(), busy_, c.disabledByBusy, c.toolTip);
    if (c.action) switchControl(c.action.data(), busy_, c.disabledByBusy, c.toolTip);
}

void BusyState::setBusy(bool busy) {
    if (busy == busy_) return;
    busy_ = busy;
    std::erase_if(controls_, [](const Control& c) { return !c.widget && !c.action; });
    for (auto& c : controls_)
        apply(c);
    emit busyChanged(busy_);
}

void BusyState::addWriteControl(QWidget* control) {
    controls_.push_back({control, nullptr, false, {}});
    apply(controls_.back());
}

void BusyState::addWriteControl(QAction* control) {
    controls_.push_back({nullptr, control, false, {}});
    apply(controls_.back());
}

}  // namespace ca::app
