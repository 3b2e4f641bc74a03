#include <gtest/gtest.h>

#include <cmath>

#include "protocol/HalfFloat.h"

using namespace orx;

TEST(HalfFloat, RoundTripsEveryFiniteHalfExactly) {
  for (uint32_t h = 0; h <= 0xFFFF; ++h) {
    const auto half = static_cast<uint16_t>(h);
    if ((half & 0x7C00) == 0x7C00) continue;  // inf / NaN checked below
    ASSERT_EQ(toHalf(fromHalf(half)), half) << std::hex << h;
  }
}

TEST(HalfFloat, KnownValuesBothWays) {
  EXPECT_EQ(toHalf(17.5), 0x4C60);
  EXPECT_DOUBLE_EQ(fromHalf(0x4C60), 17.5);
  EXPECT_DOUBLE_EQ(fromHalf(0x4D66), 21.59375);
  EXPECT_EQ(toHalf(-20.1), 0xCD06);
  EXPECT_EQ(toHalf(1.0), 0x3C00);
  EXPECT_EQ(toHalf(65504.0), 0x7BFF);
  EXPECT_EQ(toHalf(-0.0), 0x8000);
  EXPECT_DOUBLE_EQ(fromHalf(0x0001), std::ldexp(1.0, -24));
  EXPECT_DOUBLE_EQ(fromHalf(0x03FF), 1023 * std::ldexp(1.0, -24));
}

TEST(HalfFloat, RoundsToNearestWithTiesAwayFromZero) {
  // Between 1.0 and the next half 1 + 2^-10: the midpoint goes up, just below it goes down.
  const double ulp = std::ldexp(1.0, -10);
  EXPECT_EQ(toHalf(1.0 + ulp / 2), 0x3C01);
  EXPECT_EQ(toHalf(-(1.0 + ulp / 2)), 0xBC01);
  EXPECT_EQ(toHalf(1.0 + ulp / 2 - std::ldexp(1.0, -30)), 0x3C00);
  // An even mantissa would keep a tie under round-half-even; away from zero it must not.
  EXPECT_EQ(toHalf(1.0 + 2 * ulp + ulp / 2), 0x3C03);
  // A carry out of the mantissa moves to the next exponent.
  EXPECT_EQ(toHalf(2.0 - ulp / 4), 0x4000);
  // Subnormals: half the smallest one rounds up to it, a bit less rounds to zero.
  EXPECT_EQ(toHalf(std::ldexp(1.0, -25)), 0x0001);
  EXPECT_EQ(toHalf(std::ldexp(1.0, -26)), 0x0000);
  // The largest subnormal plus half a step becomes the smallest normal.
  EXPECT_EQ(toHalf(1023.5 * std::ldexp(1.0, -24)), 0x0400);
}

TEST(HalfFloat, OverflowGivesSignedInfinityAndNaNGives7FFF) {
  EXPECT_EQ(toHalf(65519.99), 0x7BFF);
  EXPECT_EQ(toHalf(65520.0), 0x7C00);
  EXPECT_EQ(toHalf(-70000.0), 0xFC00);
  EXPECT_EQ(toHalf(INFINITY), 0x7C00);
  EXPECT_EQ(toHalf(-INFINITY), 0xFC00);
  EXPECT_EQ(toHalf(NAN), 0x7FFF);
  EXPECT_EQ(toHalf(-NAN), 0x7FFF);
  EXPECT_TRUE(std::isinf(fromHalf(0x7C00)));
  EXPECT_LT(fromHalf(0xFC00), 0);
  EXPECT_TRUE(std::isnan(fromHalf(0x7C01)));
  EXPECT_TRUE(std::isnan(fromHalf(0x7FFF)));
}
