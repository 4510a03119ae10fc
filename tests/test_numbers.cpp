// Random numbers, truncation and number text.
#include <gtest/gtest.h>

#include "services/numbers/random.h"
#include "services/numbers/number_text.h"
#include "services/numbers/extended_real.h"

TEST(Numbers, FirstDrawsFollowTheFixedSeed) {
  reset_random();
  const int expected_ten[] = {5, 5, 7, 8, 6};
  for (const int value : expected_ten) EXPECT_EQ(random_below(10), value);
  reset_random();
  const int expected_140[] = {76, 82, 100, 118, 84};
  for (const int value : expected_140) EXPECT_EQ(random_below(140), value);
}

TEST(Numbers, RandomBelowOneIsZeroAndStillConsumesAnOutput) {
  reset_random();
  EXPECT_EQ(random_below(1), 0);
  EXPECT_EQ(random_below(10), 5);  // the second output, 2546248239, gives 5 as well
  EXPECT_EQ(random_below(140), 100);  // the third output
}

TEST(Numbers, RandomBelowCoversItsWholeRangeAndNothingElse) {
  reset_random();
  int seen[7] = {};
  for (int i = 0; i < 7000; ++i) {
    const int value = random_below(7);
    ASSERT_GE(value, 0);
    ASSERT_LT(value, 7);
    ++seen[value];
  }
  for (const int count : seen) EXPECT_GT(count, 850);
}

TEST(Numbers, TruncationCutsTowardZero) {
  EXPECT_EQ(truncate_real(479.0L * 100 / 480), 99);
  EXPECT_EQ(truncate_real(2.999L), 2);
  EXPECT_EQ(truncate_real(-2.5L), -2);
  EXPECT_EQ(truncate_real(-0.5L), 0);
}

TEST(Numbers, IntegerTextPadsButNeverCuts) {
  EXPECT_EQ(int_to_text(7, 5), "    7");
  EXPECT_EQ(int_to_text(123456, 5), "123456");
  EXPECT_EQ(int_to_text(-3), "-3");
  EXPECT_EQ(int_to_text(140, 3), "140");
  EXPECT_EQ(int_to_text(5, 3), "  5");
  EXPECT_EQ(int_to_text(123456, 0, 4), "1234");
}

TEST(Numbers, RealTextHasFixedDecimals) {
  EXPECT_EQ(real_to_text(1.5, 5, 2), " 1.50");
  EXPECT_EQ(real_to_text(123.456, 5, 2), "123.46");
  EXPECT_EQ(real_to_text(0.0, 5, 2), " 0.00");
  EXPECT_EQ(real_to_text(11.87, 5, 2), "11.87");
  EXPECT_EQ(real_to_text(-0.5, 5, 2), "-0.50");
}
