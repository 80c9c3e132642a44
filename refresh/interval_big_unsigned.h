#pragma once
// A small arbitrary-precision unsigned integer, just big enough for the exact
// rounding of a decimal numeral: numbers of a few thousand bits at most.

#include <compare>
#include <cstdint>
#include <vector>

namespace vorlindy::interval_detail {

class BigUnsigned {
 public:
  BigUnsigned() = default;
  explicit BigUnsigned(std::uint64_t value);

  // *this = *this * factor + addend.
  void MultiplyAdd(std::uint32_t factor, std::uint32_t addend);
  void MultiplyByPowerOfTen(unsigned exponent);
  void ShiftLeft(unsigned bits);
  void ShiftRightOne();
  // *this -= smaller; the caller guarantees smaller <= *this.
  void Subtract(const BigUnsigned& smaller);

  bool IsZero() const { return limbs_.empty(); }
  // Number of bits up to and including the highest set bit; 0 for zero.
  unsigned BitLength() const;

  // The limbs never carry high zero limbs, so equal numbers have equal limbs.
  bool operator==(const BigUnsigned& other) const = default;
  std::strong_ordering operator<=>(const BigUnsigned& other) const;

 private:
  void DropHighZeroLimbs();

  std::vector<std::uint32_t> limbs_;  // least significant limb first
};

}  // namespace vorlindy::interval_detail
