#include "datalog/LogScales.h"

#include <algorithm>
#include <cmath>

namespace orx::datalog {
namespace {

double sane(double fullScale) { return std::isfinite(fullScale) && fullScale > 0 ? fullScale : 0; }

}  // namespace

double raiseToMultiple(double x, double m) {
  const double r = std::fmod(x, m);
  return r == 0 ? x : x + m - r;
}

Maxima maximaOf(std::span<const PhysicalSample> samples) {
  Maxima m;
  for (const PhysicalSample& s : samples) {
    m.volts = std::max(m.volts, s.volts);
    m.amps = std::max(m.amps, s.amps);
    m.watts = std::max(m.watts, s.watts);
    m.kiloRpm4 = std::max(m.kiloRpm4, s.kiloRpm4);
    m.ampHours = std::max(m.ampHours, s.ampHours);
    m.wattHours = std::max(m.wattHours, s.wattHours);
  }
  return m;
}

FullScales fullScalesOf(const Maxima& m) {
  FullScales f;
  f.voltage = sane(std::ceil(m.volts) + 5);
  f.current = sane(raiseToMultiple(std::ceil(m.amps), 5));
  f.power = sane(raiseToMultiple(std::ceil(m.watts), 300));
  f.speed = sane(raiseToMultiple(std::ceil(m.kiloRpm4), 10));
  // One scale for the stored values, the axis and the readouts alike.
  f.consumption = sane(std::ceil(m.ampHours));
  f.energy = sane(std::ceil(m.wattHours));
  return f;
}

double toChart(double value, double fullScale) {
  if (fullScale == 0 || !std::isfinite(value)) return 0;
  double chart = value * 100 / fullScale;
  if (!std::isfinite(chart)) chart = value / fullScale * 100;  // value near the double's limit
  return std::isfinite(chart) ? chart : 0;
}

double fromChart(double chartValue, double fullScale) { return chartValue * fullScale / 100; }

LogData normalise(std::span<const PhysicalSample> samples, double duration) {
  LogData out;
  out.scales = fullScalesOf(maximaOf(samples));
  out.currentAxisMax = out.scales.current;
  out.consumptionAxisMax = out.scales.consumption;
  out.duration = duration;
  out.samples.reserve(samples.size());
  const FullScales& f = out.scales;
  for (const PhysicalSample& p : samples) {
    LogSample s;
    s.time = p.time;
    s.voltage = toChart(p.volts, f.voltage);
    s.consumption = toChart(p.ampHours, f.consumption);
    s.current = toChart(p.amps, f.current);
    s.temperature = toChart(p.fahrenheit, f.temperature);
    s.power = toChart(p.watts, f.power);
    s.outputThrottle = std::isfinite(p.outputThrottle) ? p.outputThrottle : 0;
    s.inputThrottle = std::isfinite(p.inputThrottle) ? p.inputThrottle : 0;
    s.speed = toChart(p.kiloRpm4, f.speed);
    s.energy = toChart(p.wattHours, f.energy);
    s.session = p.session;
    s.frequency = p.frequency;
    s.protections = p.protections & 0x3Fu;
    out.tripped |= s.protections;
    out.samples.push_back(s);
  }
  return out;
}

}  // namespace orx::datalog
