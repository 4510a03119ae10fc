// X87Real: the x87 extended format carried out with integer arithmetic.
//
// A non-zero value is significand * 2^(exponent - 63) with the significand's bit 63 set; zero
// has a zero significand and keeps its sign, as IEEE zeros do (-0 prints as "-0.00"). Each
// operation forms its exact result, or the leading 128 bits of it with a sticky bit standing for
// everything below, and rounds that once to 64 bits, to nearest with ties to even (round_to_64).
// 128-bit intermediates come from the compiler's unsigned __int128, which every target of ours
// has (WebAssembly included).
#include "services/numbers/extended_real.h"

#include <bit>
#include <cassert>
#include <cmath>
#include <cstring>

namespace {

// __extension__: not ISO C++, but every target of ours has it.
__extension__ typedef unsigned __int128 u128;

constexpr uint64_t kTopBit = uint64_t{1} << 63;

int leading_zeros_128(u128 x) {
  const auto high = static_cast<uint64_t>(x >> 64);
  if (high != 0) return std::countl_zero(high);
  return 64 + std::countl_zero(static_cast<uint64_t>(x));
}

// Rounds `wide`, whose bit 127 is set, to its leading 64 bits: to nearest, ties to even. The bits
// below are exact or end in a sticky bit. A carry out of the significand moves the exponent.
void round_to_64(u128 wide, uint64_t& significand, int32_t& exponent) {
  significand = static_cast<uint64_t>(wide >> 64);
  const auto rest = static_cast<uint64_t>(wide);
  const bool up = rest > kTopBit || (rest == kTopBit && (significand & 1) != 0);
  if (up && ++significand == 0) {
    significand = kTopBit;
    ++exponent;
  }
}

// Shifts `wide` right by `count`, keeping a sticky bit for whatever falls off.
u128 shift_right_sticky(u128 wide, int count) {
  if (count == 0) return wide;
  if (count >= 128) return wide != 0 ? 1 : 0;
  const u128 lost = wide & ((u128{1} << count) - 1);
  return (wide >> count) | (lost != 0 ? 1 : 0);
}

// The integer square root: the largest r with r * r <= n, for n < 2^128. One Newton step from a
// double estimate lands at or above the root (the integer form of the mean of r and n / r never
// falls below it); from there the steps go down to it and stop.
uint64_t integer_sqrt(u128 n) {
  if (n == 0) return 0;
  const double estimate = std::sqrt(static_cast<double>(n));
  u128 r = estimate < 1.0 ? 1 : static_cast<u128>(estimate);
  r = (r + n / r) / 2;
  for (;;) {
    const u128 next = (r + n / r) / 2;
    if (next >= r) break;
    r = next;
  }
  return static_cast<uint64_t>(r);
}

}  // namespace

void X87Real::set_integer(bool negative, uint64_t magnitude) {
  negative_ = negative;
  if (magnitude == 0) {
    negative_ = false;
    exponent_ = 0;
    significand_ = 0;
    return;
  }
  const int zeros = std::countl_zero(magnitude);
  significand_ = magnitude << zeros;
  exponent_ = 63 - zeros;
}

X87Real::X87Real(double value) {
  assert(std::isfinite(value));
  uint64_t bits = 0;
  std::memcpy(&bits, &value, sizeof bits);
  const bool negative = (bits >> 63) != 0;
  const int biased = static_cast<int>((bits >> 52) & 0x7FF);
  uint64_t fraction = bits & ((uint64_t{1} << 52) - 1);
  int exponent = biased - 1075;  // value = fraction * 2^exponent
  if (biased != 0) {
    fraction |= uint64_t{1} << 52;
  } else {
    exponent = -1074;  // subnormal
  }
  set_integer(negative, fraction);
  if (significand_ != 0) exponent_ += exponent;
  negative_ = negative;
}

// Rounds the 64-bit significand to the 53 bits of a double, to nearest with ties to even.
X87Real::operator double() const {
  if (significand_ == 0) return negative_ ? -0.0 : 0.0;
  uint64_t kept = significand_ >> 11;
  const uint64_t rest = significand_ & 0x7FF;
  int32_t exponent = exponent_;
  if (rest > 0x400 || (rest == 0x400 && (kept & 1) != 0)) {
    if (++kept == (uint64_t{1} << 53)) {
      kept >>= 1;
      ++exponent;
    }
  }
  const double magnitude = std::ldexp(static_cast<double>(kept), exponent - 52);
  return negative_ ? -magnitude : magnitude;
}

X87Real X87Real::operator-() const {
  X87Real result = *this;
  result.negative_ = !negative_;
  return result;
}

std::partial_ordering operator<=>(const X87Real& a, const X87Real& b) {
  const bool a_zero = a.significand_ == 0, b_zero = b.significand_ == 0;
  if (a_zero && b_zero) return std::partial_ordering::equivalent;
  if (a_zero) return b.negative_ ? std::partial_ordering::greater : std::partial_ordering::less;
  if (b_zero) return a.negative_ ? std::partial_ordering::less : std::partial_ordering::greater;
  if (a.negative_ != b.negative_) {
    return a.negative_ ? std::partial_ordering::less : std::partial_ordering::greater;
  }
  // Same sign: compare magnitudes, then turn the answer round for negatives.
  std::strong_ordering magnitude = a.exponent_ <=> b.exponent_;
  if (magnitude == 0) magnitude = a.significand_ <=> b.significand_;
  if (a.negative_) magnitude = 0 <=> magnitude;
  return magnitude;
}

// Aligns the smaller magnitude to the larger one's exponent in a 128-bit window (sticky below)
// and adds or subtracts. x - x is +0 and -0 + -0 is -0, as the x87 unit gives them when rounding
// to nearest.
X87Real operator+(const X87Real& a, const X87Real& b) {
  if (a.significand_ == 0 && b.significand_ == 0) {
    X87Real zero;
    zero.negative_ = a.negative_ && b.negative_;
    return zero;
  }
  if (b.significand_ == 0) return a;
  if (a.significand_ == 0) return b;
  const bool a_larger = a.exponent_ > b.exponent_ ||
                        (a.exponent_ == b.exponent_ && a.significand_ >= b.significand_);
  const X87Real& big = a_larger ? a : b;
  const X87Real& small = a_larger ? b : a;
  const u128 x = u128{big.significand_} << 64;
  const int64_t distance = int64_t{big.exponent_} - small.exponent_;
  const u128 y = shift_right_sticky(u128{small.significand_} << 64,
                                    static_cast<int>(distance > 128 ? 128 : distance));
  X87Real result;
  result.negative_ = big.negative_;
  result.exponent_ = big.exponent_;
  u128 sum = 0;
  if (a.negative_ == b.negative_) {
    sum = x + y;
    if (sum < x) {  // carried out of bit 127
      sum = (sum >> 1) | (sum & 1) | (u128{1} << 127);
      ++result.exponent_;
    }
  } else {
    sum = x - y;
    if (sum == 0) return X87Real();
    const int shift = leading_zeros_128(sum);
    sum <<= shift;
    result.exponent_ -= shift;
  }
  round_to_64(sum, result.significand_, result.exponent_);
  return result;
}

X87Real operator-(const X87Real& a, const X87Real& b) { return a + (-b); }

X87Real operator*(const X87Real& a, const X87Real& b) {
  if (a.significand_ == 0 || b.significand_ == 0) {
    X87Real zero;
    zero.negative_ = a.negative_ != b.negative_;
    return zero;
  }
  u128 product = u128{a.significand_} * b.significand_;  // in [2^126, 2^128)
  X87Real result;
  result.negative_ = a.negative_ != b.negative_;
  result.exponent_ = a.exponent_ + b.exponent_ + 1;
  if ((product >> 127) == 0) {
    product <<= 1;
    --result.exponent_;
  }
  round_to_64(product, result.significand_, result.exponent_);
  return result;
}

// The quotient of the significands as a 64- or 65-bit integer and its remainder: a 65-bit
// quotient rounds on its last bit and the remainder; a 64-bit one on twice the remainder
// against the divisor.
X87Real operator/(const X87Real& a, const X87Real& b) {
  assert(b.significand_ != 0);
  if (a.significand_ == 0) {
    X87Real zero;
    zero.negative_ = a.negative_ != b.negative_;
    return zero;
  }
  const u128 numerator = u128{a.significand_} << 64;
  u128 quotient = numerator / b.significand_;
  const auto remainder = static_cast<uint64_t>(numerator % b.significand_);
  X87Real result;
  result.negative_ = a.negative_ != b.negative_;
  result.exponent_ = a.exponent_ - b.exponent_;
  bool up = false;
  if ((quotient >> 64) != 0) {
    const bool half = (quotient & 1) != 0;
    quotient >>= 1;
    up = half && (remainder != 0 || (quotient & 1) != 0);
  } else {
    --result.exponent_;
    const u128 twice = u128{remainder} * 2;
    up = twice > b.significand_ || (twice == b.significand_ && (quotient & 1) != 0);
  }
  result.significand_ = static_cast<uint64_t>(quotient);
  if (up && ++result.significand_ == 0) {
    result.significand_ = kTopBit;
    ++result.exponent_;
  }
  return result;
}

// With x = s * 2^e (e = exponent - 63) and e made even by taking one bit into the radicand,
// sqrt(x) = sqrt(s * 2^64 or s * 2^63) * 2^((e - 64 or e - 63) / 2), and the integer root of
// the radicand has exactly 64 bits. It rounds up when the radicand exceeds r^2 + r: a square
// root of an integer never lies exactly half-way.
X87Real sqrt(const X87Real& x) {
  if (x.significand_ == 0) return x;  // sqrt(-0) is -0
  assert(!x.negative_);
  const int32_t e = x.exponent_ - 63;
  const bool odd = (e & 1) != 0;
  const u128 radicand = u128{x.significand_} << (odd ? 63 : 64);
  uint64_t root = integer_sqrt(radicand);
  X87Real result;
  result.exponent_ = (e - (odd ? 63 : 64)) / 2 + 63;
  if (radicand - u128{root} * root > root && ++root == 0) {
    root = kTopBit;
    ++result.exponent_;
  }
  result.significand_ = root;
  return result;
}

int64_t trunc_to_int64(const X87Real& x) {
  if (x.significand_ == 0 || x.exponent_ < 0) return 0;
  assert(x.exponent_ < 63);
  const auto magnitude = static_cast<int64_t>(x.significand_ >> (63 - x.exponent_));
  return x.negative_ ? -magnitude : magnitude;
}

extended_real extended_sqrt(extended_real x) {
#if LDBL_MANT_DIG == 64
  return std::sqrt(x);
#else
  return sqrt(x);
#endif
}

int64_t truncate_real(extended_real value) {
#if LDBL_MANT_DIG == 64
  return static_cast<int64_t>(std::trunc(value));
#else
  return trunc_to_int64(value);
#endif
}
