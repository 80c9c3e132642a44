#include "refresh/interval_rounding.h"

#include <algorithm>
#include <bit>

namespace vorlindy::interval_detail {
namespace {

constexpr int kSignificandBits = 53;
constexpr std::uint64_t kHiddenBit = std::uint64_t{1} << (kSignificandBits - 1);
constexpr std::uint64_t kFractionMask = kHiddenBit - 1;
// A double is q · 2^k with q < 2^53 and kMinScale <= k <= kMaxScale: the
// smallest subnormal is 2^-1074, the largest finite value (2^53 - 1) · 2^971.
constexpr int kMinScale = -1074;
constexpr int kMaxScale = 971;
constexpr int kExponentBias = 1075;  // biased exponent of q · 2^k with q >= 2^52
constexpr std::uint64_t kInfinityBits = std::uint64_t{0x7FF} << 52;
constexpr std::uint64_t kSignBit = std::uint64_t{1} << 63;

// 10^309 exceeds (2^53 - 1/2) · 2^971, the halfway point between the largest
// finite double and 2^1024; 10^-325 lies below 2^-1075, half the smallest
// subnormal. Values outside these bounds need no exact arithmetic.
constexpr int kOverflowPowerOfTen = 309;
constexpr int kUnderflowPowerOfTen = -325;

double WithSign(bool negative, std::uint64_t magnitude_bits) {
  return std::bit_cast<double>(magnitude_bits | (negative ? kSignBit : 0));
}

// Whether numerator / denominator >= 2^power.
bool RatioAtLeastPowerOfTwo(const BigUnsigned& numerator, const BigUnsigned& denominator,
                            int power) {
  BigUnsigned left = numerator;
  BigUnsigned right = denominator;
  if (power >= 0) {
    right.ShiftLeft(static_cast<unsigned>(power));
  } else {
    left.ShiftLeft(static_cast<unsigned>(-power));
  }
  return left >= right;
}

// Long division for a quotient known to be below 2^quotient_bits; the
// remainder is left in dividend.
std::uint64_t DivideWithSmallQuotient(BigUnsigned& dividend, const BigUnsigned& divisor,
                                      unsigned quotient_bits) {
  BigUnsigned shifted = divisor;
  shifted.ShiftLeft(quotient_bits - 1);
  std::uint64_t quotient = 0;
  for (unsigned bit = quotient_bits; bit-- > 0;) {
    if (dividend >= shifted) {
      dividend.Subtract(shifted);
      quotient |= std::uint64_t{1} << bit;
    }
    shifted.ShiftRightOne();
  }
  return quotient;
}

}  // namespace

double NearestDouble(bool negative, const BigUnsigned& digits, int digit_count,
                     std::int64_t exponent10) {
  // digits · 10^exponent10 lies in [10^(digit_count - 1 + exponent10), 10^(digit_count +
  // exponent10)).
  if (digit_count - 1 + exponent10 >= kOverflowPowerOfTen) return WithSign(negative, kInfinityBits);
  if (digit_count + exponent10 <= kUnderflowPowerOfTen) return WithSign(negative, 0);

  // The value as an exact ratio numerator / denominator.
  BigUnsigned numerator = digits;
  BigUnsigned denominator(1);
  if (exponent10 >= 0) {
    numerator.MultiplyByPowerOfTen(static_cast<unsigned>(exponent10));
  } else {
    denominator.MultiplyByPowerOfTen(static_cast<unsigned>(-exponent10));
  }

  // floor(log2(value)) is one of two neighbours given by the bit lengths.
  int binary_log =
      static_cast<int>(numerator.BitLength()) - static_cast<int>(denominator.BitLength());
  if (!RatioAtLeastPowerOfTwo(numerator, denominator, binary_log)) --binary_log;

  // Scale so that the quotient has 53 bits, or fewer in the subnormal range.
  int scale = std::max(binary_log - (kSignificandBits - 1), kMinScale);
  if (scale >= 0) {
    denominator.ShiftLeft(static_cast<unsigned>(scale));
  } else {
    numerator.ShiftLeft(static_cast<unsigned>(-scale));
  }
  std::uint64_t quotient = DivideWithSmallQuotient(numerator, denominator, kSignificandBits);

  // numerator now holds the remainder: round up only when it is more than half
  // the denominator; an exact half stays down, at the smaller magnitude.
  numerator.ShiftLeft(1);
  if (numerator > denominator) {
    ++quotient;
    if (quotient == std::uint64_t{1} << kSignificandBits) {
      quotient = kHiddenBit;
      ++scale;
    }
  }
  if (scale > kMaxScale) return WithSign(negative, kInfinityBits);

  // A quotient below 2^52 only occurs at the smallest scale: a subnormal.
  const std::uint64_t biased_exponent =
      quotient >= kHiddenBit ? static_cast<std::uint64_t>(scale + kExponentBias) : 0;
  return WithSign(negative, (biased_exponent << 52) | (quotient & kFractionMask));
}

}  // namespace vorlindy::interval_detail
