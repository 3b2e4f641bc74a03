#include "graph/GraphPlot.h"

#include <algorithm>
#include <vector>

#include "datalog/LogUnits.h"
#include "graph/GraphAxes.h"

namespace orx::graph {

using datalog::LogData;
using datalog::LogSample;
using datalog::Quantity;

double seriesValue(const LogSample& s, std::string_view key) {
  if (key == "IV") return s.voltage;
  if (key == "PC") return s.consumption;
  if (key == "TE") return s.temperature;
  if (key == "DC") return s.current;
  if (key == "DP") return s.power;
  if (key == "OT") return s.outputThrottle;
  if (key == "IT") return s.inputThrottle;
  if (key == "RP") return s.speed;
  if (key == "WA") return s.energy;
  return 0;
}

namespace {

void setAxis(CChartCtrl& chart, std::string_view key, Quantity q, const LogData& shown,
             const datalog::DisplayUnits& units, bool retitle) {
  CChartAxis* axis = axisOfKey(chart, key);
  if (!axis) return;
  const datalog::AxisRange r = datalog::axisRange(q, shown, units);
  axis->SetRange(r.min, r.max);
  if (retitle) axis->GetTitle()->SetText(datalog::axisTitle(q, units));
}

}  // namespace

void applyUnitAxes(CChartCtrl& chart, const LogData& shown) {
  const datalog::DisplayUnits units = unitsOf(chart.Readout());
  setAxis(chart, "TE", Quantity::Temperature, shown, units, true);
  setAxis(chart, "DP", Quantity::Power, shown, units, true);
  setAxis(chart, "PC", Quantity::Consumption, shown, units, true);
  setAxis(chart, "IV", Quantity::Voltage, shown, units, false);
  setAxis(chart, "DC", Quantity::Current, shown, units, false);
  setAxis(chart, "RP", Quantity::Speed, shown, units, false);
  // The time axes are found by slot: the bottom one carries the labels, the
  // top one (always in seconds) carries the series.
  if (CChartAxis* time = chart.GetAxis(kBottomAxis)) {
    const datalog::AxisRange r = datalog::axisRange(Quantity::Time, shown, units);
    time->SetRange(r.min, r.max);
    time->GetTitle()->SetText(datalog::axisTitle(Quantity::Time, units));
  }
  if (CChartAxis* top = chart.GetAxis(kTopAxis)) top->SetRange(0, shown.duration);
}

void matchSeriesToAxes(CChartCtrl& chart) {
  const int unit = chart.Readout().capacityUnit;
  for (CChartSerie* serie : chart.Series()) {
    const std::string& name = serie->GetName();
    const CChartAxis* axis = axisOfKey(chart, name == "WA" ? "PC" : name);
    bool shown = axis && axis->IsShown();
    if (name == "PC") shown = shown && unit != 2;
    if (name == "WA") shown = shown && unit == 2;
    serie->SetShown(shown);
  }
}

void resetPoles(CChartCtrl& chart) {
  chart.Readout().appliedPoles = 4;
  chart.Readout().requestedPoles = 4;
  if (CChartAxis* speed = axisOfKey(chart, "RP")) speed->GetTitle()->SetText(kSpeedTitle);
}

void plotLog(CChartCtrl& chart, const LogData& shown) {
  chart.EnableRedraw(false);
  // Every axis back to its full range, the hidden ones that carry the curves
  // included: a zoom left on one of them would draw the curves against
  // another scale than the one printed beside them.
  chart.ResetZoom();
  chart.ClearSeries();
  const auto count = static_cast<unsigned>(shown.samples.size());
  std::vector<double> xs(count), ys(count);
  for (unsigned i = 0; i < count; ++i) xs[i] = shown.samples[i].time;
  for (const SeriesSpec& entry : kDataSeries) {
    CChartLineSerie* serie = addSeries(chart, entry.key);
    if (!serie) continue;
    for (unsigned i = 0; i < count; ++i) ys[i] = seriesValue(shown.samples[i], entry.key);
    serie->SetPoints(xs.data(), ys.data(), count);
  }

  ChartReadoutBlock& block = chart.Readout();
  block.speedFullScale = shown.scales.speed;
  block.powerFullScale = shown.scales.power;
  block.voltageFullScale = shown.scales.voltage;
  block.currentFullScale = shown.scales.current;
  block.consumptionFullScale = shown.scales.consumption;
  block.energyFullScale = shown.scales.energy;
  block.timeFullScale = shown.duration;
  block.flightNumbers.assign(std::max<size_t>(count, kFlightTableSize), 0);
  for (unsigned i = 0; i < count; ++i) block.flightNumbers[i] = shown.samples[i].session;
  block.useFlightTable = true;
  block.appliedPoles = block.requestedPoles;  // the speed axis is ranged for it below

  applyUnitAxes(chart, shown);
  matchSeriesToAxes(chart);
  chart.EnableRedraw(true);
}

}  // namespace orx::graph
