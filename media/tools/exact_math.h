#pragma once
// Sine and cosine built from additions, multiplications and divisions only.
// IEEE 754 rounds each of these exactly, so the assets come out bit for bit
// the same on every machine and compiler, which the C library's sin() does not
// promise. Build with -ffp-contract=off so no multiply-add gets fused.

#include <cmath>

namespace vorlindy::assets {

inline constexpr double kTwoPi = 6.283185307179586;

// sin(2*pi*turns), good to about 1e-9.
inline double SineOfTurns(double turns) {
  double t = turns - std::floor(turns);  // [0, 1)
  // Fold onto [-1/4, 1/4]: sin(x) = sin(pi - x) and sin is odd.
  if (t > 0.75) {
    t -= 1.0;
  } else if (t > 0.25) {
    t = 0.5 - t;
  }
  const double x = kTwoPi * t;
  const double x2 = x * x;
  // Taylor series to x^15, evaluated from the small end.
  double sum = 1.0 / 1307674368000.0;
  sum = 1.0 / 6227020800.0 - x2 * sum;
  sum = 1.0 / 39916800.0 - x2 * sum;
  sum = 1.0 / 362880.0 - x2 * sum;
  sum = 1.0 / 5040.0 - x2 * sum;
  sum = 1.0 / 120.0 - x2 * sum;
  sum = 1.0 / 6.0 - x2 * sum;
  sum = 1.0 - x2 * sum;
  return x * sum;
}

inline double CosineOfTurns(double turns) { return SineOfTurns(turns + 0.25); }

}  // namespace vorlindy::assets
