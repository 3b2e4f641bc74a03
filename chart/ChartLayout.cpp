#include "chart/ChartLayout.h"

#include <algorithm>

#include "chart/AxisSlots.h"

namespace orx {

ChartRect AxisBand(int slot, const ChartRect& chart, const ChartRect& plot) {
  ChartRect band = chart;
  const bool secondary = IsSecondarySlot(slot);
  if (IsHorizontalSlot(slot)) {
    if (secondary)
      band.bottom = plot.top;
    else
      band.top = plot.bottom;
  } else {
    if (secondary)
      band.left = plot.right;
    else
      band.right = plot.left;
  }
  return band;
}

AxisEnds AxisEndsFor(int slot, const ChartRect& plot) {
  if (IsHorizontalSlot(slot)) return {plot.left, plot.right};
  return {plot.bottom, plot.top};
}

int AutomaticMargin(const AxisMeasure& m) {
  if (IsHorizontalSlot(m.slot)) return m.title.height + m.largestTick.height + 56;
  return m.largestTick.width + m.title.width + 260;
}

void ApplyAxisMargin(ChartRect& plot, const ChartRect& chart, const AxisMeasure& m, int margin,
                     int leftLabelShift, int rightLabelShift) {
  const bool secondary = IsSecondarySlot(m.slot);
  if (IsHorizontalSlot(m.slot)) {
    if (!secondary) {
      if (plot.bottom > chart.bottom - margin) plot.bottom = chart.bottom - margin + 40;
    } else {
      plot.top = std::max(plot.top, chart.top + margin);
    }
    plot.right = std::min(plot.right, chart.right - m.largestTick.width / 2 - 3);
  } else {
    plot.top = std::max(plot.top, chart.top + m.largestTick.height / 2 + 3);
    if (!secondary) {
      if (chart.left + margin > plot.left) plot.left = chart.left + margin + leftLabelShift;
    } else {
      if (chart.right - margin < plot.right) plot.right = chart.right - margin + rightLabelShift;
    }
  }
  plot.top = 5;
}

}  // namespace orx
