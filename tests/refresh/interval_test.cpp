#include "refresh/interval.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <random>
#include <string>
#include <vector>

namespace vorlindy {
namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr std::int32_t kMinPeriod = std::numeric_limits<std::int32_t>::min();

std::string Show(double value) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.17g (bits %016llx)", value,
                static_cast<unsigned long long>(std::bit_cast<std::uint64_t>(value)));
  return buffer;
}

// Bit-for-bit equality, so that -0.0 and 0.0 differ.
::testing::AssertionResult SameDouble(double expected, double actual) {
  if (std::bit_cast<std::uint64_t>(expected) == std::bit_cast<std::uint64_t>(actual)) {
    return ::testing::AssertionSuccess();
  }
  return ::testing::AssertionFailure() << "expected " << Show(expected) << ", got " << Show(actual);
}

struct TextCase {
  const char* text;
  double number;
  std::int32_t period;
};

void ExpectConversions(const std::vector<TextCase>& cases) {
  for (const TextCase& c : cases) {
    EXPECT_TRUE(SameDouble(c.number, NumberFromText(c.text))) << "text \"" << c.text << "\"";
    EXPECT_EQ(c.period, PeriodFromText(c.text)) << "text \"" << c.text << "\"";
  }
}

TEST(IntervalText, WorkedExamples) {
  // A hex escape swallows the hex digits after it, so byte strings are split
  // there; the table keeps each text on one line.
  // clang-format off
  ExpectConversions({
      {"1000", 1000, 1000},
      {"", 0.0, 0},
      {" 1000 ", 1000, 1000},
      {"\t1000", 1000, 1000},
      {"+1000", 1000, 1000},
      {"0005", 5, 5},
      {"1,000", 1, 1},
      {"1 000", 1, 1},
      {"1000ms", 1000, 1000},
      {"1000\xBA\xC1\xC3\xEB", 1000, 1000},  // 1000毫秒
      {"1.9", 1.9, 1},
      {"999.9", 999.9, 999},
      {"-2.5", -2.5, -2},
      {"-0.5", -0.5, 0},
      {".5", 0.5, 0},
      {"5.", 5, 5},
      {"1.2.3", 1.2, 1},
      {"1e3", 1000, 1000},
      {"1E3", 1000, 1000},
      {"1d3", 1000, 1000},
      {"1D3", 1000, 1000},
      {"1.5e3", 1500, 1500},
      {"2.5e-1", 0.25, 0},
      {"0.0000001e7", 1, 1},
      {"1e", 1, 1},
      {"1e+", 1, 1},
      {"e5", 0.0, 0},
      {"0x10", 0.0, 0},
      {"0X1A", 0.0, 0},
      {"abc", 0.0, 0},
      {"inf", 0.0, 0},
      {"nan", 0.0, 0},
      {".", 0.0, 0},
      {"-", 0.0, 0},
      {"--5", 0.0, 0},
      {"+-5", 0.0, 0},
      {"- 5", 0.0, 0},
      {"1-2", 1, 1},
      {"-1", -1, -1},
      {"2147483647", 2147483647.0, 2147483647},
      {"2147483648", 2147483648.0, kMinPeriod},
      {"3000000000", 3000000000.0, -1294967296},
      {"4294967295", 4294967295.0, -1},
      {"4294967296", 4294967296.0, 0},
      {"4294968296", 4294968296.0, 1000},
      {"-2147483649", -2147483649.0, 2147483647},
      {"1e18", 1e18, -1486618624},
      {"9007199254740995", 9007199254740994.0, 2},
      {"9223372036854775807", 9223372036854775808.0, 0},
      {"1e19", 1e19, 0},
      {"1e308", 1e308, 0},
      {"1e309", kInf, 0},
      {"-1e999", -kInf, 0},
      {"1e-400", 0.0, 0},
      {"\xA3\xB1\xA3\xB0\xA3\xB0\xA3\xB0", 1000, 1000},          // １０００
      {"\xA1\xA1\xA3\xB1\xA3\xB0\xA3\xB0\xA3\xB0", 1000, 1000},  // ideographic space, １０００
      {"1\xA3\xB0" "00", 1000, 1000},                           // 1０00
      {"\xA3\xB1\xA3\xAE\xA3\xB5", 1.5, 1},                      // １．５
      {"\xA3\xAD\xA3\xB5", -5, -5},                              // －５
      {"\xA3\xAB\xA3\xB1\xA3\xB0", 10, 10},                      // ＋１０
      {"\xA3\xB1\xA3\xE5\xA3\xB3", 1000, 1000},                  // １ｅ３
      {"\xA3\xB1\xA3\xAC\xA3\xB0\xA3\xB0\xA3\xB0", 1, 1},        // １，０００
      {"1\xA1\xA1" "000", 1, 1},                                // 1, ideographic space, 000
  });
  // clang-format on
}

TEST(IntervalText, BlanksAndSignedZeros) {
  // A hex escape swallows the hex digits after it, so byte strings are split
  // there; the table keeps each text on one line.
  // clang-format off
  ExpectConversions({
      {" ", 0.0, 0},
      {" \t\n\v\f\r", 0.0, 0},
      {"\xA1\xA1\xA1\xA1", 0.0, 0},
      {"\r5", 5, 5},
      {"\t\n\v\f\r 5", 5, 5},
      {"\x08" "5", 0.0, 0},  // only 0x09..0x0D and the blank are white space
      {"\x0E" "5", 0.0, 0},
      {"0", 0.0, 0},
      {"-0", -0.0, 0},
      {"-0.000e5", -0.0, 0},
      {"-.0", -0.0, 0},
      {"-1e-400", -0.0, 0},
      {"+0e-99999", 0.0, 0},
  });
  // clang-format on
}

TEST(IntervalText, LoneLeadByteAtTheEndIsIgnored) {
  ExpectConversions({
      {"1000\xB0", 1000, 1000},
      {"12.5\xFF", 12.5, 12},
      {"\xA3\xB1\xA3\xB2\xA3", 12, 12},  // １２ and a cut-off character
      {"-\xA3", 0.0, 0},
      {"\x80", 0.0, 0},
  });
}

TEST(IntervalText, FullWidthCharactersJoinTheNumeral) {
  // A hex escape swallows the hex digits after it, so byte strings are split
  // there; the table keeps each text on one line.
  // clang-format off
  ExpectConversions({
      {"12\xA3\xB3" "45", 12345, 12345},
      {"1\xA3\xAE" "5\xA3\xC4" "2", 150, 150},  // 1．5Ｄ2
      {"\xA3\xAD" "2147483648", -2147483648.0, kMinPeriod},
      {"7\xBA\xC1" "7", 7, 7},  // a Chinese character ends the numeral
  });
  // clang-format on
}

TEST(IntervalText, NegativePeriods) {
  ExpectConversions({
      {"-1", -1, -1},
      {"-1.99", -1.99, -1},
      {"-1000", -1000, -1000},
      {"-1000.999", -1000.999, -1000},
      {"-2147483647", -2147483647.0, -2147483647},
      {"-2147483648", -2147483648.0, kMinPeriod},
      {"-2147483648.9", -2147483648.9, kMinPeriod},
      {"-2147483649", -2147483649.0, 2147483647},
      {"-4294967296", -4294967296.0, 0},
      {"-4294967297", -4294967297.0, -1},
  });
}

TEST(IntervalText, ExponentsOfAnyLengthSaturate) {
  const std::string nines(3000, '9');
  const std::string long_positive = "1e" + nines;
  const std::string long_negative = "1e-" + nines;
  // Exponents above 5200 count as 5201, even when the point has been shifted
  // far to the left: 10^-5191 · 10^5201 = 10^10.
  const std::string shifted_left = "0." + std::string(5190, '0') + "1e5300";
  const std::string shifted_left_exact = "0." + std::string(5190, '0') + "1e5200";
  const std::string shifted_right = "1" + std::string(5190, '0') + "e-5300";
  ExpectConversions({
      {"1e99999999999999999999", kInf, 0},
      {"-1e99999999999999999999", -kInf, 0},
      {"1e-99999999999999999999", 0.0, 0},
      {"-1e-99999999999999999999", -0.0, 0},
      {long_positive.c_str(), kInf, 0},
      {long_negative.c_str(), 0.0, 0},
      {"1e0000000000000000000000000000003", 1000, 1000},
      {shifted_left.c_str(), 1e10, 1410065408},
      {shifted_left_exact.c_str(), 1e9, 1000000000},
      {shifted_right.c_str(), 1e-11, 0},
  });
}

TEST(IntervalText, DigitsBeyondTheTwentyFourthOnlyScale) {
  const std::string thirty_nines(30, '9');
  const std::string with_fraction = thirty_nines + ".999";
  const std::string negative = "-" + thirty_nines;
  const std::string hundred_digits = "1" + std::string(99, '0') + "7";  // 10^100 + 7
  const std::string tiny = "0." + std::string(300, '0') + "1";
  const std::string huge = std::string(400, '7');
  // (2^53 + 1) · 2^26 has 24 digits and lies halfway between two doubles; a
  // 25th digit does not move it off the halfway point.
  const std::string tie_and_more = "604462909807314654461952.9";
  const std::string leading_zeros = std::string(30, '0') + "9007199254740993";
  const std::string leading_fraction_zeros = "0." + std::string(28, '0') + "9007199254740993e44";
  ExpectConversions({
      {thirty_nines.c_str(), 1e30, 0},
      {with_fraction.c_str(), 1e30, 0},
      {negative.c_str(), -1e30, 0},
      {hundred_digits.c_str(), 1e100, 0},
      {tiny.c_str(), 1e-301, 0},
      {huge.c_str(), kInf, 0},
      {tie_and_more.c_str(), 604462909807314587353088.0, 0},  // 2^79
      {leading_zeros.c_str(), 9007199254740992.0, 0},
      {leading_fraction_zeros.c_str(), 9007199254740992.0, 0},
  });
}

TEST(IntervalPeriod, FromNumber) {
  const double two_to_63 = std::ldexp(1.0, 63);
  const double below_two_to_63 = std::nextafter(two_to_63, 0.0);  // 2^63 - 1024
  const struct {
    double number;
    std::int32_t period;
  } cases[] = {
      {std::numeric_limits<double>::quiet_NaN(), 0},
      {-std::numeric_limits<double>::quiet_NaN(), 0},
      {kInf, 0},
      {-kInf, 0},
      {two_to_63, 0},
      {-two_to_63, 0},
      {two_to_63 + 2048, 0},  // a wrapping conversion would give 2048
      {-two_to_63 - 2048, 0},
      {std::ldexp(1.0, 64) + 4096, 0},
      {1e300, 0},
      {-1e300, 0},
      {std::numeric_limits<double>::max(), 0},
      {below_two_to_63, -1024},
      {-below_two_to_63, 1024},
      {-0.0, 0},
      {std::numeric_limits<double>::denorm_min(), 0},
      {-std::numeric_limits<double>::denorm_min(), 0},
      {0.99999, 0},
      {-0.99999, 0},
      {2147483647.9, 2147483647},
      {2147483648.0, kMinPeriod},
      {-2147483648.9, kMinPeriod},
      {4294968296.75, 1000},
      {-4294968296.75, -1000},
      {6442450943.0, 2147483647},  // 1.5 · 2^32 - 1
  };
  for (const auto& c : cases) {
    EXPECT_EQ(c.period, PeriodFromNumber(c.number)) << Show(c.number);
  }
}

TEST(IntervalFold, Mappings) {
  // A hex escape swallows the hex digits after it, so byte strings are split
  // there; the table keeps each text on one line.
  // clang-format off
  const struct {
    const char* text;
    const char* folded;
  } cases[] = {
      {"", ""},
      {"abc 1.5-~", "abc 1.5-~"},
      {"\xA3\xA1", "!"},
      {"\xA3\xB0\xA3\xB9", "09"},
      {"\xA3\xAB\xA3\xAD\xA3\xAE\xA3\xAC", "+-.,"},
      {"\xA3\xC4\xA3\xC5\xA3\xE4\xA3\xE5", "DEde"},
      {"\xA3\xA4", "$"},
      {"\xA3\xFE", "~"},
      {"\xA1\xA1", " "},
      {"\xA1\xAB", "~"},
      {"\xA1\xEE\xA1\xEF", "**"},
      {"\xA3\xA0", "\xA3\xA0"},  // just outside row A3's forms
      {"\xA3\xFF", "\xA3\xFF"},
      {"\xA1\xA2", "\xA1\xA2"},
      {"\xA1\xAC", "\xA1\xAC"},
      {"\xA2\xA1", "\xA2\xA1"},
      {"\xBA\xC1\xC3\xEB", "\xBA\xC1\xC3\xEB"},  // 毫秒
      {"\x81" "1", "\x81" "1"},                  // an ASCII trail byte stays with its lead
      {"\xB0\xA3\xB1", "\xB0\xA3"},              // pairs are taken from the lead byte on
      {"12\xA3", "12"},
      {"\xA3", ""},
      {"\xA3\xB1\xA3\xB2\xA3", "12"},
  };
  // clang-format on
  for (const auto& c : cases) {
    EXPECT_EQ(c.folded, FoldFullWidth(c.text)) << "text \"" << c.text << "\"";
  }
}

TEST(IntervalFold, WholeRowA3BecomesAscii) {
  for (int trail = 0xA1; trail <= 0xFE; ++trail) {
    const char text[] = {'\xA3', static_cast<char>(trail), '\0'};
    EXPECT_EQ(std::string(1, static_cast<char>(trail - 0x80)), FoldFullWidth(text))
        << "trail byte " << trail;
  }
}

// --- Rounding against strtod, which rounds correctly with ties to even. ---

double Strtod(const std::string& text) { return std::strtod(text.c_str(), nullptr); }

// Whether digits · 10^exponent10 is exactly halfway between two doubles: its
// odd part then has exactly 54 bits (halfway points among subnormals need far
// more decimal digits than these numerals have).
bool IsExactTie(std::uint64_t digits, int exponent10) {
  if (digits == 0) return false;
  for (int i = 0; i < -exponent10; ++i) {
    if (digits % 5 != 0) return false;
    digits /= 5;
  }
  while (digits % 2 == 0) digits /= 2;
  for (int i = 0; i < exponent10; ++i) {
    if (digits >= std::uint64_t{1} << 54) return false;
    digits *= 5;
  }
  return std::bit_width(digits) == 54;
}

std::string TimesSmall(const std::string& decimal, unsigned factor) {
  std::string product(decimal.size(), '0');
  unsigned carry = 0;
  for (std::size_t i = decimal.size(); i-- > 0;) {
    const unsigned digit = static_cast<unsigned>(decimal[i] - '0') * factor + carry;
    product[i] = static_cast<char>('0' + digit % 10);
    carry = digit / 10;
  }
  for (; carry != 0; carry /= 10)
    product.insert(product.begin(), static_cast<char>('0' + carry % 10));
  return product;
}

std::string MinusOne(std::string decimal) {
  std::size_t i = decimal.size();
  while (decimal[--i] == '0') decimal[i] = '9';
  --decimal[i];
  return decimal;
}

TEST(IntervalRounding, RandomNumeralsMatchStrtod) {
  std::mt19937_64 random(20240611u);
  auto pick = [&random](int low, int high) {
    return std::uniform_int_distribution<int>(low, high)(random);
  };
  const char* const kSigns[] = {"", "+", "-"};
  int compared = 0;
  for (int i = 0; i < 120000; ++i) {
    // Up to 17 digits, or up to 24 ending in 1, 3, 7 or 9: such a mantissa is
    // odd and not a multiple of 5, so the value can never be a tie.
    const bool is_long = i % 4 == 0;
    const int length = is_long ? pick(18, 24) : pick(1, 17);
    std::string digits;
    for (int d = 0; d < length; ++d) digits.push_back(static_cast<char>('0' + pick(0, 9)));
    if (is_long) digits.back() = "1379"[pick(0, 3)];
    const int point = pick(0, length);  // position of the point; at the end: none
    const int exponent = pick(-345, 310);
    const char* sign = kSigns[pick(0, 2)];
    if (!is_long && IsExactTie(std::stoull(digits), exponent - (length - point))) continue;

    std::string mantissa = digits;
    if (point < length) mantissa.insert(static_cast<std::size_t>(point), ".");
    const std::string tail = std::to_string(exponent);
    const std::string text = sign + mantissa + "eEdD"[pick(0, 3)] + tail;
    ASSERT_TRUE(SameDouble(Strtod(sign + mantissa + "e" + tail), NumberFromText(text.c_str())))
        << "text \"" << text << "\"";
    ++compared;
  }
  EXPECT_GT(compared, 110000);  // the tie filter leaves almost every numeral in
}

TEST(IntervalRounding, HardCasesMatchStrtod) {
  const char* texts[] = {
      "2.4703282292062327e-324",  // just below half the smallest subnormal
      "2.4703282292062328e-324",  // just above it
      "4.9406564584124654e-324",  // the smallest subnormal
      "7.4109846876186982e-324",  // just below 1.5 times it
      "7.4109846876186983e-324",  // just above
      "2.2250738585072011e-308",  // just below the smallest normal
      "2.2250738585072012e-308",  // just above
      "2.22507385850720113605740e-308",
      "1.7976931348623157e308",         // the largest finite double
      "1.7976931348623158e308",         // below the halfway point to 2^1024
      "1.7976931348623159e308",         // above it: infinity
      "1.79769313486231580793728e308",  // 24 digits, just below the halfway point
      "1.79769313486231580793729e308",  // just above
      "1e23",
      "8.98846567431158053656668e307",
      "9007199254740993.00000001",
      "9007199254740992.99999999",
      "123456789012345678901234e-300",
      "0.000000000000000000000000000000000000000000000000000000000000001e-250",
  };
  for (const char* text : texts) {
    EXPECT_TRUE(SameDouble(Strtod(text), NumberFromText(text))) << "text \"" << text << "\"";
  }
}

// Halfway points h · 2^j (h odd with 54 bits, h = 5^a · t) written out in at
// most 24 significant digits go to the smaller neighbour; just above or below
// the halfway point they go to the nearer one, as strtod says.
TEST(IntervalRounding, ExactTiesGoToTheSmallerMagnitude) {
  std::mt19937_64 random(7153u);
  int ties = 0;
  for (int a = 0; a <= 23; ++a) {
    std::uint64_t five_to_a = 1;
    for (int i = 0; i < a; ++i) five_to_a *= 5;
    const std::uint64_t t_low = ((std::uint64_t{1} << 53) + five_to_a - 1) / five_to_a;
    const std::uint64_t t_high = ((std::uint64_t{1} << 54) - 1) / five_to_a;
    for (int round = 0; round < 120; ++round) {
      std::uint64_t t = std::uniform_int_distribution<std::uint64_t>(t_low, t_high)(random) | 1;
      if (t > t_high) t -= 2;
      const std::uint64_t h = t * five_to_a;
      const int j = std::uniform_int_distribution<int>(-12, a + 80)(random);

      // h · 2^j = significand · 10^exponent10.
      std::string significand = std::to_string(t);
      const int exponent10 = std::min(a, j);
      for (int i = 0; i < a - exponent10; ++i) significand = TimesSmall(significand, 5);
      for (int i = 0; i < j - exponent10; ++i) significand = TimesSmall(significand, 2);
      if (significand.size() > 24) continue;

      const bool negative = round % 2 == 1;
      const double sign = negative ? -1.0 : 1.0;
      const double lower = sign * std::ldexp(static_cast<double>(h - 1), j);
      const double upper = sign * std::ldexp(static_cast<double>(h + 1), j);
      const std::string prefix = negative ? "-" : "";
      const std::string tie = prefix + significand + "e" + std::to_string(exponent10);
      // strtod breaks the tie toward the even significand, which shows the
      // construction really lands halfway.
      const double even = ((h - 1) / 2) % 2 == 0 ? lower : upper;
      ASSERT_TRUE(SameDouble(even, Strtod(tie))) << "not a tie: " << tie;
      ASSERT_TRUE(SameDouble(lower, NumberFromText(tie.c_str()))) << "text \"" << tie << "\"";
      ++ties;

      // One unit in the 24th significant digit above and below the halfway
      // point: far less than the distance to either neighbour.
      const std::size_t padding = 24 - significand.size();
      const std::string near_exponent =
          "e" + std::to_string(exponent10 - static_cast<int>(padding));
      const std::string below =
          prefix + MinusOne(significand + std::string(padding, '0')) + near_exponent;
      EXPECT_TRUE(SameDouble(lower, NumberFromText(below.c_str()))) << "text \"" << below << "\"";
      EXPECT_TRUE(SameDouble(Strtod(below), lower)) << "text \"" << below << "\"";
      if (padding == 0) continue;
      const std::string above =
          prefix + significand + std::string(padding - 1, '0') + "1" + near_exponent;
      EXPECT_TRUE(SameDouble(upper, NumberFromText(above.c_str()))) << "text \"" << above << "\"";
      EXPECT_TRUE(SameDouble(Strtod(above), upper)) << "text \"" << above << "\"";
    }
  }
  EXPECT_GT(ties, 1000);
}

}  // namespace
}  // namespace vorlindy
