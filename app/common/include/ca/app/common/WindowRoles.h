#pragma once
// What one window asks of a window of another feature. The asking window names the role and gets
// whichever window the program's window table provides for it (Windows::provide).
#include <string>

#include "ca/util/Convert.h"

namespace ca::app {

// The document query: shows one declaration found by its serial on its entry date.
class DeclarationDetails {
public:
    // The unified-number field set to the serial (characters 10 to 18 of the unified number), both
    // ends of the entry-date range set to the date, and the query run. Brings the window up.
    virtual void showDeclaration(const std::string& serial, const Date& entryDate) = 0;

protected:
    ~DeclarationDetails() = default;
};

// Fee entry: loads one declaration with its fees by its whole unified number and comes up when it
// loaded; warns when the current user may enter no fee.
class FeeEntry {
public:
    virtual void enterFeesOf(const std::string& unifiedNo) = 0;

protected:
    ~FeeEntry() = default;
};

}  // namespace ca::app
