// Feeds arbitrary bytes to the interval conversion. Besides crashes and
// undefined behaviour it checks that no text gives NaN, that the period is
// the period of the number, and that plain numerals of at most 17 significant
// digits convert exactly as strtod does (strtod rounds correctly; it only
// breaks exact ties differently, and those are left out).

#include <bit>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>

#include "refresh/interval.h"

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// A numeral written as digits · 10^exponent10.
struct PlainNumeral {
  std::uint64_t digits = 0;
  std::int64_t exponent10 = 0;
};

// The whole text as [+-]digits[.digits][(e|E)[+-]digits] (or with the
// mantissa .digits), with at most 17 significant digits and an exponent of at
// most 5200; anything else gives nothing.
std::optional<PlainNumeral> ReadPlainNumeral(const char* text) {
  PlainNumeral numeral;
  int significant = 0;
  bool any_digit = false;
  auto take = [&](char c, bool after_point) {
    any_digit = true;
    if (significant > 0 || c != '0') {
      numeral.digits = numeral.digits * 10 + static_cast<std::uint64_t>(c - '0');
      ++significant;
    }
    if (after_point) --numeral.exponent10;
    return significant <= 17;
  };
  if (*text == '+' || *text == '-') ++text;
  for (; IsDigit(*text); ++text) {
    if (!take(*text, false)) return std::nullopt;
  }
  if (*text == '.') {
    for (++text; IsDigit(*text); ++text) {
      if (!take(*text, true)) return std::nullopt;
    }
  }
  if (!any_digit) return std::nullopt;
  if (*text == 'e' || *text == 'E') {
    ++text;
    const bool negative = *text == '-';
    if (*text == '+' || *text == '-') ++text;
    if (!IsDigit(*text)) return std::nullopt;
    std::int64_t exponent = 0;
    for (; IsDigit(*text); ++text) {
      exponent = exponent * 10 + (*text - '0');
      if (exponent > 5200) return std::nullopt;
    }
    numeral.exponent10 += negative ? -exponent : exponent;
  }
  if (*text != '\0') return std::nullopt;
  return numeral;
}

// Whether digits · 10^exponent10 lies exactly halfway between two doubles: its
// odd part then has exactly 54 bits.
bool IsExactTie(PlainNumeral numeral) {
  std::uint64_t odd = numeral.digits;
  if (odd == 0) return false;
  for (std::int64_t i = 0; i < -numeral.exponent10; ++i) {
    if (odd % 5 != 0) return false;
    odd /= 5;
  }
  while (odd % 2 == 0) odd /= 2;
  for (std::int64_t i = 0; i < numeral.exponent10; ++i) {
    if (odd >= std::uint64_t{1} << 54) return false;
    odd *= 5;
  }
  return std::bit_width(odd) == 54;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // The conversion reads up to the first NUL, like every text it is given.
  const std::string text(reinterpret_cast<const char*>(data), size);
  const double number = vorlindy::NumberFromText(text.c_str());
  if (std::isnan(number)) std::abort();
  if (vorlindy::PeriodFromText(text.c_str()) != vorlindy::PeriodFromNumber(number)) std::abort();

  if (const auto numeral = ReadPlainNumeral(text.c_str()); numeral && !IsExactTie(*numeral)) {
    const double expected = std::strtod(text.c_str(), nullptr);
    if (std::bit_cast<std::uint64_t>(expected) != std::bit_cast<std::uint64_t>(number))
      std::abort();
  }

  // Any eight bytes as a double: no trap or undefined conversion, and small
  // values simply truncate.
  if (size >= sizeof(double)) {
    double raw = 0;
    std::memcpy(&raw, data, sizeof raw);
    const std::int32_t period = vorlindy::PeriodFromNumber(raw);
    if (std::fabs(raw) < 2147483648.0 && period != static_cast<std::int32_t>(std::trunc(raw))) {
      std::abort();
    }
  }
  return 0;
}
