// Display units of the graph window: conversions from chart values, axis
// ranges and titles, readout texts and the statistics of shown samples.
// The stored samples never change with the units.
#pragma once

#include <optional>
#include <span>
#include <string>

#include "datalog/LogSample.h"

namespace orx::datalog {

enum class ConsumptionUnit { Ah, mAh, Wh };

struct DisplayUnits {
  bool fahrenheit = true;
  bool seconds = true;
  bool watts = true;
  ConsumptionUnit consumption = ConsumptionUnit::Ah;
  int poles = 4;
};

enum class Quantity {
  Voltage,
  Current,
  Temperature,
  Power,
  InputThrottle,
  OutputThrottle,
  Speed,
  Consumption,  // Ah, mAh, or the energy in Wh
  Time,
};

inline constexpr double kHorsepowerPerWatt = 0.00134102;

// The quantity of `sample` in the chosen unit (speed in RPM, time in s or min).
double displayValue(Quantity q, const LogSample& sample, const FullScales& scales, const DisplayUnits& units);

// "%.1f V", "%.0f W", "%.2f hp", "%.1f%%", "%.1f us", "%.0f RPM", "%.2f Ah",
// "%.0f mAh", "%.2f Wh", "%.1f\xB0F", "%.1f\xB0" "C"; time as "%.2f".
std::string readoutText(Quantity q, double value, const DisplayUnits& units);

struct AxisRange {
  double min = 0;
  double max = 0;
};
// The axis of a quantity in the chosen unit; speed in thousands of RPM.
AxisRange axisRange(Quantity q, const LogData& log, const DisplayUnits& units);

// Titles of the axes whose title follows the unit (temperature, time, power,
// consumption); empty for the others. Windows-1252 (degree sign 0xB0).
std::string axisTitle(Quantity q, const DisplayUnits& units);

struct Statistics {
  double minimum = 0;
  double maximum = 0;
  double average = 0;
};
// Over `samples` in the chosen unit; nothing for no samples.
std::optional<Statistics> statisticsOf(Quantity q, std::span<const LogSample> samples, const FullScales& scales,
                                       const DisplayUnits& units);

}  // namespace orx::datalog
