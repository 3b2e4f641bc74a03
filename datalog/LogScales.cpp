#include "datalog/LogScales.h"

#include <algorithm>
#include <cmath>
#include <utility>

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
  for (const PhysicalSample& s : samples) m.take(s);
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

LogData LogBuilder::finish() {
  LogData out = std::move(log_);
  out.scales = fullScalesOf(maxima_);
  out.currentAxisMax = out.scales.current;
  out.consumptionAxisMax = out.scales.consumption;
  const FullScales& f = out.scales;
  for (LogSample& s : out.samples) {
    // toChart's quotients, taken without a branch between them so that the
    // compiler can pair the divisions; where all are finite (their sum is)
    // they are what toChart gives, and toChart settles the rare rest.
    const double voltage = s.voltage * 100 / f.voltage, consumption = s.consumption * 100 / f.consumption,
                 current = s.current * 100 / f.current, temperature = s.temperature * 100 / f.temperature,
                 power = s.power * 100 / f.power, speed = s.speed * 100 / f.speed, energy = s.energy * 100 / f.energy;
    if (std::isfinite(voltage + consumption + current + temperature + power + speed + energy)) {
      s.voltage = voltage;
      s.consumption = consumption;
      s.current = current;
      s.temperature = temperature;
      s.power = power;
      s.speed = speed;
      s.energy = energy;
    } else {
      s.voltage = toChart(s.voltage, f.voltage);
      s.consumption = toChart(s.consumption, f.consumption);
      s.current = toChart(s.current, f.current);
      s.temperature = toChart(s.temperature, f.temperature);
      s.power = toChart(s.power, f.power);
      s.speed = toChart(s.speed, f.speed);
      s.energy = toChart(s.energy, f.energy);
    }
    if (!std::isfinite(s.outputThrottle)) s.outputThrottle = 0;
    if (!std::isfinite(s.inputThrottle)) s.inputThrottle = 0;
  }
  return out;
}

}  // namespace orx::datalog
