// How each axis takes its band from the chart rectangle and so shrinks the
// plotting rectangle. Pure arithmetic over measured text sizes.
#pragma once

#include "chart/ChartRect.h"

namespace orx {

struct AxisMeasure {
  int slot = 0;
  ChartSize largestTick;  // widest and tallest tick label
  ChartSize title;        // text extent + 4, width and height swapped when vertical
};

// The band of the control that holds an axis, its ticks and its title, for
// the current plotting rectangle.
ChartRect AxisBand(int slot, const ChartRect& chart, const ChartRect& plot);

// Start and end pixels of the axis along the current plotting rectangle.
struct AxisEnds {
  int start = 0;
  int end = 0;
};
AxisEnds AxisEndsFor(int slot, const ChartRect& plot);

int AutomaticMargin(const AxisMeasure& m);

// One step of the margin pass: the axis in `m.slot` with margin `margin`
// shrinks `plot`. The top ends at 5 after every axis, as the graph window's
// layout expects.
void ApplyAxisMargin(ChartRect& plot, const ChartRect& chart, const AxisMeasure& m, int margin,
                     int leftLabelShift, int rightLabelShift);

}  // namespace orx
