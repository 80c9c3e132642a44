#include "refresh/interval_big_unsigned.h"

#include <bit>

namespace vorlindy::interval_detail {

BigUnsigned::BigUnsigned(std::uint64_t value) {
  while (value != 0) {
    limbs_.push_back(static_cast<std::uint32_t>(value));
    value >>= 32;
  }
}

void BigUnsigned::MultiplyAdd(std::uint32_t factor, std::uint32_t addend) {
  std::uint64_t carry = addend;
  for (std::uint32_t& limb : limbs_) {
    const std::uint64_t product = std::uint64_t{limb} * factor + carry;
    limb = static_cast<std::uint32_t>(product);
    carry = product >> 32;
  }
  if (carry != 0) limbs_.push_back(static_cast<std::uint32_t>(carry));
  DropHighZeroLimbs();
}

void BigUnsigned::MultiplyByPowerOfTen(unsigned exponent) {
  constexpr std::uint32_t kTenToTheNine = 1'000'000'000;
  for (; exponent >= 9; exponent -= 9) MultiplyAdd(kTenToTheNine, 0);
  std::uint32_t rest = 1;
  for (; exponent > 0; --exponent) rest *= 10;
  MultiplyAdd(rest, 0);
}

void BigUnsigned::ShiftLeft(unsigned bits) {
  if (IsZero()) return;
  const unsigned whole_limbs = bits / 32;
  const unsigned part = bits % 32;
  if (part != 0) {
    std::uint32_t carry = 0;
    for (std::uint32_t& limb : limbs_) {
      const std::uint32_t next_carry = limb >> (32 - part);
      limb = (limb << part) | carry;
      carry = next_carry;
    }
    if (carry != 0) limbs_.push_back(carry);
  }
  limbs_.insert(limbs_.begin(), whole_limbs, 0);
}

void BigUnsigned::ShiftRightOne() {
  std::uint32_t carry = 0;
  for (auto limb = limbs_.rbegin(); limb != limbs_.rend(); ++limb) {
    const std::uint32_t next_carry = *limb << 31;
    *limb = (*limb >> 1) | carry;
    carry = next_carry;
  }
  DropHighZeroLimbs();
}

void BigUnsigned::Subtract(const BigUnsigned& smaller) {
  std::uint32_t borrow = 0;
  for (std::size_t i = 0; i < limbs_.size(); ++i) {
    const std::uint64_t subtrahend =
        std::uint64_t{i < smaller.limbs_.size() ? smaller.limbs_[i] : 0u} + borrow;
    const std::uint64_t limb = limbs_[i];
    borrow = limb < subtrahend ? 1 : 0;
    limbs_[i] = static_cast<std::uint32_t>(limb + (std::uint64_t{borrow} << 32) - subtrahend);
  }
  DropHighZeroLimbs();
}

unsigned BigUnsigned::BitLength() const {
  if (IsZero()) return 0;
  return static_cast<unsigned>(32 * (limbs_.size() - 1) +
                               static_cast<unsigned>(std::bit_width(limbs_.back())));
}

std::strong_ordering BigUnsigned::operator<=>(const BigUnsigned& other) const {
  if (limbs_.size() != other.limbs_.size()) return limbs_.size() <=> other.limbs_.size();
  for (std::size_t i = limbs_.size(); i-- > 0;) {
    if (limbs_[i] != other.limbs_[i]) return limbs_[i] <=> other.limbs_[i];
  }
  return std::strong_ordering::equal;
}

void BigUnsigned::DropHighZeroLimbs() {
  while (!limbs_.empty() && limbs_.back() == 0) limbs_.pop_back();
}

}  // namespace vorlindy::interval_detail
