// Scale arithmetic of a linear chart axis: tick step, first tick, tick labels
// and the mapping between values and pixels. Pure functions, no drawing.
#pragma once

#include <string>

namespace orx {

// Where an axis lies on screen and what range it shows. For a horizontal axis
// `start` is the left end and `end` the right one; for a vertical axis `start`
// is the bottom and `end` the top (so start > end on screen).
struct AxisScale {
  double min = 0.0;
  double max = 0.0;
  int start = 0;
  int end = 0;
  bool horizontal = false;
  bool inverted = false;
};

struct TickStep {
  double step = 0.0;
  int decimals = 0;
};

// Automatic step: one tick per 30 pixels (horizontal) or 20 pixels (vertical)
// at most, rounded up to 1, 2 or 5 times a power of ten.
TickStep AutomaticTickStep(const AxisScale& scale);

// Smallest multiple of `step` that is >= `min` (min itself for a zero step).
double FirstTick(double min, double step);

// Next tick after `current`; false when it lies beyond `max` or the step
// cannot advance any more.
bool NextTick(double current, double step, double max, double* next);

// `value` in fixed notation with `decimals` digits after the point.
std::string TickLabelText(double value, int decimals);

int ValueToPixelLinear(const AxisScale& scale, double value);
// Snaps the value to the middle of its step before mapping it.
int ValueToPixelDiscrete(const AxisScale& scale, double step, double value);
// Middle of the axis: where every value of an empty range is drawn.
int AxisMiddlePixel(const AxisScale& scale);
double PixelToValue(const AxisScale& scale, int pixel);
bool IsPixelOnAxis(const AxisScale& scale, int pixel);

// The range that keeps at least `limit` of span: (min, min + limit) when
// max - min is narrower than that.
struct Range {
  double min = 0.0;
  double max = 0.0;
};
Range LimitZoomSpan(double min, double max, double limit);

// The range [min, max] scaled by `factor` (below 1 zooms in) around `at`,
// which keeps its place on screen. Zooming out stops at the full range
// [fullMin, fullMax] and slides back inside it, so the wheel can always
// return to the whole picture; zooming in never moves the view.
Range ZoomAround(double min, double max, double at, double factor, double fullMin, double fullMax);

}  // namespace orx
