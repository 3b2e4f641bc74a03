// Point types of the chart series and the point array that keeps them sorted
// with their bounds. Pure data, no drawing.
#pragma once

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

namespace orx {

struct SChartXYPoint {
  double X = 0.0;
  double Y = 0.0;
  double Z = 0.0;  // carried along, never drawn by a line series
};

// A point's place on the chart alone: what drawing reads.
struct ChartXY {
  double X = 0.0;
  double Y = 0.0;
};

enum class PointOrdering { None = 0, ByX = 1, ByY = 2 };

// Points of one series, ordered by X (the default), by Y or as given, with the
// lowest and highest finite X and Y. Points whose coordinate is not a number
// sort after all others, so a bad value cannot break the ordering.
template <typename PointT>
class ChartPointArray {
 public:
  void SetPoints(std::vector<PointT> points) {
    points_ = std::move(points);
    Reorder();
  }
  void Clear() { SetPoints({}); }
  void SetOrdering(PointOrdering ordering) {
    ordering_ = ordering;
    Reorder();
  }
  PointOrdering Ordering() const { return ordering_; }

  unsigned Count() const { return static_cast<unsigned>(points_.size()); }
  const PointT& operator[](unsigned i) const { return points_[i]; }
  const std::vector<PointT>& Points() const { return points_; }
  // The same points' X and Y packed together: a dense curve's drawing reads
  // every one of them, and two thirds of the bytes read two thirds as fast.
  const std::vector<ChartXY>& Places() const { return places_; }

  // False when there is no finite coordinate to report.
  bool XBounds(double* min, double* max) const { return Bounds(xMin_, xMax_, min, max); }
  bool YBounds(double* min, double* max) const { return Bounds(yMin_, yMax_, min, max); }

  // Indexes of the points whose coordinate along the ordering lies within
  // [lo, hi]: `first` is the first at or above lo, `last` the last at or below
  // hi. With no point inside, first == last + 1 (the gap the range falls in).
  // False when the array is empty or not ordered.
  bool IndexRange(double lo, double hi, int* first, int* last) const {
    if (points_.empty() || ordering_ == PointOrdering::None) return false;
    if (hi < lo) std::swap(lo, hi);
    auto key = [this](const PointT& p) { return ordering_ == PointOrdering::ByX ? p.X : p.Y; };
    auto lower = std::partition_point(points_.begin(), points_.end(), [&](const PointT& p) { return key(p) < lo; });
    auto upper = std::partition_point(lower, points_.end(), [&](const PointT& p) { return key(p) <= hi; });
    *first = static_cast<int>(lower - points_.begin());
    *last = static_cast<int>(upper - points_.begin()) - 1;
    return true;
  }

 private:
  static bool Less(double a, double b) { return !std::isnan(a) && (std::isnan(b) || a < b); }

  static bool Bounds(double lo, double hi, double* min, double* max) {
    if (lo > hi) return false;
    *min = lo;
    *max = hi;
    return true;
  }

  void Reorder() {
    if (ordering_ == PointOrdering::ByX)
      std::stable_sort(points_.begin(), points_.end(), [](const PointT& a, const PointT& b) { return Less(a.X, b.X); });
    else if (ordering_ == PointOrdering::ByY)
      std::stable_sort(points_.begin(), points_.end(), [](const PointT& a, const PointT& b) { return Less(a.Y, b.Y); });
    places_.resize(points_.size());
    for (size_t i = 0; i < points_.size(); ++i) places_[i] = {points_[i].X, points_[i].Y};
    constexpr double inf = std::numeric_limits<double>::infinity();
    xMin_ = yMin_ = inf;
    xMax_ = yMax_ = -inf;
    for (const PointT& p : points_) {
      if (std::isfinite(p.X)) {
        xMin_ = std::min(xMin_, p.X);
        xMax_ = std::max(xMax_, p.X);
      }
      if (std::isfinite(p.Y)) {
        yMin_ = std::min(yMin_, p.Y);
        yMax_ = std::max(yMax_, p.Y);
      }
    }
  }

  std::vector<PointT> points_;
  std::vector<ChartXY> places_;
  PointOrdering ordering_ = PointOrdering::ByX;
  double xMin_ = std::numeric_limits<double>::infinity();
  double xMax_ = -std::numeric_limits<double>::infinity();
  double yMin_ = std::numeric_limits<double>::infinity();
  double yMax_ = -std::numeric_limits<double>::infinity();
};

}  // namespace orx
