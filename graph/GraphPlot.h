// Putting a log on the chart: the nine series, the axis ranges and titles of
// the chosen units, and which series are shown. Works on the chart alone so
// that the option dialogs and the window share it.
#pragma once

#include "chart/ChartCtrl.h"
#include "datalog/LogSample.h"

namespace orx::graph {

// Replaces the series by the nine data series of `shown` in their axes'
// colours, returns every axis to its full range, ranges both time axes and
// the unit axes for the chosen units and pole count, fills the read-out block
// (full scales, flight numbers) and matches the series with their axes.
void plotLog(CChartCtrl& chart, const datalog::LogData& shown);

// A new log is for a 4-pole motor: both pole counts and the speed title.
void resetPoles(CChartCtrl& chart);

// Ranges and titles of the temperature, time, power, consumption and speed
// axes for the units in the read-out block.
void applyUnitAxes(CChartCtrl& chart, const datalog::LogData& shown);

// A series whose axis is hidden is hidden; "PC" only in Ah and mAh, "WA"
// (under the "PC" axis) only in Wh.
void matchSeriesToAxes(CChartCtrl& chart);

// The value of a sample that the series of `key` plots (chart values).
double seriesValue(const datalog::LogSample& sample, std::string_view key);

}  // namespace orx::graph
