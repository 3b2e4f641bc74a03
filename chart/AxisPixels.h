// The value-to-pixel mapping of a linear axis with its scale read once, for
// loops that map every point of a curve. Pure arithmetic, no drawing.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "chart/AxisMath.h"

namespace orx {

class LinearAxisPixels {
 public:
  explicit LinearAxisPixels(const AxisScale& s)
      : min_(s.min),
        span_(s.max - s.min),
        length_(std::abs(s.end - s.start)),
        flat_(s.max == s.min),
        middle_(AxisMiddlePixel(s)) {
    const bool fromEnd = s.inverted;
    origin_ = fromEnd ? s.end : s.start;
    // Pixels grow rightwards and downwards; values grow rightwards and upwards.
    step_ = (s.horizontal != fromEnd) ? 1 : -1;
  }

  int operator()(double value) const {
    if (flat_) return middle_;
    const double offset = length_ * (value - min_) / span_;
    if (std::isnan(offset)) return origin_;
    return origin_ + step_ * Whole(offset);
  }

  // Values that surely map to one pixel: `low` <= value < `high`. Empty
  // (nothing is inside) where that cannot be said cheaply.
  struct Cell {
    double low = 1.0;
    double high = 0.0;
    bool holds(double value) const { return value >= low && value < high; }
  };

  // The cell of the pixel that `value` maps to, narrowed by far more than the
  // rounding of the mapping can move a value, so that a loop over many values
  // a pixel maps only those that leave it and still gets every pixel exact.
  Cell CellOf(double value) const {
    const double offset = length_ * (value - min_) / span_;
    if (flat_ || !std::isfinite(offset) || !std::isfinite(span_) || span_ <= 0 || std::abs(offset) > 1.0e6)
      return {};
    const double whole = Whole(offset);
    const double width = span_ / length_;
    const double low = min_ + whole * width, high = min_ + (whole + 1) * width;
    const double margin = 1.0e-9 * (std::abs(low) + std::abs(high) + std::abs(min_)) + 1.0e-6 * width;
    return {low + margin, high - margin};
  }

 private:
  static int Whole(double offset) {
    // Far beyond any screen, but safe to add to an int and to hand to QPainter;
    // the limits are whole numbers, so clamping first and rounding down after
    // gives what rounding down first would.
    constexpr double kLimit = 1.0e7;
    const double clamped = std::clamp(offset, -kLimit, kLimit);
    int whole = static_cast<int>(clamped);  // towards zero; cheaper than std::floor
    if (whole > clamped) --whole;
    return whole;
  }

  double min_;
  double span_;
  double length_;
  bool flat_;
  int middle_;
  int origin_ = 0;
  int step_ = 1;
};

}  // namespace orx
