#include <gtest/gtest.h>

#include "chart/AxisSlots.h"
#include "chart/ChartLayout.h"

namespace orx {
namespace {

const ChartRect kChart{3, 3, 1197, 597};

TEST(AxisSlotTable, SidesAndOrientation) {
  EXPECT_TRUE(IsHorizontalSlot(1));
  EXPECT_TRUE(IsHorizontalSlot(3));
  for (int slot : {0, 2, 4, 8, 9, 14}) EXPECT_FALSE(IsHorizontalSlot(slot)) << slot;
  for (int slot : {2, 3, 9, 14}) EXPECT_TRUE(IsSecondarySlot(slot)) << slot;
  for (int slot : {0, 1, 4, 8}) EXPECT_FALSE(IsSecondarySlot(slot)) << slot;
  EXPECT_FALSE(IsValidAxisSlot(15));
  EXPECT_FALSE(IsValidAxisSlot(-1));
}

TEST(AxisSlotTable, ExtraAxesStackFiftyPixelsApartWithTheTunedExceptions) {
  for (int i = 0; i < 5; ++i) EXPECT_EQ(VerticalOffsets(4 + i).line, 50 * (i + 1)) << i;
  for (int i = 0; i < 6; ++i) EXPECT_EQ(VerticalOffsets(9 + i).line, 50 * (i + 1)) << i;
  EXPECT_EQ(VerticalOffsets(0).line, 1);
  EXPECT_EQ(VerticalOffsets(2).line, 1);
  EXPECT_EQ(VerticalOffsets(7).tickLabel, -250);  // not -245
  EXPECT_EQ(VerticalOffsets(12).titleText, 52);   // not 55
  EXPECT_EQ(VerticalOffsets(11).tickLabel, 155);
  EXPECT_EQ(VerticalOffsets(8).titleText, -115);
  EXPECT_EQ(TitleShift(0), 95);
  EXPECT_EQ(TitleShift(2), -95);
  EXPECT_EQ(TitleShift(4), 40);
  EXPECT_EQ(TitleShift(1), 100);
  EXPECT_EQ(TitleShift(6), 100);
  EXPECT_EQ(TitleShift(3), -100);
  EXPECT_EQ(TitleShift(12), -100);
}

TEST(AxisBands, BandAndEndsFollowThePlottingRectangle) {
  const ChartRect plot{200, 5, 990, 520};
  EXPECT_EQ(AxisBand(1, kChart, plot), (ChartRect{3, 520, 1197, 597}));
  EXPECT_EQ(AxisBand(3, kChart, plot), (ChartRect{3, 3, 1197, 5}));
  EXPECT_EQ(AxisBand(0, kChart, plot), (ChartRect{3, 3, 200, 597}));
  EXPECT_EQ(AxisBand(11, kChart, plot), (ChartRect{990, 3, 1197, 597}));
  EXPECT_EQ(AxisEndsFor(1, plot).start, 200);
  EXPECT_EQ(AxisEndsFor(1, plot).end, 990);
  EXPECT_EQ(AxisEndsFor(5, plot).start, 520);  // vertical: bottom first
  EXPECT_EQ(AxisEndsFor(5, plot).end, 5);
}

TEST(AxisMargins, AutomaticSizes) {
  EXPECT_EQ(AutomaticMargin({1, {30, 13}, {90, 19}}), 19 + 13 + 56);
  EXPECT_EQ(AutomaticMargin({0, {30, 13}, {19, 140}}), 30 + 19 + 260);
}

TEST(AxisMargins, LabelShiftsMoveThePlotOutwardsByTheirAmount) {
  const AxisMeasure left{0, {24, 13}, {19, 150}};
  const AxisMeasure right{2, {24, 13}, {19, 150}};
  const int margin = AutomaticMargin(left);  // 303
  ChartRect plain = kChart, shifted = kChart;
  ApplyAxisMargin(plain, kChart, left, margin, 0, 0);
  ApplyAxisMargin(shifted, kChart, left, margin, -100, 100);
  EXPECT_EQ(plain.left, 3 + 303);
  EXPECT_EQ(shifted.left, plain.left - 100);
  ApplyAxisMargin(plain, kChart, right, margin, 0, 0);
  ApplyAxisMargin(shifted, kChart, right, margin, -100, 100);
  EXPECT_EQ(plain.right, 1197 - 303);
  EXPECT_EQ(shifted.right, plain.right + 100);
}

TEST(AxisMargins, BottomAxisTopAxisAndTheFixedTop) {
  ChartRect plot = kChart;
  const AxisMeasure bottom{1, {40, 13}, {90, 19}};
  ApplyAxisMargin(plot, kChart, bottom, 88, 0, 0);
  EXPECT_EQ(plot.bottom, 597 - 88 + 40);
  EXPECT_EQ(plot.right, 1197 - 20 - 3);  // half the widest label stays inside
  EXPECT_EQ(plot.top, 5);                // always, whatever the axes asked for
  const AxisMeasure top{3, {40, 13}, {0, 0}};
  ApplyAxisMargin(plot, kChart, top, 69, 0, 0);
  EXPECT_EQ(plot.top, 5);
  // A plot already above the band is left alone.
  ChartRect high{3, 3, 1197, 400};
  ApplyAxisMargin(high, kChart, bottom, 88, 0, 0);
  EXPECT_EQ(high.bottom, 400);
}

}  // namespace
}  // namespace orx
