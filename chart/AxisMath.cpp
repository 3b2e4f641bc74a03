#include "chart/AxisMath.h"

#include <algorithm>
#include <cmath>

#include "base/Format.h"
#include "chart/AxisPixels.h"

namespace orx {

namespace {

int AxisLength(const AxisScale& s) { return std::abs(s.end - s.start); }

}  // namespace

TickStep AutomaticTickStep(const AxisScale& scale) {
  TickStep result;
  if (scale.max == scale.min) return result;
  const int pixelsPerTick = scale.horizontal ? 30 : 20;
  // An axis shorter than one tick still gets one step over its range.
  const int maxTicks = std::max(1, std::abs((scale.end - scale.start) / pixelsPerTick));
  const double raw = std::fabs(scale.max - scale.min) / maxTicks;
  if (!std::isfinite(raw) || raw <= 0.0) return result;
  const int e = static_cast<int>(std::floor(std::log10(raw)));
  const double base = std::pow(10.0, e);
  int decimals = e < 0 ? -e : 0;
  for (double factor : {1.0, 2.0, 5.0}) {
    if (factor * base >= raw) {
      result.step = factor * base;
      result.decimals = decimals;
      return result;
    }
  }
  result.step = 10.0 * base;
  result.decimals = std::max(0, decimals - 1);
  return result;
}

double FirstTick(double min, double step) {
  if (step == 0.0 || !std::isfinite(step) || !std::isfinite(min)) return min;
  if (min == 0.0) return 0.0;
  double first = step * std::trunc(min / step);
  // trunc() lands within a step of min; these loops correct by whole steps
  // and are bounded in case rounding leaves first where it cannot move.
  for (int i = 0; i < 4 && first < min; ++i) first += step;
  if (min < 0.0) {
    for (int i = 0; i < 4 && first > min; ++i) first -= step;
    if (first != min) first += step;
  }
  return first;
}

bool NextTick(double current, double step, double max, double* next) {
  if (step == 0.0) return false;
  const double candidate = current + step;
  if (!(candidate > current)) return false;  // step too small for the value
  *next = candidate;
  // Summed steps drift by a few ulps; without slack the tick at max is lost.
  return candidate <= max + std::fabs(step) * 1e-9;
}

std::string TickLabelText(double value, int decimals) {
  decimals = std::clamp(decimals, 0, 15);
  std::string text = strprintf("%.*f", decimals, value);
  // A tick that drifted just below zero prints as "-0.0".
  if (text[0] == '-' && text.find_first_not_of("-0.") == std::string::npos) text.erase(0, 1);
  return text;
}

int AxisMiddlePixel(const AxisScale& s) {
  const int mid = static_cast<int>(std::fabs((s.end - s.start) * 0.5));
  return s.horizontal ? s.start + mid : s.start - mid;
}

int ValueToPixelLinear(const AxisScale& s, double value) { return LinearAxisPixels(s)(value); }

int ValueToPixelDiscrete(const AxisScale& s, double step, double value) {
  if (step == 0.0) return ValueToPixelLinear(s, value);
  const double nudged = value >= 0.0 ? value + 1e-10 : value - 1e-10;
  return ValueToPixelLinear(s, step * std::trunc(nudged / step) + step * 0.5);
}

double PixelToValue(const AxisScale& s, int pixel) {
  const int length = AxisLength(s);
  if (s.max == s.min || length == 0) return s.min;
  int offset;
  if (s.horizontal)
    offset = s.inverted ? s.end - pixel : pixel - s.start;
  else
    offset = s.inverted ? pixel - s.end : s.start - pixel;
  return s.min + static_cast<double>(offset) / length * (s.max - s.min);
}

bool IsPixelOnAxis(const AxisScale& s, int pixel) {
  if (s.horizontal) return s.start <= pixel && pixel <= s.end;
  return s.end <= pixel && pixel <= s.start;
}

Range LimitZoomSpan(double min, double max, double limit) {
  if (max - min < limit) return {min, min + limit};
  return {min, max};
}

Range ZoomAround(double min, double max, double at, double factor, double fullMin, double fullMax) {
  double lo = at - (at - min) * factor;
  double hi = at + (max - at) * factor;
  if (factor <= 1.0) return {lo, hi};
  if (hi - lo >= fullMax - fullMin) return {fullMin, fullMax};
  if (lo < fullMin) {
    hi += fullMin - lo;
    lo = fullMin;
  } else if (hi > fullMax) {
    lo -= hi - fullMax;
    hi = fullMax;
  }
  return {lo, hi};
}

}  // namespace orx
