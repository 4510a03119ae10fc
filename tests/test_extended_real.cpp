// X87Real against the x87 unit itself: on x86-64 long double is the x87 extended format, so every
// operation of the emulation can be checked bit for bit against the hardware.
#include "services/numbers/extended_real.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>

#if LDBL_MANT_DIG == 64

namespace {

struct Parts {
  bool negative;
  int32_t exponent;
  uint64_t significand;
  bool operator==(const Parts&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Parts& p) {
  return out << (p.negative ? "-" : "+") << std::hex << p.significand << std::dec << " * 2^("
             << p.exponent << " - 63)";
}

// The x87 layout: the 64-bit significand, then the sign and the exponent biased by 16383.
Parts parts_of(long double x) {
  if (x == 0) return {std::signbit(x), 0, 0};
  unsigned char bytes[sizeof(long double)] = {};
  std::memcpy(bytes, &x, sizeof x);
  uint64_t significand = 0;
  std::memcpy(&significand, bytes, 8);
  uint16_t sign_exponent = 0;
  std::memcpy(&sign_exponent, bytes + 8, 2);
  return {(sign_exponent >> 15) != 0, (sign_exponent & 0x7FFF) - 16383, significand};
}

Parts parts_of(const X87Real& x) { return {x.negative(), x.exponent(), x.significand()}; }

// The same value in both forms: a signed integer of random length times a power of two (both
// factors and the product are exact in either form).
struct Operand {
  X87Real emulated;
  long double hardware;
};

class OperandSource {
 public:
  Operand next() {
    const uint64_t bits = generator_() >> (generator_() % 64);
    const bool negative = (generator_() & 1) != 0;
    const int exponent = static_cast<int>(generator_() % 141) - 70;
    const auto value = static_cast<int64_t>(bits >> 1) * (negative ? -1 : 1);
    return make(value, exponent);
  }

  // A value near `near`: the same exponent range, so sums cancel and carry.
  Operand next_near(const Operand& near) {
    const Operand offset =
        make(static_cast<int64_t>(generator_() >> (generator_() % 64) >> 1),
             static_cast<int>(generator_() % 140) - 140 + near.emulated.exponent());
    return {near.emulated + offset.emulated, near.hardware + offset.hardware};
  }

  static Operand make(int64_t value, int exponent) {
    return {X87Real(value) * X87Real(std::ldexp(1.0, exponent)),
            static_cast<long double>(value) * std::ldexp(1.0L, exponent)};
  }

 private:
  std::mt19937_64 generator_{20240601};
};

TEST(ExtendedReal, ConversionsFromIntegersAndDoublesAreExact) {
  EXPECT_EQ(parts_of(X87Real(0)), parts_of(0.0L));
  EXPECT_EQ(parts_of(X87Real(INT64_MIN)), parts_of(static_cast<long double>(INT64_MIN)));
  EXPECT_EQ(parts_of(X87Real(UINT64_MAX)), parts_of(static_cast<long double>(UINT64_MAX)));
  EXPECT_EQ(parts_of(X87Real(-140)), parts_of(-140.0L));
  for (const double d : {0.1, -2.5, 1e300, 5e-324, 2.2250738585072014e-308, 0.7 / 3}) {
    EXPECT_EQ(parts_of(X87Real(d)), parts_of(static_cast<long double>(d))) << d;
  }
}

TEST(ExtendedReal, ArithmeticMatchesTheX87UnitOnRandomOperands) {
  OperandSource source;
  for (int i = 0; i < 100000; ++i) {
    const Operand a = source.next();
    const Operand b = (i % 3 == 0) ? source.next_near(a) : source.next();
    ASSERT_EQ(parts_of(a.emulated), parts_of(a.hardware));
    ASSERT_EQ(parts_of(b.emulated), parts_of(b.hardware));
    ASSERT_EQ(parts_of(a.emulated + b.emulated), parts_of(a.hardware + b.hardware))
        << a.hardware << " + " << b.hardware;
    ASSERT_EQ(parts_of(a.emulated - b.emulated), parts_of(a.hardware - b.hardware))
        << a.hardware << " - " << b.hardware;
    ASSERT_EQ(parts_of(a.emulated * b.emulated), parts_of(a.hardware * b.hardware))
        << a.hardware << " * " << b.hardware;
    if (b.hardware != 0) {
      ASSERT_EQ(parts_of(a.emulated / b.emulated), parts_of(a.hardware / b.hardware))
          << a.hardware << " / " << b.hardware;
      ASSERT_EQ(static_cast<double>(a.emulated / b.emulated),
                static_cast<double>(a.hardware / b.hardware));
    }
    ASSERT_EQ(parts_of(sqrt(a.emulated * a.emulated + b.emulated * b.emulated)),
              parts_of(std::sqrt(a.hardware * a.hardware + b.hardware * b.hardware)));
    ASSERT_EQ(a.emulated < b.emulated, a.hardware < b.hardware);
    ASSERT_EQ(a.emulated == b.emulated, a.hardware == b.hardware);
    if (std::fabs(a.hardware) < 0x1p62L) {
      ASSERT_EQ(trunc_to_int64(a.emulated), static_cast<int64_t>(std::trunc(a.hardware)));
    }
  }
}

// The exact midpoints between two neighbours, where ties to even decide.
TEST(ExtendedReal, HalfwayResultsRoundToEven) {
  for (const uint64_t m : {uint64_t{0x8000000000000000}, uint64_t{0x8000000000000001},
                           uint64_t{0xFFFFFFFFFFFFFFFE}, uint64_t{0xFFFFFFFFFFFFFFFF}}) {
    const X87Real sum = X87Real(m) + X87Real(0.5);
    EXPECT_EQ(parts_of(sum), parts_of(static_cast<long double>(m) + 0.5L)) << m;
    EXPECT_EQ(sum.significand() % 2, 0u) << m;  // ties to even (or carried to 2^64)
    // Just above the midpoint rounds up whatever the parity.
    EXPECT_EQ(parts_of(X87Real(m) + X87Real(0.5000001)),
              parts_of(static_cast<long double>(m) + 0.5000001L)) << m;
  }
  // 3 * (2^63 + 2) needs 66 bits and ends in binary 10: an exact tie in a product.
  const uint64_t m = 0x8000000000000002;
  EXPECT_EQ(parts_of(X87Real(m) * X87Real(3)), parts_of(static_cast<long double>(m) * 3.0L));
  // A significand ending in binary 100 0000 0000 is half-way between two doubles.
  for (const uint64_t low : {uint64_t{0x400}, uint64_t{0xC00}, uint64_t{0x401}, uint64_t{0x3FF}}) {
    const uint64_t value = 0x8000000000000000 | low;
    EXPECT_EQ(static_cast<double>(X87Real(value)),
              static_cast<double>(static_cast<long double>(value)))
        << std::hex << value;
  }
}

TEST(ExtendedReal, ZerosKeepTheirSignAsTheX87UnitGivesIt) {
  const X87Real minus_zero(-0.0), plus_zero(0);
  const X87Real minus_two(-2), three(3);
  EXPECT_EQ(parts_of(minus_two * plus_zero), parts_of(-2.0L * 0.0L));
  EXPECT_EQ(parts_of(plus_zero / minus_two), parts_of(0.0L / -2.0L));
  EXPECT_EQ(parts_of(minus_zero + minus_zero), parts_of(-0.0L + -0.0L));
  EXPECT_EQ(parts_of(minus_zero + plus_zero), parts_of(-0.0L + 0.0L));
  EXPECT_EQ(parts_of(minus_zero - plus_zero), parts_of(-0.0L - 0.0L));
  EXPECT_EQ(parts_of(three - three), parts_of(3.0L - 3.0L));
  EXPECT_EQ(parts_of(sqrt(minus_zero)), parts_of(std::sqrt(-0.0L)));
  EXPECT_TRUE(std::signbit(static_cast<double>(minus_two * plus_zero)));
  EXPECT_TRUE(minus_zero == plus_zero);
}

TEST(ExtendedReal, CarriesAndCancellationsKeepTheExponent) {
  const X87Real largest(UINT64_MAX);
  EXPECT_EQ(parts_of(largest + X87Real(1)), parts_of(static_cast<long double>(UINT64_MAX) + 1.0L));
  EXPECT_EQ(parts_of(largest - largest), parts_of(0.0L));
  EXPECT_FALSE((largest - largest).negative());
  EXPECT_EQ(parts_of(X87Real(1) - X87Real(std::ldexp(1.0, -70))),
            parts_of(1.0L - std::ldexp(1.0L, -70)));
  // 2^63 - (0.25 + 2^-65): the aligned subtrahend loses its last bit, and only that bit keeps
  // the difference below the midpoint between 2^63 - 0.5 and 2^63.
  const X87Real tiny_above_quarter = X87Real(0.25) + X87Real(std::ldexp(1.0, -65));
  EXPECT_EQ(parts_of(X87Real(uint64_t{1} << 63) - tiny_above_quarter),
            parts_of(0x1p63L - (0.25L + std::ldexp(1.0L, -65))));
  EXPECT_EQ(parts_of(X87Real(1) / X87Real(3)), parts_of(1.0L / 3.0L));
  EXPECT_EQ(parts_of(sqrt(X87Real(2))), parts_of(std::sqrt(2.0L)));
  EXPECT_EQ(parts_of(sqrt(X87Real(UINT64_MAX))),
            parts_of(std::sqrt(static_cast<long double>(UINT64_MAX))));
}

// The figures of the programs: quotients of small integers, rounded to double through the
// extended format (a double rounding that binary128 would do differently), and truncations of
// sums of products that come within one unit of an integer.
TEST(ExtendedReal, ProgramShapedExpressionsMatch) {
  for (int a = 0; a <= 2000; ++a) {
    for (int n = 5; n <= 140; ++n) {
      const double emulated = static_cast<double>(X87Real(a) / X87Real(n));
      const double hardware = static_cast<double>(static_cast<long double>(a) / n);
      ASSERT_EQ(emulated, hardware) << a << " / " << n;
      for (const int value : {n - 1, n}) {
        ASSERT_EQ(trunc_to_int64(X87Real(a + 7) - X87Real(value) * X87Real(emulated)),
                  static_cast<int64_t>(std::trunc(static_cast<long double>(a + 7) -
                                                  value * static_cast<long double>(hardware))));
      }
    }
  }
}

TEST(ExtendedReal, TheProgramsUseTheX87FormatItselfOnThisTarget) {
  EXPECT_TRUE((std::is_same_v<extended_real, long double>));
}

}  // namespace

#endif
