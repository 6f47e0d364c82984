#include "ca/app/reports/DateControls.h"

#include <QDateEdit>

namespace ca::app {

QDateEdit* datePicker(QWidget* parent, const char* name, const QDate& value) {
    auto* picker = new QDateEdit(value, parent);
    picker->setObjectName(name);
    picker->setCalendarPopup(true);
    picker->setDisplayFormat("yyyy-MM-dd");
    return picker;
}

}  // namespace ca::app
