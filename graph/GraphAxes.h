// The graph window's chart set-up: the fifteen axes with their keys, the
// data series, and finding an axis or quantity by its two-letter key.
#pragma once

#include <QColor>
#include <array>
#include <optional>
#include <string_view>

#include "chart/ChartCtrl.h"
#include "datalog/LogUnits.h"

namespace orx::graph {

struct AxisSpec {
  int slot;
  const char* key;    // "" for the second time axis
  const char* title;  // Windows-1252
  QColor colour;      // invalid: the chart's default
  double min;
  double max;
  bool shown;
};
extern const std::array<AxisSpec, kAxisSlotCount> kAxisTable;

struct SeriesSpec {
  const char* key;
  QColor colour;
};
// The nine data series, in the order they are created.
extern const std::array<SeriesSpec, 9> kDataSeries;
// The six empty series shown before any log.
extern const std::array<const char*, 6> kInitialSeriesKeys;

inline constexpr int kSeriesTimeSlot = 3;       // every series runs along the second time axis
inline constexpr int kSeriesValueSlot = 14;     // and up the hidden constant 0..100 axis
inline constexpr const char* kSpeedTitle = "Motor Angular Velocity (RPM) (4 Poles) (10^3)";

QColor seriesColour(std::string_view key);

// Background, border, zoom colour, label shifts, the axes of kAxisTable, the
// cross-hair and the six empty series. Leaves redrawing held: the caller
// ends with EnableRedraw(true).
void setUpChart(CChartCtrl& chart);

// A series along slots 3 and 14 with pen width 1, solid, named, in the colour
// of its key's axis ("WA" in that of "PC").
CChartLineSerie* addSeries(CChartCtrl& chart, std::string_view key);
void addInitialSeries(CChartCtrl& chart);

// The first axis of slots 0-13 with this key; null when none.
CChartAxis* axisOfKey(const CChartCtrl& chart, std::string_view key);

// The quantity an axis key stands for; nothing for the test and constant axes.
std::optional<datalog::Quantity> quantityOfKey(std::string_view key);

// The units the chart's read-out block holds (the only copy of them).
datalog::DisplayUnits unitsOf(const ChartReadoutBlock& block);

}  // namespace orx::graph
