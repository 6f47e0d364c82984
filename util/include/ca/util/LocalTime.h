#pragma once
// The computer's local calendar day and time, as the date pickers start and as Now() stores it.
#include <string>

#include "ca/util/Convert.h"

namespace ca {

// Today in the local time zone.
Date localToday();

// Now in the local time zone as "YYYY-MM-DD HH:MM:SS".
std::string localNowText();

}  // namespace ca
