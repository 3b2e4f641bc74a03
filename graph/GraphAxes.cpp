#include "graph/GraphAxes.h"

namespace orx::graph {

const std::array<AxisSpec, kAxisSlotCount> kAxisTable = {{
    {0, "DP", "Motor Drive Power (W)", QColor(0, 200, 0), 0, 1100, true},
    {1, "TM", "Time (s)", QColor(), 0, 100, true},
    {2, "IT", "Input Throttle (us)", QColor(255, 51, 255), 800, 2200, true},
    {3, "", "", QColor(), 0, 100, true},
    {4, "TE", "Temperature (\xB0" "F)", QColor(0, 0, 128), 0, 210, true},
    {5, "DC", "Motor Drive Current (A)", QColor(128, 0, 0), 0, 36, true},
    {6, "IV", "Drive Voltage (V)", QColor(127, 0, 255), 0, 50, true},
    {7, "L5", "Test Val L5", QColor(0, 0, 102), 0, 100, false},
    {8, "L6", "Test Val L6", QColor(255, 153, 153), 0, 100, false},
    {9, "OT", "Output Throttle (%)", QColor(255, 0, 0), 0, 100, true},
    {10, "RP", kSpeedTitle, QColor(0, 0, 255), 0, 30, true},
    {11, "PC", "Power Consumption (Ah)", QColor(0, 128, 128), 0, 2.001, true},
    {12, "R5", "Test Val R5", QColor(102, 0, 204), 0, 100, false},
    {13, "R6", "Test Val R6", QColor(0, 0, 0), 0, 100, false},
    {14, "CA", "Constant Axis", QColor(0, 0, 0), 0, 100, false},
}};

const std::array<SeriesSpec, 9> kDataSeries = {{
    {"IV", QColor(127, 0, 255)},
    {"PC", QColor(0, 128, 128)},
    {"TE", QColor(0, 0, 128)},
    {"DC", QColor(128, 0, 0)},
    {"DP", QColor(0, 200, 0)},
    {"OT", QColor(255, 0, 0)},
    {"IT", QColor(255, 51, 255)},
    {"RP", QColor(0, 0, 255)},
    {"WA", QColor(0, 128, 128)},
}};

const std::array<const char*, 6> kInitialSeriesKeys = {"TE", "DC", "OT", "RP", "IV", "IT"};

QColor seriesColour(std::string_view key) {
  for (const SeriesSpec& s : kDataSeries)
    if (key == s.key) return s.colour;
  return QColor(0, 0, 0);
}

void setUpChart(CChartCtrl& chart) {
  chart.EnableRedraw(false);
  chart.SetBackColor(Qt::white);
  chart.SetBorderColor(Qt::white);
  chart.SetBackGradient(false, Qt::white, Qt::white, 0);
  chart.SetZoomRectColor(Qt::black);
  chart.SetLeftLabelShift(-100);
  chart.SetRightLabelShift(100);
  for (const AxisSpec& entry : kAxisTable) {
    CChartStandardAxis* axis = entry.slot <= 3 ? chart.CreateAxis(entry.slot) : chart.CreateExtraAxis(entry.slot);
    axis->SetRange(entry.min, entry.max);
    axis->SetRangeMode(AxisRangeMode::Fixed);
    axis->Key = entry.key;
    axis->GetTitle()->SetText(entry.title);
    if (entry.colour.isValid()) {
      axis->SetLineColor(entry.colour);
      axis->SetTickTextColor(entry.colour);
      axis->GetTitle()->SetColor(entry.colour);
    }
    axis->GetGrid()->SetShown(false);
    axis->SetShown(entry.shown);
  }
  chart.AddCrossHair(false, false);
  addInitialSeries(chart);
}

CChartLineSerie* addSeries(CChartCtrl& chart, std::string_view key) {
  CChartLineSerie* serie = chart.AddLineSeries(kSeriesTimeSlot, kSeriesValueSlot);
  if (!serie) return nullptr;
  serie->SetPenWidth(1);
  serie->SetPenStyle(0);
  serie->SetName(std::string(key));
  // The axis keeps the colour the user chose; the curve wears it too.
  const CChartAxis* axis = axisOfKey(chart, key == "WA" ? "PC" : key);
  serie->SetColor(axis ? axis->GetTitle()->GetColor() : seriesColour(key));
  return serie;
}

void addInitialSeries(CChartCtrl& chart) {
  for (const char* key : kInitialSeriesKeys) addSeries(chart, key);
}

CChartAxis* axisOfKey(const CChartCtrl& chart, std::string_view key) {
  for (int slot = 0; slot < kAxisSlotCount - 1; ++slot) {
    CChartAxis* axis = chart.GetAxis(slot);
    if (axis && axis->Key == key) return axis;
  }
  return nullptr;
}

std::optional<datalog::Quantity> quantityOfKey(std::string_view key) {
  using datalog::Quantity;
  if (key == "DP") return Quantity::Power;
  if (key == "TM") return Quantity::Time;
  if (key == "IT") return Quantity::InputThrottle;
  if (key == "TE") return Quantity::Temperature;
  if (key == "DC") return Quantity::Current;
  if (key == "IV") return Quantity::Voltage;
  if (key == "OT") return Quantity::OutputThrottle;
  if (key == "RP") return Quantity::Speed;
  if (key == "PC") return Quantity::Consumption;
  return std::nullopt;
}

datalog::DisplayUnits unitsOf(const ChartReadoutBlock& block) {
  datalog::DisplayUnits u;
  u.fahrenheit = block.fahrenheit;
  u.seconds = block.seconds;
  u.watts = block.watts;
  u.consumption = block.capacityUnit == 1   ? datalog::ConsumptionUnit::mAh
                  : block.capacityUnit == 2 ? datalog::ConsumptionUnit::Wh
                                            : datalog::ConsumptionUnit::Ah;
  u.poles = block.requestedPoles > 0 ? block.requestedPoles : 4;
  return u;
}

}  // namespace orx::graph
