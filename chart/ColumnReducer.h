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
#include <vector>

namespace orx {

template <typename MapY>
class ColumnReducer {
 public:
  // Appends to `out`, dropping repeats of one pixel.
  ColumnReducer(std::vector<QPoint>& out, const MapY& mapY) : out_(out), mapY_(mapY) {}

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
  void put(double y) {
    const QPoint p(x_, mapY_(y));
    if (out_.empty() || out_.back() != p) out_.push_back(p);
  }

  std::vector<QPoint>& out_;
  const MapY& mapY_;
  int x_ = 0;
  double first_ = 0, low_ = 0, high_ = 0, last_ = 0;
  unsigned lowAt_ = 0, highAt_ = 0, count_ = 0;
};

}  // namespace orx
