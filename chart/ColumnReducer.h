// Thins a polyline to the vertices that can change a 1-pixel drawing of it.
// Within one pixel column a line only covers the span between its lowest and
// highest vertex, and it enters and leaves through the column's first and last
// vertex; so those four, in their order along the line, draw the same pixels
// as every vertex of the column. A log of many samples per column then costs
// at most four vertices per column to draw, and only those four get their
// vertical pixel computed: the lowest and highest value map to the extreme
// pixels, since the mapping of an axis is monotonic.
#pragma once

#include <QPoint>
#include <algorithm>
#include <cmath>
#include <vector>

namespace orx {

template <typename MapY>
class ColumnReducer {
 public:
  // Appends to `out`, dropping repeats of one pixel. Without `ordered`, a
  // column's lowest and highest vertex may come in either order: for a
  // drawing that fills each column's span as one (LineRaster), which saves
  // finding where they came.
  ColumnReducer(std::vector<QPoint>& out, const MapY& mapY, bool ordered = true)
      : out_(out), mapY_(mapY), ordered_(ordered) {}

  // The next vertex: its pixel column and its vertical value.
  void add(int x, double y) {
    if (count_ != 0 && x == x_) {
      // Selects, not branches: noisy samples make these unpredictable.
      const bool lower = y < low_, higher = y > high_;
      low_ = lower ? y : low_;
      lowAt_ = lower ? count_ : lowAt_;
      high_ = higher ? y : high_;
      highAt_ = higher ? count_ : highAt_;
      last_ = y;
      ++count_;
      return;
    }
    flush();
    x_ = x;
    first_ = low_ = high_ = last_ = y;
    lowAt_ = highAt_ = 0;
    count_ = 1;
  }

  // Adds `points[i]` in column `x`, then the points after it, up to `last`,
  // while their X stays inside `cell` (a range of values known to map to
  // column `x`) and their Y is a number; returns the index of the first point
  // not taken. A dense log spends most of its drawing here: two samples a
  // step in two lanes, so that no sample waits on the one before; with the
  // points in X order, a sample not past the cell is inside it; a Y that is
  // not a number is noticed once, after the loop, which then takes the
  // column again a sample at a time. Where each extreme first came is looked
  // up after, and only when the order is kept.
  template <typename Points, typename Cell>
  unsigned AddWhileInside(int x, const Points& points, unsigned i, unsigned last, const Cell& cell, bool sortedByX) {
    add(x, points[i].Y);
    const unsigned from = i + 1;
    double lowA = low_, lowB = low_, highA = high_, highB = high_;
    double bad = 0;  // y - y is 0 for a number, not a number for anything else
    auto take = [&bad](double& low, double& high, double y) {
      bad += y - y;
      low = std::min(low, y);
      high = std::max(high, y);
    };
    unsigned end = from;
    // An empty cell holds nothing: its bounds say nothing of where a column ends.
    if (sortedByX && cell.low <= cell.high) {
      for (; end + 1 <= last && points[end + 1].X < cell.high; end += 2) {
        take(lowA, highA, points[end].Y);
        take(lowB, highB, points[end + 1].Y);
      }
    } else {
      for (; end + 1 <= last && cell.holds(points[end].X) && cell.holds(points[end + 1].X); end += 2) {
        take(lowA, highA, points[end].Y);
        take(lowB, highB, points[end + 1].Y);
      }
    }
    if (end <= last && cell.holds(points[end].X)) take(lowA, highA, points[end++].Y);
    if (bad != 0) {
      lowA = lowB = low_;
      highA = highB = high_;
      for (end = from; end <= last && cell.holds(points[end].X) && std::isfinite(points[end].Y); ++end) {
        lowA = std::min(lowA, points[end].Y);
        highA = std::max(highA, points[end].Y);
      }
    }
    if (end == from) return end;
    // Of equal extremes the earlier sample counts, as it would one at a time.
    const double low = std::min(lowA, lowB), high = std::max(highA, highB);
    if (low < low_) {
      low_ = low;
      lowAt_ = ordered_ ? count_ + FirstAt(points, from, low) : 0;
    }
    if (high > high_) {
      high_ = high;
      highAt_ = ordered_ ? count_ + FirstAt(points, from, high) : 1;
    }
    last_ = points[end - 1].Y;
    count_ += end - from;
    return end;
  }

  // Writes the column in hand; call before reading `out`.
  void flush() {
    if (count_ == 0) return;
    put(first_);
    if (count_ > 1) {
      put(lowAt_ < highAt_ ? low_ : high_);
      put(lowAt_ < highAt_ ? high_ : low_);
      put(last_);
    }
    count_ = 0;
  }

 private:
  // How far after `from` the value `y` first comes; it does come.
  template <typename Points>
  static unsigned FirstAt(const Points& points, unsigned from, double y) {
    unsigned at = from;
    while (points[at].Y != y) ++at;
    return at - from;
  }

  void put(double y) {
    const QPoint p(x_, mapY_(y));
    if (out_.empty() || out_.back() != p) out_.push_back(p);
  }

  std::vector<QPoint>& out_;
  const MapY& mapY_;
  bool ordered_;
  int x_ = 0;
  double first_ = 0, low_ = 0, high_ = 0, last_ = 0;
  unsigned lowAt_ = 0, highAt_ = 0, count_ = 0;
};

}  // namespace orx
