// Axes on their own (no control): ranges, zoom, pan and automatic ranges.
#include <gtest/gtest.h>

#include <cmath>

#include "chart/ChartAxis.h"
#include "chart/ChartLineSerie.h"

namespace orx {
namespace {

struct AxisPair {
  CChartStandardAxis h{nullptr, 1};
  CChartStandardAxis v{nullptr, 0};
  AxisPair() {
    h.SetAxisSize({0, 0, 1000, 600}, {100, 5, 1100, 505});  // horizontal 100..1100
    v.SetAxisSize({0, 0, 1000, 600}, {100, 5, 1100, 505});  // vertical 505..5
    h.SetRange(0, 100);
    v.SetRange(0, 50);
  }
};

TEST(AxisZoom, SetRangeSetsTheUndoRangeAndResetComesBack) {
  AxisPair a;
  a.h.SetZoomRange(20, 30);
  EXPECT_DOUBLE_EQ(a.h.GetMin(), 20);
  EXPECT_DOUBLE_EQ(a.h.GetMax(), 30);
  EXPECT_DOUBLE_EQ(a.h.GetUndoZoomMax(), 100);
  a.h.ResetZoom();
  EXPECT_DOUBLE_EQ(a.h.GetMin(), 0);
  EXPECT_DOUBLE_EQ(a.h.GetMax(), 100);
}

TEST(AxisZoom, RefusedOnEmptyRangeOrWhenNotAllowedAndWidenedToTheLimit) {
  AxisPair a;
  a.h.SetRange(7, 7);
  a.h.SetZoomRange(1, 2);
  EXPECT_DOUBLE_EQ(a.h.GetMin(), 7);
  a.v.SetZoomAllowed(false);
  a.v.SetZoomRange(10, 20);
  EXPECT_DOUBLE_EQ(a.v.GetMax(), 50);
  AxisPair b;
  b.h.SetZoomRange(40.0, 40.0002);
  EXPECT_DOUBLE_EQ(b.h.GetMin(), 40.0);
  EXPECT_NEAR(b.h.GetMax(), 40.001, 1e-12);
}

TEST(AxisPan, ContentFollowsTheMouse) {
  AxisPair a;
  // 1000 px for 100: dragging 100 px right shows 10 earlier.
  a.h.PanAxis(500, 600);
  EXPECT_NEAR(a.h.GetMin(), -10, 1e-9);
  EXPECT_NEAR(a.h.GetMax(), 90, 1e-9);
  // 500 px for 50: dragging 50 px down (y grows) shows 5 higher values.
  a.v.PanAxis(200, 250);
  EXPECT_NEAR(a.v.GetMin(), 5, 1e-9);
  EXPECT_NEAR(a.v.GetMax(), 55, 1e-9);
  EXPECT_DOUBLE_EQ(a.h.GetUndoZoomMin(), 0);  // panning is a zoom: reset undoes it
}

TEST(AxisVisibility, ValueVisibleOnlyInsideTheAxis) {
  AxisPair a;
  EXPECT_TRUE(a.h.IsValueVisible(0));
  EXPECT_TRUE(a.h.IsValueVisible(100));
  EXPECT_FALSE(a.h.IsValueVisible(100.2));
  EXPECT_FALSE(a.v.IsValueVisible(-0.1));
  EXPECT_EQ(a.v.ValueToPixel(25), 255);
  a.v.SetInverted(true);
  EXPECT_EQ(a.v.ValueToPixel(0), 5);
}

TEST(AxisAutomaticRange, FollowsShownSeriesOnly) {
  AxisPair a;
  a.h.SetRangeMode(AxisRangeMode::Automatic);
  a.v.SetRangeMode(AxisRangeMode::Automatic);
  EXPECT_DOUBLE_EQ(a.h.GetMin(), 0);
  EXPECT_DOUBLE_EQ(a.h.GetMax(), 0);  // no series yet
  CChartLineSerie empty(nullptr, &a.h, &a.v);
  EXPECT_DOUBLE_EQ(a.h.GetMax(), 0);  // a series without points leaves 0..0
  CChartLineSerie s1(nullptr, &a.h, &a.v);
  const double x1[] = {5, 1, 3}, y1[] = {10, 20, -4};
  s1.SetPoints(x1, y1, 3);
  EXPECT_DOUBLE_EQ(a.h.GetMin(), 1);
  EXPECT_DOUBLE_EQ(a.h.GetMax(), 5);
  EXPECT_DOUBLE_EQ(a.v.GetMin(), -4);
  EXPECT_DOUBLE_EQ(a.v.GetMax(), 20);
  CChartLineSerie s2(nullptr, &a.h, &a.v);
  const double x2[] = {0, 50}, y2[] = {100, 100};
  s2.SetPoints(x2, y2, 2);
  EXPECT_DOUBLE_EQ(a.h.GetMax(), 50);
  EXPECT_DOUBLE_EQ(a.v.GetMax(), 100);
  s2.SetShown(false);  // a hidden series adds nothing
  EXPECT_DOUBLE_EQ(a.h.GetMax(), 5);
  EXPECT_DOUBLE_EQ(a.v.GetMax(), 20);
}

TEST(AxisAutomaticRange, VisibleModeUsesPointsInsideTheOtherAxis) {
  AxisPair a;
  CChartLineSerie s(nullptr, &a.h, &a.v);
  const double xs[] = {0, 10, 20, 30, 40}, ys[] = {1, 9, 4, 7, 100};
  s.SetPoints(xs, ys, 5);
  a.h.SetZoomRange(5, 35);
  a.v.SetRangeMode(AxisRangeMode::AutomaticVisible);
  EXPECT_DOUBLE_EQ(a.v.GetMin(), 4);
  EXPECT_DOUBLE_EQ(a.v.GetMax(), 9);
}

TEST(AxisLifetime, SeriesOutlivingTheirAxisStopDrawing) {
  auto h = std::make_unique<CChartStandardAxis>(nullptr, 1);
  CChartStandardAxis v(nullptr, 0);
  CChartLineSerie s(nullptr, h.get(), &v);
  const double xs[] = {0, 1}, ys[] = {0, 1};
  s.SetPoints(xs, ys, 2);
  h.reset();
  EXPECT_EQ(s.GetHorizontalAxis(), nullptr);
  EXPECT_TRUE(s.PolylineRuns().empty());
  unsigned first = 0, last = 0;
  EXPECT_FALSE(s.VisiblePointRange(&first, &last));
  EXPECT_EQ(v.Series().size(), 1u);
}

TEST(AxisManualStep, FixedStepAndItsDecimals) {
  AxisPair a;
  a.h.SetTickStep(false, 0.25);
  a.h.RefreshTickStep();
  EXPECT_DOUBLE_EQ(a.h.GetTickStep(), 0.25);
  EXPECT_EQ(a.h.TickLabel(0.5), "0.5");  // decimals of the step's magnitude
  a.h.SetTickStep(true, 0);
  a.h.RefreshTickStep();
  EXPECT_DOUBLE_EQ(a.h.GetTickStep(), 5.0);  // 1000 px / 30 -> 33 ticks over 100
}

}  // namespace
}  // namespace orx
