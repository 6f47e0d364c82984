#pragma once
// Dates in the form the statements carry them, "YYYY-MM-DD", and the day arithmetic the date bounds
// need.
#include <string>

#include "ca/util/Convert.h"

namespace ca::reports {

// "YYYY-MM-DD" with four-digit year and two-digit month and day.
std::string dateText(const Date& date);

// The following calendar day (month and year ends, leap years).
Date nextDay(const Date& date);

}  // namespace ca::reports
