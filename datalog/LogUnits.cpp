#include "datalog/LogUnits.h"

#include <algorithm>

#include "datalog/LogScales.h"
#include "datalog/NumberText.h"

namespace orx::datalog {
namespace {

double fahrenheitToCelsius(double f) { return (f - 32) * 5 / 9; }

int polesOf(const DisplayUnits& u) { return u.poles > 0 ? u.poles : 4; }

std::string withUnit(double value, int decimals, const char* unit) {
  std::string out = fixed(value, decimals);
  out += unit;
  return out;
}

}  // namespace

double displayValue(Quantity q, const LogSample& s, const FullScales& f, const DisplayUnits& u) {
  switch (q) {
    case Quantity::Voltage:
      return fromChart(s.voltage, f.voltage);
    case Quantity::Current:
      return fromChart(s.current, f.current);
    case Quantity::Temperature: {
      const double fahrenheit = fromChart(s.temperature, f.temperature);
      return u.fahrenheit ? fahrenheit : fahrenheitToCelsius(fahrenheit);
    }
    case Quantity::Power: {
      const double watts = fromChart(s.power, f.power);
      return u.watts ? watts : watts * kHorsepowerPerWatt;
    }
    case Quantity::InputThrottle:
      return 800 + s.inputThrottle * 1400 / 100;
    case Quantity::OutputThrottle:
      return fromChart(s.outputThrottle, f.outputThrottle);
    case Quantity::Speed:
      return fromChart(s.speed, f.speed) * 4 / polesOf(u) * 1000;
    case Quantity::Consumption:
      switch (u.consumption) {
        case ConsumptionUnit::Ah:
          return fromChart(s.consumption, f.consumption);
        case ConsumptionUnit::mAh:
          return fromChart(s.consumption, f.consumption) * 1000;
        case ConsumptionUnit::Wh:
          return fromChart(s.energy, f.energy);
      }
      return 0;
    case Quantity::Time:
      return u.seconds ? s.time : s.time / 60;
  }
  return 0;
}

std::string readoutText(Quantity q, double v, const DisplayUnits& u) {
  switch (q) {
    case Quantity::Voltage:
      return withUnit(v, 1, " V");
    case Quantity::Current:
      return withUnit(v, 1, " A");
    case Quantity::Temperature:
      return withUnit(v, 1, u.fahrenheit ? "\xB0" "F" : "\xB0" "C");
    case Quantity::Power:
      return u.watts ? withUnit(v, 0, " W") : withUnit(v, 2, " hp");
    case Quantity::InputThrottle:
      return withUnit(v, 1, " us");
    case Quantity::OutputThrottle:
      return withUnit(v, 1, "%");
    case Quantity::Speed:
      return withUnit(v, 0, " RPM");
    case Quantity::Consumption:
      switch (u.consumption) {
        case ConsumptionUnit::Ah:
          return withUnit(v, 2, " Ah");
        case ConsumptionUnit::mAh:
          return withUnit(v, 0, " mAh");
        case ConsumptionUnit::Wh:
          return withUnit(v, 2, " Wh");
      }
      return {};
    case Quantity::Time:
      return fixed(v, 2);
  }
  return {};
}

AxisRange axisRange(Quantity q, const LogData& log, const DisplayUnits& u) {
  const FullScales& f = log.scales;
  switch (q) {
    case Quantity::Voltage:
      return {0, f.voltage};
    case Quantity::Current:
      return {0, log.currentAxisMax};
    case Quantity::Temperature:
      return u.fahrenheit ? AxisRange{0, 210} : AxisRange{-17.7, 98.8};
    case Quantity::Power:
      return {0, u.watts ? f.power : f.power * kHorsepowerPerWatt};
    case Quantity::InputThrottle:
      return {800, 2200};
    case Quantity::OutputThrottle:
      return {0, 100};
    case Quantity::Speed:
      return {0, f.speed * 4 / polesOf(u)};
    case Quantity::Consumption:
      switch (u.consumption) {
        case ConsumptionUnit::Ah:
          return {0, log.consumptionAxisMax};
        case ConsumptionUnit::mAh:
          return {0, log.consumptionAxisMax * 1000};
        case ConsumptionUnit::Wh:
          return {0, f.energy};
      }
      return {};
    case Quantity::Time:
      if (u.seconds) return {0, log.duration};
      return {0, log.samples.empty() ? 0 : log.samples.back().time / 60};
  }
  return {};
}

std::string axisTitle(Quantity q, const DisplayUnits& u) {
  switch (q) {
    case Quantity::Temperature:
      return u.fahrenheit ? "Temperature (\xB0" "F)" : "Temperature (\xB0" "C)";
    case Quantity::Time:
      return u.seconds ? "Time (s)" : "Time (min)";
    case Quantity::Power:
      return u.watts ? "Motor Drive Power (W)" : "Motor Drive Power (hp)";
    case Quantity::Consumption:
      switch (u.consumption) {
        case ConsumptionUnit::Ah:
          return "Power Consumption (Ah)";
        case ConsumptionUnit::mAh:
          return "Power Consumption (mAh)";
        case ConsumptionUnit::Wh:
          return "Power Consumption (Wh)";
      }
      return {};
    case Quantity::Voltage:
    case Quantity::Current:
    case Quantity::InputThrottle:
    case Quantity::OutputThrottle:
    case Quantity::Speed:
      return {};
  }
  return {};
}

std::optional<Statistics> statisticsOf(Quantity q, std::span<const LogSample> samples, const FullScales& f,
                                       const DisplayUnits& u) {
  if (samples.empty()) return std::nullopt;
  Statistics s;
  s.minimum = s.maximum = displayValue(q, samples.front(), f, u);
  double sum = 0;
  for (const LogSample& x : samples) {
    const double v = displayValue(q, x, f, u);
    s.minimum = std::min(s.minimum, v);
    s.maximum = std::max(s.maximum, v);
    sum += v;
  }
  s.average = sum / static_cast<double>(samples.size());
  return s;
}

}  // namespace orx::datalog
