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
    // Far beyond any screen, but safe to add to an int and to hand to QPainter;
    // the limits are whole numbers, so clamping first and rounding down after
    // gives what rounding down first would.
    constexpr double kLimit = 1.0e7;
    const double clamped = std::clamp(offset, -kLimit, kLimit);
    int whole = static_cast<int>(clamped);  // towards zero; cheaper than std::floor
    if (whole > clamped) --whole;
    return origin_ + step_ * whole;
  }

 private:
  double min_;
  double span_;
  double length_;
  bool flat_;
  int middle_;
  int origin_ = 0;
  int step_ = 1;
};

}  // namespace orx
