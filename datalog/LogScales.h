// Full scales and the chart's 0..100 scale, shared by the ESC download and the
// CSV load.
#pragma once

#include <span>

#include "datalog/LogSample.h"

namespace orx::datalog {

// x when x is a multiple of m, else the next multiple above it (x whole).
double raiseToMultiple(double x, double m);

// Maxima over `samples`, starting from -1 (no samples give -1).
struct Maxima {
  double volts = -1, amps = -1, watts = -1, kiloRpm4 = -1, ampHours = -1, wattHours = -1;
};
Maxima maximaOf(std::span<const PhysicalSample> samples);

// Voltage ceil(max)+5; current, power and speed ceil(max) raised to a multiple
// of 5, 300 and 10; consumption and energy ceil(max). A full scale that comes
// out below 0 or not finite is 0.
FullScales fullScalesOf(const Maxima& maxima);

// value x 100 / fullScale, or 0 when fullScale is 0.
double toChart(double value, double fullScale);
double fromChart(double chartValue, double fullScale);

// Samples on the chart's scale; time, session, frequency and flags carried over.
LogData normalise(std::span<const PhysicalSample> samples, double duration);

}  // namespace orx::datalog
