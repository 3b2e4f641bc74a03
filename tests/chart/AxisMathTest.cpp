#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "chart/AxisMath.h"
#include "chart/AxisPixels.h"

namespace orx {
namespace {

// The labels an axis draws for its range and automatic step.
std::vector<std::string> Labels(double min, double max, int lengthPx, bool horizontal) {
  AxisScale s{min, max, horizontal ? 0 : lengthPx, horizontal ? lengthPx : 0, horizontal, false};
  const TickStep step = AutomaticTickStep(s);
  std::vector<std::string> labels;
  double v = FirstTick(min, step.step);
  int guard = 0;
  do {
    labels.push_back(TickLabelText(v, step.decimals));
  } while (++guard < 1000 && NextTick(v, step.step, max, &v));
  return labels;
}

TEST(AxisTickStep, PowerAxisOfTheGraphWindowGetsHundreds) {
  const TickStep step = AutomaticTickStep({0, 1100, 300, 0, false, false});
  EXPECT_DOUBLE_EQ(step.step, 100.0);  // raw 73.3 over at most 15 ticks
  EXPECT_EQ(step.decimals, 0);
  const std::vector<std::string> expected{"0", "100", "200", "300", "400", "500",
                                          "600", "700", "800", "900", "1000", "1100"};
  EXPECT_EQ(Labels(0, 1100, 300, false), expected);
}

TEST(AxisTickStep, ConsumptionAxisGetsOneDecimal) {
  const TickStep step = AutomaticTickStep({0, 2.001, 300, 0, false, false});
  EXPECT_DOUBLE_EQ(step.step, 0.2);
  EXPECT_EQ(step.decimals, 1);
  const std::vector<std::string> expected{"0.0", "0.2", "0.4", "0.6", "0.8", "1.0",
                                          "1.2", "1.4", "1.6", "1.8", "2.0"};
  EXPECT_EQ(Labels(0, 2.001, 300, false), expected);
}

TEST(AxisTickStep, StepRoundsUpToOneTwoFiveAndTen) {
  // Vertical, 200 px: at most 10 ticks.
  EXPECT_DOUBLE_EQ(AutomaticTickStep({0, 4, 200, 0, false, false}).step, 0.5);
  EXPECT_EQ(AutomaticTickStep({0, 4, 200, 0, false, false}).decimals, 1);
  EXPECT_DOUBLE_EQ(AutomaticTickStep({0, 15, 200, 0, false, false}).step, 2.0);
  EXPECT_DOUBLE_EQ(AutomaticTickStep({0, 60, 200, 0, false, false}).step, 10.0);
  // Horizontal axes allow one tick per 30 px: 0..100 over 300 px -> 10.
  EXPECT_DOUBLE_EQ(AutomaticTickStep({0, 100, 0, 300, true, false}).step, 10.0);
  const std::vector<std::string> halves{"0.0", "0.5", "1.0", "1.5", "2.0", "2.5", "3.0", "3.5", "4.0"};
  EXPECT_EQ(Labels(0, 4, 200, false), halves);
}

TEST(AxisTickStep, DegenerateAxesDoNotBreakTheStep) {
  EXPECT_EQ(AutomaticTickStep({5, 5, 300, 0, false, false}).step, 0.0);  // empty range
  // Shorter than one tick: one step over the whole range instead of a division by zero.
  const TickStep tiny = AutomaticTickStep({0, 10, 5, 0, false, false});
  EXPECT_DOUBLE_EQ(tiny.step, 10.0);
  // Reversed range: the step is still positive.
  EXPECT_GT(AutomaticTickStep({10, 0, 300, 0, false, false}).step, 0.0);
}

TEST(AxisTickStep, LastTickAtMaxSurvivesSummedSteps) {
  // 0.2 summed five times is 1.0000000000000002; the tick at 1.0 stays.
  const std::vector<std::string> expected{"0.0", "0.2", "0.4", "0.6", "0.8", "1.0"};
  EXPECT_EQ(Labels(0, 1, 100, false), expected);
}

TEST(AxisFirstTick, SmallestMultipleAtOrAboveMin) {
  EXPECT_DOUBLE_EQ(FirstTick(800, 100), 800);
  EXPECT_DOUBLE_EQ(FirstTick(800, 200), 800);
  EXPECT_DOUBLE_EQ(FirstTick(800, 500), 1000);
  EXPECT_DOUBLE_EQ(FirstTick(-7, 5), -5);
  EXPECT_DOUBLE_EQ(FirstTick(-10, 5), -10);
  EXPECT_DOUBLE_EQ(FirstTick(0, 5), 0);
  EXPECT_DOUBLE_EQ(FirstTick(3.5, 0), 3.5);  // no step: the minimum itself
  EXPECT_NEAR(FirstTick(0.61, 0.2), 0.8, 1e-12);
}

TEST(AxisFirstTick, TickLoopEndsOnZeroOrVanishingStep) {
  double next = 0;
  EXPECT_FALSE(NextTick(1.0, 0.0, 10.0, &next));
  EXPECT_FALSE(NextTick(1e20, 1.0, 2e20, &next));  // step lost in the value
  EXPECT_TRUE(NextTick(1.0, 1.0, 2.0, &next));
  EXPECT_DOUBLE_EQ(next, 2.0);
  EXPECT_FALSE(NextTick(2.0, 1.0, 2.5, &next));
}

TEST(AxisTickLabel, FixedDecimalsAndNoNegativeZero) {
  EXPECT_EQ(TickLabelText(100, 0), "100");
  EXPECT_EQ(TickLabelText(0.5, 1), "0.5");
  EXPECT_EQ(TickLabelText(1, 1), "1.0");
  EXPECT_EQ(TickLabelText(-1e-17, 1), "0.0");
  EXPECT_EQ(TickLabelText(-5, 0), "-5");
  EXPECT_EQ(TickLabelText(0.25, 3), "0.250");
}

TEST(AxisPixels, LinearMappingBothOrientations) {
  const AxisScale h{0, 10, 100, 400, true, false};
  EXPECT_EQ(ValueToPixelLinear(h, 0), 100);
  EXPECT_EQ(ValueToPixelLinear(h, 5), 250);
  EXPECT_EQ(ValueToPixelLinear(h, 10), 400);
  EXPECT_EQ(ValueToPixelLinear(h, 3.33), 199);  // floor of 99.9
  const AxisScale v{0, 10, 400, 100, false, false};
  EXPECT_EQ(ValueToPixelLinear(v, 0), 400);
  EXPECT_EQ(ValueToPixelLinear(v, 10), 100);
  EXPECT_EQ(ValueToPixelLinear(v, 2.5), 325);
  const AxisScale hi{0, 10, 100, 400, true, true};
  EXPECT_EQ(ValueToPixelLinear(hi, 0), 400);
  EXPECT_EQ(ValueToPixelLinear(hi, 10), 100);
  const AxisScale vi{0, 10, 400, 100, false, true};
  EXPECT_EQ(ValueToPixelLinear(vi, 0), 100);
  EXPECT_EQ(ValueToPixelLinear(vi, 10), 400);
}

TEST(AxisPixels, PixelToValueRoundTrips) {
  for (bool horizontal : {true, false}) {
    for (bool inverted : {false, true}) {
      const AxisScale s{-20, 80, horizontal ? 37 : 537, horizontal ? 537 : 37, horizontal, inverted};
      for (int px = 37; px <= 537; px += 25) {
        const double value = PixelToValue(s, px);
        EXPECT_EQ(ValueToPixelLinear(s, value + 1e-9), px) << horizontal << inverted << px;
      }
      for (double value : {-20.0, 0.0, 33.3, 79.9}) {
        // Back from the pixel lands within one pixel's worth of the value.
        EXPECT_NEAR(PixelToValue(s, ValueToPixelLinear(s, value)), value, 100.0 / 500) << value;
      }
    }
  }
}

TEST(AxisPixels, EmptyRangeMapsToTheMiddle) {
  const AxisScale h{3, 3, 100, 401, true, false};
  EXPECT_EQ(ValueToPixelLinear(h, 3), 250);
  EXPECT_EQ(ValueToPixelLinear(h, 1000), 250);
  const AxisScale v{3, 3, 401, 100, false, false};
  EXPECT_EQ(ValueToPixelLinear(v, -5), 251);
  EXPECT_DOUBLE_EQ(PixelToValue(v, 120), 3);
}

TEST(AxisPixels, FarValuesStayInIntRange) {
  const AxisScale h{0, 0.001, 0, 1000, true, false};
  const int far = ValueToPixelLinear(h, 1e12);
  EXPECT_GT(far, 1000);
  EXPECT_LT(far, INT_MAX / 2);
  EXPECT_LT(ValueToPixelLinear(h, -1e12), 0);
  EXPECT_EQ(ValueToPixelLinear(h, std::numeric_limits<double>::quiet_NaN()), 0);
  EXPECT_DOUBLE_EQ(PixelToValue({0, 10, 50, 50, true, false}, 70), 0);  // zero-length axis
}

TEST(AxisPixels, DiscreteSnapsToTheMiddleOfTheStep) {
  const AxisScale h{0, 10, 0, 100, true, false};
  EXPECT_EQ(ValueToPixelDiscrete(h, 2, 2.0), 30);  // [2,4) -> 3
  EXPECT_EQ(ValueToPixelDiscrete(h, 2, 3.9), 30);
  EXPECT_EQ(ValueToPixelDiscrete(h, 2, 4.0), 50);
  EXPECT_EQ(ValueToPixelDiscrete(h, 0, 4.0), 40);  // no step: linear
}

TEST(AxisZoomSpan, NarrowRangeWidenedFromItsMinimum) {
  Range r = LimitZoomSpan(5.0, 5.0004, 0.001);
  EXPECT_DOUBLE_EQ(r.min, 5.0);
  EXPECT_DOUBLE_EQ(r.max, 5.001);
  r = LimitZoomSpan(1, 3, 0.001);
  EXPECT_DOUBLE_EQ(r.max, 3);
}

TEST(AxisMath, WheelZoomKeepsThePointedValueAndStopsAtTheFullRange) {
  EXPECT_EQ(ZoomAround(0, 100, 20, 0.5, 0, 100).max, 60);    // 20 stays a fifth of the way across
  EXPECT_EQ(ZoomAround(60, 100, 90, 2, 0, 100).min, 20);     // slides back inside the whole
  EXPECT_EQ(ZoomAround(10, 90, 50, 1.5, 0, 100).min, 0);     // wider than the whole: the whole
  EXPECT_EQ(ZoomAround(110, 130, 120, 0.5, 0, 100).min, 115);  // panned outside: zooming in stays
}

// A curve loop maps only the samples that leave their pixel's cell, so every
// value inside a cell, its edges included, must map as the value it came from.
TEST(AxisPixels, EveryValueInsideAPixelsCellMapsToThatPixel) {
  std::mt19937 random(11);
  std::uniform_real_distribution<double> unit(0.0, 1.0);
  int cells = 0;
  for (int round = 0; round < 2000; ++round) {
    AxisScale s;
    s.min = (unit(random) - 0.5) * std::pow(10.0, int(unit(random) * 12) - 3);
    s.max = s.min + std::pow(10.0, int(unit(random) * 10) - 4) * (0.1 + unit(random));
    s.start = 40;
    s.end = 40 + 50 + int(unit(random) * 3000);
    s.horizontal = round % 2 == 0;
    s.inverted = round % 3 == 0;
    const LinearAxisPixels toPixel(s);
    const double value = s.min + (s.max - s.min) * (unit(random) * 1.4 - 0.2);
    const LinearAxisPixels::Cell cell = toPixel.CellOf(value);
    if (!(cell.low < cell.high)) continue;
    ++cells;
    const int pixel = toPixel(value);
    for (double v : {cell.low, std::nextafter(cell.high, cell.low), cell.low + (cell.high - cell.low) * unit(random)})
      ASSERT_EQ(toPixel(v), pixel) << "round " << round << " value " << v;
  }
  EXPECT_GT(cells, 1500);  // the cells are not empty whenever they can be had
}

}  // namespace
}  // namespace orx
