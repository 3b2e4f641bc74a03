// Line series without a control: point order, ranges, visible part, the
// polyline it draws and hit tests.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "chart/ChartLineSerie.h"

namespace orx {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

struct SerieRig {
  CChartStandardAxis h{nullptr, 3};
  CChartStandardAxis v{nullptr, 14};
  CChartLineSerie serie{nullptr, &h, &v};
  SerieRig() {
    const ChartRect plot{100, 0, 1100, 500};  // x 100..1100, y 500..0
    h.SetAxisSize({0, 0, 1200, 600}, plot);
    v.SetAxisSize({0, 0, 1200, 600}, plot);
    h.SetRange(0, 100);
    v.SetRange(0, 100);
  }
  void Set(std::vector<double> xs, std::vector<double> ys) {
    serie.SetPoints(xs.data(), ys.data(), static_cast<unsigned>(xs.size()));
  }
};

TEST(SeriePoints, UnsortedInputIsSortedByXWithItsBounds) {
  SerieRig r;
  r.Set({30, 10, 20, 0}, {3, 1, 2, 9});
  ASSERT_EQ(r.serie.PointCount(), 4u);
  const double expectedX[] = {0, 10, 20, 30};
  const double expectedY[] = {9, 1, 2, 3};
  for (unsigned i = 0; i < 4; ++i) {
    EXPECT_DOUBLE_EQ(r.serie.GetX(i), expectedX[i]);
    EXPECT_DOUBLE_EQ(r.serie.GetY(i), expectedY[i]);  // Y travels with its X
  }
  double lo, hi;
  ASSERT_TRUE(r.serie.XRange(&lo, &hi));
  EXPECT_DOUBLE_EQ(lo, 0);
  EXPECT_DOUBLE_EQ(hi, 30);
  ASSERT_TRUE(r.serie.YRange(&lo, &hi));
  EXPECT_DOUBLE_EQ(lo, 1);
  EXPECT_DOUBLE_EQ(hi, 9);
  EXPECT_DOUBLE_EQ(r.serie.GetX(99), 0);  // past the end: no read outside the array
}

TEST(SeriePoints, EqualTimesKeepTheirOrderAndBadValuesSortLast) {
  SerieRig r;
  r.Set({5, kNaN, 5, 1}, {1, 50, 2, kNaN});
  EXPECT_DOUBLE_EQ(r.serie.GetX(0), 1);
  EXPECT_DOUBLE_EQ(r.serie.GetY(1), 1);  // first 5 stays first
  EXPECT_DOUBLE_EQ(r.serie.GetY(2), 2);
  EXPECT_TRUE(std::isnan(r.serie.GetX(3)));
  double lo, hi;
  ASSERT_TRUE(r.serie.YRange(&lo, &hi));
  EXPECT_DOUBLE_EQ(lo, 1);
  EXPECT_DOUBLE_EQ(hi, 50);  // the NaN X does not hide its finite Y
  ASSERT_TRUE(r.serie.XRange(&lo, &hi));
  EXPECT_DOUBLE_EQ(hi, 5);
}

TEST(SeriePoints, EmptyAndHiddenSeriesReportNoRange) {
  SerieRig r;
  double lo, hi;
  EXPECT_FALSE(r.serie.XRange(&lo, &hi));
  r.serie.SetPoints(nullptr, nullptr, 5);  // a null array is no points
  EXPECT_EQ(r.serie.PointCount(), 0u);
  r.Set({1, 2}, {1, 2});
  r.serie.SetShown(false);
  EXPECT_FALSE(r.serie.XRange(&lo, &hi));
  EXPECT_FALSE(r.serie.YRange(&lo, &hi));
}

TEST(SerieVisibleRange, BinarySearchAgainstTheZoomedAxis) {
  SerieRig r;
  std::vector<double> xs, ys;
  for (int i = 0; i <= 100; ++i) {
    xs.push_back(i);
    ys.push_back(i % 7);
  }
  r.Set(xs, ys);
  r.h.SetZoomRange(10.5, 20);
  unsigned first, last;
  ASSERT_TRUE(r.serie.VisiblePointRange(&first, &last));
  EXPECT_EQ(first, 11u);
  EXPECT_EQ(last, 20u);
  // The view between two points: first is the later, last the earlier.
  r.h.SetZoomRange(40.2, 40.7);
  ASSERT_TRUE(r.serie.VisiblePointRange(&first, &last));
  EXPECT_EQ(first, 41u);
  EXPECT_EQ(last, 40u);
  // ... and the line still crosses the view through the widened pair.
  const auto runs = r.serie.PolylineRuns();
  ASSERT_EQ(runs.size(), 1u);
  EXPECT_EQ(runs[0].size(), 2u);
}

TEST(SeriePolyline, SamePixelPointsGiveOneVertex) {
  SerieRig r;
  // 1000 px for 100 s: points 0.01 s apart share pixels.
  r.Set({10, 10.01, 10.02, 10.05, 50}, {50, 50, 50, 50, 50});
  const auto runs = r.serie.PolylineRuns();
  ASSERT_EQ(runs.size(), 1u);
  ASSERT_EQ(runs[0].size(), 2u);
  EXPECT_EQ(runs[0][0], QPoint(200, 250));
  EXPECT_EQ(runs[0][1], QPoint(600, 250));
}

TEST(SeriePolyline, LongLogStaysWithinThePlotWidth) {
  SerieRig r;
  std::vector<double> xs, ys;
  for (int i = 0; i < 20000; ++i) {
    xs.push_back(i * 0.005);
    ys.push_back(50);
  }
  r.Set(xs, ys);
  const auto runs = r.serie.PolylineRuns();
  ASSERT_EQ(runs.size(), 1u);
  EXPECT_LE(runs[0].size(), 1001u);
}

TEST(SeriePolyline, SinglePointDrawsNothingAndNaNBreaksTheLine) {
  SerieRig r;
  r.Set({42}, {42});
  EXPECT_TRUE(r.serie.PolylineRuns().empty());
  r.Set({0, 10, 20, 30, 40, 50}, {0, 10, kNaN, 30, 40, 50});
  const auto runs = r.serie.PolylineRuns();
  ASSERT_EQ(runs.size(), 2u);
  EXPECT_EQ(runs[0].size(), 2u);
  EXPECT_EQ(runs[1].size(), 3u);
}

TEST(SerieHitTest, OnTheSegmentAndNearItsPoints) {
  SerieRig r;
  r.Set({0, 50, 100}, {0, 50, 0});  // pixels (100,500) (600,250) (1100,500)
  unsigned index = 0;
  EXPECT_TRUE(r.serie.HitTest(QPoint(350, 376), &index));  // mid first segment, 1 px off
  EXPECT_EQ(index, kNoPoint);
  EXPECT_TRUE(r.serie.HitTest(QPoint(598, 251), &index));
  EXPECT_EQ(index, 1u);
  EXPECT_TRUE(r.serie.HitTest(QPoint(102, 499), &index));
  EXPECT_EQ(index, 0u);
  EXPECT_FALSE(r.serie.HitTest(QPoint(350, 390), &index));
  EXPECT_EQ(index, kNoPoint);
  EXPECT_FALSE(r.serie.HitTest(QPoint(1150, 500), &index));  // beyond the last point
}

TEST(SerieColours, DefaultTableWrapsAfterTen) {
  EXPECT_EQ(DefaultSerieColor(0), QColor(255, 0, 0));
  EXPECT_EQ(DefaultSerieColor(1), QColor(0, 150, 0));
  EXPECT_EQ(DefaultSerieColor(9), QColor(64, 128, 128));
  EXPECT_EQ(DefaultSerieColor(12), QColor(0, 0, 255));
}

}  // namespace
}  // namespace orx
