#pragma once
// The date pickers of the report windows and the conversion of their dates for the core filters.
#include <QDate>

#include "ca/util/Convert.h"

class QDateEdit;
class QWidget;

namespace ca::app {

// A date picker with a calendar drop-down showing YYYY-MM-DD, named for tests and handlers.
QDateEdit* datePicker(QWidget* parent, const char* name, const QDate& value);

inline QDate toQDate(const Date& d) {
    return QDate(d.year, d.month, d.day);
}
inline Date toDate(const QDate& d) {
    return {d.year(), d.month(), d.day()};
}

}  // namespace ca::app
