#include "ca/reports/DateText.h"

#include <cstdio>

namespace ca::reports {

std::string dateText(const Date& date) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02d", date.year, date.month, date.day);
    return buf;
}

Date nextDay(const Date& date) {
    Date d = date;
    if (isValidDate(d.year, d.month, d.day + 1)) {
        ++d.day;
    } else if (d.month < 12) {
        ++d.month, d.day = 1;
    } else {
        ++d.year, d.month = 1, d.day = 1;
    }
    return d;
}

}  // namespace ca::reports
