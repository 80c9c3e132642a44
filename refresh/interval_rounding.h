#pragma once
// Exact rounding of a decimal value to the nearest double.

#include <cstdint>

#include "refresh/interval_big_unsigned.h"

namespace vorlindy::interval_detail {

// The double nearest to ±digits · 10^exponent10, where digits > 0 has exactly
// digit_count decimal digits. An exact halfway goes to the smaller magnitude;
// values beyond the double range give an infinity and values below half the
// smallest subnormal give zero, both with the requested sign.
double NearestDouble(bool negative, const BigUnsigned& digits, int digit_count,
                     std::int64_t exponent10);

}  // namespace vorlindy::interval_detail
