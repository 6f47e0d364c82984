#include "ca/fees/AmountText.h"

#include <cmath>
#include <cstdio>

namespace ca::fees {

std::string amountText(double amount) {
    // Round half away from zero on the cents, as a clerk rounds by hand; then a zero of either
    // sign becomes plain zero.
    double cents = std::round(amount * 100.0);
    if (cents == 0.0) cents = 0.0;
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.2f", cents / 100.0);
    return buf;
}

}  // namespace ca::fees
