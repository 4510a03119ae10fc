// Extended reals: the same digits on every target.
//
// The programs compute their figures (the design-grid mapping, chart scales, bar heights, the
// theoretical distribution and the distances) in the x87 extended format, the long double of
// x86 compilers: a 64-bit significand with an explicit leading bit, and every operation rounded
// once, to nearest with ties to even. Elsewhere long double is another format (IEEE binary128
// under WebAssembly, binary64 on some ARM targets), whose different rounding can move a bar
// top by a pixel or a distance by a digit. There `extended_real` is X87Real, which carries out
// the same operations in the same format with integer arithmetic and gives bit for bit the
// results of the x87 unit; on x86 it is plain long double, so the desktop programs pay nothing.
//
// X87Real covers what the programs need: conversion from integers and doubles (exact), the four
// operations, square root, comparisons, conversion to double (rounded to nearest, ties to even)
// and truncation toward zero. Limits: values stay finite and inside the normal range of a
// double; there are no infinities, NaNs or subnormals, and a division by zero is an assertion.
// The exponent is kept in an int32, so no operation of the programs can overflow it.
#pragma once

#include <cfloat>
#include <compare>
#include <concepts>
#include <cstdint>

class X87Real {
 public:
  constexpr X87Real() = default;
  template <std::integral T>
  X87Real(T value) {  // NOLINT: implicit, as an integer converts to long double
    if constexpr (std::signed_integral<T>) {
      const auto wide = static_cast<int64_t>(value);
      // The magnitude by unsigned negation, so that INT64_MIN converts exactly.
      set_integer(wide < 0,
                  wide < 0 ? 0 - static_cast<uint64_t>(wide) : static_cast<uint64_t>(wide));
    } else {
      set_integer(false, static_cast<uint64_t>(value));
    }
  }
  X87Real(double value);  // NOLINT: implicit and exact, as a double converts to long double

  explicit operator double() const;

  friend X87Real operator+(const X87Real& a, const X87Real& b);
  friend X87Real operator-(const X87Real& a, const X87Real& b);
  friend X87Real operator*(const X87Real& a, const X87Real& b);
  friend X87Real operator/(const X87Real& a, const X87Real& b);
  X87Real& operator+=(const X87Real& b) { return *this = *this + b; }
  X87Real& operator-=(const X87Real& b) { return *this = *this - b; }
  X87Real& operator*=(const X87Real& b) { return *this = *this * b; }
  X87Real& operator/=(const X87Real& b) { return *this = *this / b; }
  X87Real operator-() const;

  friend std::partial_ordering operator<=>(const X87Real& a, const X87Real& b);
  friend bool operator==(const X87Real& a, const X87Real& b) { return (a <=> b) == 0; }

  // The square root, rounded once. Needs a value >= 0.
  friend X87Real sqrt(const X87Real& x);
  // Cut toward zero. Needs |x| < 2^63.
  friend int64_t trunc_to_int64(const X87Real& x);

  // The parts, for tests: value = significand * 2^(exponent - 63); the significand's bit 63 is
  // set unless the value is zero (exponent 0, either sign).
  bool negative() const { return negative_; }
  int32_t exponent() const { return exponent_; }
  uint64_t significand() const { return significand_; }

 private:
  void set_integer(bool negative, uint64_t magnitude);

  bool negative_ = false;
  int32_t exponent_ = 0;
  uint64_t significand_ = 0;
};

#if LDBL_MANT_DIG == 64
using extended_real = long double;
#else
using extended_real = X87Real;
#endif

// The square root of an extended real, rounded once.
extended_real extended_sqrt(extended_real x);

// The real cut toward zero: 2.999 gives 2, -2.5 gives -2. Every conversion of a real to an
// integer (a pixel, a bar height) goes through it.
int64_t truncate_real(extended_real value);
