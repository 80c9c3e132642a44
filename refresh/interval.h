#pragma once
// Conversion of the interval box's text into a timer period.
//
// Texts are NUL-terminated byte strings in the program's code page (GB18030, a
// superset of GBK). The conversion is lenient and total: it reads the longest
// numeral at the start of the text, after leading white space, and ignores the
// rest; a text without a numeral gives 0.

#include <cstdint>
#include <string>

namespace vorlindy {

// Folds the GBK full-width forms (row A3, the ideographic space, ～, ☆ and ★)
// to their ASCII counterparts; other double-byte characters are kept, and a
// lead byte without its trail byte at the end of the text is dropped.
std::string FoldFullWidth(const char* text);

// The value of the numeral at the start of the folded text, correctly rounded to
// the nearest double (an exact halfway goes to the smaller magnitude). Never NaN.
double NumberFromText(const char* text);

// Truncates toward zero to 64 bits (NaN, the infinities and values outside the
// 64-bit range give -2^63) and keeps the low 32 bits, two's complement.
std::int32_t PeriodFromNumber(double number);

// PeriodFromNumber(NumberFromText(text)): what the Start button computes.
std::int32_t PeriodFromText(const char* text);

}  // namespace vorlindy
