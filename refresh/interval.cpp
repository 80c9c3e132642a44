#include "refresh/interval.h"

#include <algorithm>
#include <bit>
#include <cstring>

#include "refresh/interval_big_unsigned.h"
#include "refresh/interval_rounding.h"

namespace vorlindy {
namespace {

using interval_detail::BigUnsigned;

// Digits beyond this many significant ones only shift the decimal point.
constexpr int kMaxSignificantDigits = 24;
// Larger exponents all read as this one; it is far beyond the double range, so
// the exponent never overflows however many digits it has.
constexpr std::int64_t kExponentCeiling = 5201;

bool IsDigit(unsigned char c) { return c >= '0' && c <= '9'; }
bool IsWhiteSpace(unsigned char c) { return c == ' ' || (c >= 0x09 && c <= 0x0D); }
bool IsExponentLetter(unsigned char c) { return c == 'e' || c == 'E' || c == 'd' || c == 'D'; }

// The ASCII byte a GBK double-byte character folds to, or 0 when it is kept.
char FoldedPair(unsigned char lead, unsigned char trail) {
  if (lead == 0xA3 && trail >= 0xA1 && trail <= 0xFE) return static_cast<char>(trail - 0x80);
  if (lead != 0xA1) return 0;
  switch (trail) {
    case 0xA1:  // ideographic space
      return ' ';
    case 0xAB:  // full-width tilde
      return '~';
    case 0xEE:  // white star
    case 0xEF:  // black star
      return '*';
    default:
      return 0;
  }
}

// Reads the numeral at the start of a folded text.
class NumeralReader {
 public:
  explicit NumeralReader(const char* text) : next_(reinterpret_cast<const unsigned char*>(text)) {}

  double Read() {
    while (IsWhiteSpace(*next_)) ++next_;
    if (*next_ == '+' || *next_ == '-') negative_ = *next_++ == '-';
    bool any_digit = false;
    for (; IsDigit(*next_); ++next_) {
      TakeMantissaDigit(*next_, /*after_point=*/false);
      any_digit = true;
    }
    if (*next_ == '.' && (any_digit || IsDigit(next_[1]))) {
      for (++next_; IsDigit(*next_); ++next_) TakeMantissaDigit(*next_, /*after_point=*/true);
      any_digit = true;
    }
    // A sign without a mantissa is no numeral, and no numeral reads as +0.
    if (!any_digit) return 0.0;
    decimal_exponent_ += ReadExponent();
    if (digits_.IsZero()) return negative_ ? -0.0 : 0.0;
    return interval_detail::NearestDouble(negative_, digits_, digit_count_, decimal_exponent_);
  }

 private:
  void TakeMantissaDigit(unsigned char digit, bool after_point) {
    if (digit_count_ == 0 && digit == '0') {
      // A leading zero carries no precision; after the point it still scales.
      if (after_point) --decimal_exponent_;
    } else if (digit_count_ < kMaxSignificantDigits) {
      digits_.MultiplyAdd(10, digit - '0');
      ++digit_count_;
      if (after_point) --decimal_exponent_;
    } else if (!after_point) {
      ++decimal_exponent_;  // a dropped integer digit still counts as a power of ten
    }
  }

  // The exponent part, or 0 when the letter is not followed by digits (the
  // numeral then ends before the letter).
  std::int64_t ReadExponent() {
    if (!IsExponentLetter(*next_)) return 0;
    const unsigned char* cursor = next_ + 1;
    const bool negative = *cursor == '-';
    if (*cursor == '+' || *cursor == '-') ++cursor;
    if (!IsDigit(*cursor)) return 0;
    std::int64_t exponent = 0;
    for (; IsDigit(*cursor); ++cursor) {
      exponent = std::min(exponent * 10 + (*cursor - '0'), kExponentCeiling);
    }
    next_ = cursor;
    return negative ? -exponent : exponent;
  }

  const unsigned char* next_;
  bool negative_ = false;
  BigUnsigned digits_;  // the significant digits read so far, as an integer
  int digit_count_ = 0;
  std::int64_t decimal_exponent_ = 0;  // the value is digits_ · 10^decimal_exponent_
};

}  // namespace

std::string FoldFullWidth(const char* text) {
  std::string folded;
  folded.reserve(std::strlen(text));
  for (const char* cursor = text; *cursor != '\0'; ++cursor) {
    const auto lead = static_cast<unsigned char>(cursor[0]);
    if (lead < 0x80) {
      folded.push_back(cursor[0]);
      continue;
    }
    const auto trail = static_cast<unsigned char>(cursor[1]);
    if (trail == 0) break;  // a lead byte cut off by the end of the text
    if (const char ascii = FoldedPair(lead, trail); ascii != 0) {
      folded.push_back(ascii);
    } else {
      folded.append(cursor, 2);
    }
    ++cursor;
  }
  return folded;
}

double NumberFromText(const char* text) {
  const std::string folded = FoldFullWidth(text);
  return NumeralReader(folded.c_str()).Read();
}

std::int32_t PeriodFromNumber(double number) {
  // Both bounds are exact doubles. Every double below -2^63 truncates below it,
  // and every double from 2^63 on truncates to 2^63 or more; NaN fails both.
  constexpr double kLowest = -9223372036854775808.0;  // -2^63
  constexpr double kBeyond = 9223372036854775808.0;   //  2^63
  std::int64_t whole = INT64_MIN;
  if (number >= kLowest && number < kBeyond) whole = static_cast<std::int64_t>(number);
  // Conversions to unsigned types wrap, and uint32 to int32 is two's complement.
  return std::bit_cast<std::int32_t>(static_cast<std::uint32_t>(static_cast<std::uint64_t>(whole)));
}

std::int32_t PeriodFromText(const char* text) { return PeriodFromNumber(NumberFromText(text)); }

}  // namespace vorlindy
