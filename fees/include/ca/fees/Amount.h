#pragma once
// A fee amount in whole cents, exact at any size. Every place that reads, stores, shows, prints or
// adds fee amounts (fee entry, its statement, the fee query and its export, the command line) goes
// through this one type, so a window and the command line never disagree about an amount.
//
// Rounding: a typed amount is rounded to cents half away from zero on its decimal digits, never on
// a binary double: "80.125" is 80.13, "-80.125" is -80.13, "1.005" is 1.01.
//
// Range: the amount columns are numeric (18 ,2). Both database engines keep them as binary doubles,
// which hold every amount of at most 15 significant digits exactly, so an amount may have at most
// kMaxIntegerDigits digits before the point; larger ones are refused before they are stored
// (AmountCheck.h). Amounts already stored are read as the shortest decimal text that reads back as
// the stored double, then rounded to cents by the same rule, so old rows with three decimals or
// very large values still load, and their sums stay exact.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace ca::fees {

class Amount {
public:
    // Digits an amount may have before the point (the stored double holds it to the cent).
    static constexpr int kMaxIntegerDigits = 13;

    Amount() = default;  // zero

    // A decimal text: blanks around, a sign, digits with at most one point, an exponent ("1.5e3");
    // nullopt for anything else (empty, letters, "12,5", "inf").
    static std::optional<Amount> parse(std::string_view text);
    // A stored double; nullopt for an infinity or NaN.
    static std::optional<Amount> fromDouble(double value);
    static Amount fromInteger(std::int64_t value);

    Amount& operator+=(const Amount& other);
    friend Amount operator+(Amount a, const Amount& b) { return a += b; }
    bool operator==(const Amount&) const = default;

    // Two decimals, as totals show and the statement prints: "0.00", "-1234.50"; never "-0.00".
    std::string text() const;
    // As a grid cell shows a stored amount: without trailing zeros, "0", "80", "80.5", "80.13".
    std::string plainText() const;
    // Digits before the point (1 for amounts below 1).
    int integerDigits() const;
    bool fitsColumn() const { return integerDigits() <= kMaxIntegerDigits; }
    bool isZero() const { return cents_ == "0"; }

private:
    bool negative_ = false;
    std::string cents_ = "0";  // the magnitude in cents: decimal digits without leading zeros
};

}  // namespace ca::fees
