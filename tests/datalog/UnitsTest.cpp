// Display units: values, readout texts, axis ranges and titles, statistics.
#include <gtest/gtest.h>

#include "datalog/LogUnits.h"

namespace orx::datalog {
namespace {

LogData oneLog() {
  LogData log;
  log.scales.voltage = 31;
  log.scales.current = 40;
  log.scales.power = 900;
  log.scales.speed = 20;
  log.scales.consumption = 2;
  log.scales.energy = 50;
  log.currentAxisMax = 40;
  log.consumptionAxisMax = 2;
  log.duration = 90;
  LogSample s;
  s.time = 120;
  s.voltage = 50;                    // 15.5 V
  s.current = 25;                    // 10 A
  s.power = 80;                      // 720 W
  s.temperature = 77.0 * 100 / 210;  // 77 F
  s.inputThrottle = 50;              // 1500 us
  s.outputThrottle = 40;
  s.speed = 60;                      // 12 thousand RPM at 4 poles
  s.consumption = 25;                // 0.5 Ah
  s.energy = 10;                     // 5 Wh
  log.samples = {s};
  return log;
}

std::string shown(Quantity q, const DisplayUnits& u) {
  const LogData log = oneLog();
  return readoutText(q, displayValue(q, log.samples[0], log.scales, u), u);
}

TEST(DisplayUnits, InitialUnitsReadouts) {
  const DisplayUnits u;
  EXPECT_EQ(shown(Quantity::Voltage, u), "15.5 V");
  EXPECT_EQ(shown(Quantity::Current, u), "10.0 A");
  EXPECT_EQ(shown(Quantity::Power, u), "720 W");
  EXPECT_EQ(shown(Quantity::Temperature, u), "77.0\xB0" "F");
  EXPECT_EQ(shown(Quantity::InputThrottle, u), "1500.0 us");
  EXPECT_EQ(shown(Quantity::OutputThrottle, u), "40.0%");
  EXPECT_EQ(shown(Quantity::Speed, u), "12000 RPM");
  EXPECT_EQ(shown(Quantity::Consumption, u), "0.50 Ah");
}

TEST(DisplayUnits, OtherUnitsConvertFromTheSameSample) {
  DisplayUnits u;
  u.fahrenheit = false;
  u.watts = false;
  u.poles = 14;
  u.consumption = ConsumptionUnit::mAh;
  u.seconds = false;
  EXPECT_EQ(shown(Quantity::Temperature, u), "25.0\xB0" "C");
  EXPECT_EQ(shown(Quantity::Power, u), "0.97 hp");      // 720 x 0.00134102
  EXPECT_EQ(shown(Quantity::Speed, u), "3429 RPM");     // 12 x 4 / 14 x 1000
  EXPECT_EQ(shown(Quantity::Consumption, u), "500 mAh");
  const LogData log = oneLog();
  EXPECT_DOUBLE_EQ(displayValue(Quantity::Time, log.samples[0], log.scales, u), 2);
  u.consumption = ConsumptionUnit::Wh;
  EXPECT_EQ(shown(Quantity::Consumption, u), "5.00 Wh");
}

TEST(DisplayUnits, AxesFollowTheUnits) {
  const LogData log = oneLog();
  DisplayUnits u;
  EXPECT_EQ(axisRange(Quantity::Temperature, log, u).max, 210);
  EXPECT_EQ(axisRange(Quantity::Time, log, u).max, 90);
  EXPECT_EQ(axisRange(Quantity::InputThrottle, log, u).min, 800);
  EXPECT_EQ(axisTitle(Quantity::Temperature, u), "Temperature (\xB0" "F)");
  u.fahrenheit = false;
  u.seconds = false;
  u.watts = false;
  u.poles = 8;
  u.consumption = ConsumptionUnit::mAh;
  EXPECT_DOUBLE_EQ(axisRange(Quantity::Temperature, log, u).min, -17.7);
  EXPECT_DOUBLE_EQ(axisRange(Quantity::Temperature, log, u).max, 98.8);
  EXPECT_DOUBLE_EQ(axisRange(Quantity::Time, log, u).max, 2);  // the last sample's time / 60
  EXPECT_DOUBLE_EQ(axisRange(Quantity::Power, log, u).max, 900 * kHorsepowerPerWatt);
  EXPECT_DOUBLE_EQ(axisRange(Quantity::Speed, log, u).max, 10);
  EXPECT_DOUBLE_EQ(axisRange(Quantity::Consumption, log, u).max, 2000);
  EXPECT_EQ(axisTitle(Quantity::Time, u), "Time (min)");
  EXPECT_EQ(axisTitle(Quantity::Power, u), "Motor Drive Power (hp)");
  EXPECT_EQ(axisTitle(Quantity::Consumption, u), "Power Consumption (mAh)");
  u.consumption = ConsumptionUnit::Wh;
  EXPECT_DOUBLE_EQ(axisRange(Quantity::Consumption, log, u).max, 50);
  EXPECT_EQ(axisTitle(Quantity::Consumption, u), "Power Consumption (Wh)");
  u.poles = 0;  // never divides by zero
  EXPECT_DOUBLE_EQ(axisRange(Quantity::Speed, log, u).max, 20);
}

TEST(Statistics, MinimumMaximumAverageInDisplayUnits) {
  LogData log = oneLog();
  log.samples.push_back(log.samples[0]);
  log.samples.push_back(log.samples[0]);
  log.samples[1].current = 50;  // 20 A
  log.samples[2].current = 0;
  const auto s = statisticsOf(Quantity::Current, log.samples, log.scales, DisplayUnits{});
  ASSERT_TRUE(s.has_value());
  EXPECT_DOUBLE_EQ(s->minimum, 0);
  EXPECT_DOUBLE_EQ(s->maximum, 20);
  EXPECT_DOUBLE_EQ(s->average, 10);
  EXPECT_FALSE(statisticsOf(Quantity::Current, {}, log.scales, DisplayUnits{}).has_value());
}

}  // namespace
}  // namespace orx::datalog
