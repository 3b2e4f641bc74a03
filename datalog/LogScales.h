// Full scales and the chart's 0..100 scale, shared by the ESC download and the
// CSV load.
#pragma once

#include <algorithm>
#include <cstddef>
#include <span>

#include "datalog/LogRecord.h"
#include "datalog/LogSample.h"

namespace orx::datalog {

// x when x is a multiple of m, else the next multiple above it (x whole).
double raiseToMultiple(double x, double m);

// Maxima over `samples`, starting from -1 (no samples give -1).
struct Maxima {
  double volts = -1, amps = -1, watts = -1, kiloRpm4 = -1, ampHours = -1, wattHours = -1;
  void take(const PhysicalSample& s) {
    volts = std::max(volts, s.volts);
    amps = std::max(amps, s.amps);
    watts = std::max(watts, s.watts);
    kiloRpm4 = std::max(kiloRpm4, s.kiloRpm4);
    ampHours = std::max(ampHours, s.ampHours);
    wattHours = std::max(wattHours, s.wattHours);
  }
};
Maxima maximaOf(std::span<const PhysicalSample> samples);

// Voltage ceil(max)+5; current, power and speed ceil(max) raised to a multiple
// of 5, 300 and 10; consumption and energy ceil(max). A full scale that comes
// out below 0 or not finite is 0.
FullScales fullScalesOf(const Maxima& maxima);

// value x 100 / fullScale, or 0 when fullScale is 0.
double toChart(double value, double fullScale);
double fromChart(double chartValue, double fullScale);

// Builds a log from samples as measured. They go straight into the log's own
// vector, reserved once, and are put on the chart's scale in place at the
// end: a load or a decode writes its samples once and copies none.
class LogBuilder {
 public:
  explicit LogBuilder(std::size_t capacity) { log_.samples.reserve(capacity); }

  void add(const PhysicalSample& p) {
    maxima_.take(p);
    const unsigned protections = p.protections & kAllProtections;
    log_.tripped |= protections;
    // Physical values for now, in the fields they will have on the chart.
    log_.samples.push_back({.time = p.time, .voltage = p.volts, .consumption = p.ampHours, .current = p.amps,
                            .temperature = p.fahrenheit, .power = p.watts, .outputThrottle = p.outputThrottle,
                            .inputThrottle = p.inputThrottle, .speed = p.kiloRpm4, .energy = p.wattHours,
                            .session = p.session, .frequency = p.frequency, .protections = protections});
  }

  // The samples on the chart's scale, their full scales and tripped flags;
  // time, session, frequency and flags carried over. The duration is the
  // caller's to set.
  LogData finish();

 private:
  LogData log_;
  Maxima maxima_;
};

}  // namespace orx::datalog
