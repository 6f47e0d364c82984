#pragma once
// Text rules of declaration entry: the currency taken from the totals cell, the goods-code pieces
// counted in GBK bytes, the trimming of list section B and the "台湾" replacement.
#include <cstddef>
#include <string>
#include <string_view>

namespace ca::entry {

// The leading run of characters that are not ASCII digits: "USD12345.00" -> "USD", "EUR" -> "EUR",
// "12USD" -> "".
std::string GetCurrencyText(std::string_view text);

// The characters of a UTF-8 text whose GBK form starts within the byte range [firstByte,
// firstByte + byteCount). A double-byte character that straddles the end of the range belongs to
// the range it starts in, so no character is ever cut in half.
std::string gbkSlice(std::string_view utf8, std::size_t firstByte, std::size_t byteCount);

// Removes leading and trailing blanks and control characters (every byte up to 0x20).
std::string trimBlanksAndControls(std::string_view text);

// The country text typed into a goods line: exactly "台湾" becomes "台澎金马关税区"; any other text,
// also one that merely begins with "台湾", stays as it is.
std::string countryText(std::string_view text);

}  // namespace ca::entry
