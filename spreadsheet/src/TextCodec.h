#pragma once
// UTF-16 <-> UTF-8 and the single-byte code pages of older workbooks.
#include <cstdint>
#include <string>
#include <string_view>

namespace ca::spreadsheet {

// UTF-16 code units to UTF-8; an unpaired surrogate becomes U+FFFD.
std::string utf16ToUtf8(std::u16string_view units);
void appendUtf16AsUtf8(std::string& out, std::u16string_view units);

// UTF-8 to UTF-16 code units; an invalid byte becomes U+FFFD.
std::u16string utf8ToUtf16(std::string_view utf8);

// The text with every invalid UTF-8 sequence replaced by U+FFFD (unchanged when already valid).
std::string validUtf8(std::string_view text);

// Bytes in a workbook code page (CODEPAGE record) to UTF-8: 936 (GBK, also taken when the
// workbook names none), 1252 and other single-byte pages as Windows-1252, 1200 as UTF-16LE.
std::string codePageToUtf8(std::string_view bytes, int codePage);

}  // namespace ca::spreadsheet
