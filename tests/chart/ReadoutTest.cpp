// The "Cursor:" row texts computed from curves held as percentages.
#include <gtest/gtest.h>

#include <cmath>

#include "base/Format.h"
#include "chart/ChartReadout.h"

namespace orx {
namespace {

const std::string& Text(const ReadoutTexts& t, ReadoutStatic which) {
  static const std::string none = "<unset>";
  const auto& slot = t[static_cast<size_t>(which)];
  return slot ? *slot : none;
}

struct Log {
  std::vector<SChartXYPoint> pts;
  // Samples at 0, 10, 20, 30, 40 s with the given chart values.
  explicit Log(std::vector<double> ys) {
    for (size_t i = 0; i < ys.size(); ++i) pts.push_back({10.0 * i, ys[i], 0});
  }
};

ChartReadoutBlock Block() {
  ChartReadoutBlock b;
  b.speedFullScale = 30;  // thousands of rpm
  b.powerFullScale = 1100;
  b.voltageFullScale = 50;
  b.currentFullScale = 36;
  b.consumptionFullScale = 2.001;
  b.energyFullScale = 40;
  for (int i = 0; i < kFlightTableSize; ++i) b.flightNumbers[i] = 1 + i / 3;
  return b;
}

TEST(ReadoutTime, FixedScaleOfTheGraphWindow) {
  // nL = nR = 1: the scale runs from x = 50 to 1200 - 50.
  EXPECT_DOUBLE_EQ(ReadoutTime(0, 220, "Time (s)", 600, 50, 1150), (600 - 50) * 220.0 / 1100);
  EXPECT_DOUBLE_EQ(ReadoutTime(10, 120, "Time (s)", 50, 50, 1150), 10);
  // Minutes on the axis: the time comes out in seconds.
  EXPECT_DOUBLE_EQ(ReadoutTime(0, 2, "Time (min)", 600, 50, 1150), (600 - 50) * 120.0 / 1100);
  // Zoomed in minutes: the minimum is minutes as well.
  EXPECT_DOUBLE_EQ(ReadoutTime(1, 2, "Time (min)", 50, 50, 1150), 60);
  EXPECT_DOUBLE_EQ(ReadoutTime(5, 9, "Time (s)", 70, 70, 70), 5);  // zero-width scale
}

TEST(ReadoutLocate, MouseOnASampleReadsThatSample) {
  Log a({0, 10, 20, 30, 40});
  const std::vector<ReadoutCurve> curves{{"OT", true, &a.pts}};
  ReadoutPosition p = LocateReadout(20, curves);
  EXPECT_EQ(p.count, 5u);
  EXPECT_EQ(p.p, 3u);  // the first strictly later
  EXPECT_TRUE(p.overData);
  EXPECT_DOUBLE_EQ(InterpolateAt(a.pts, p.p, 20), 20);
  p = LocateReadout(40, curves);
  EXPECT_FALSE(p.overData);  // at the end: tEnd must lie beyond t
  p = LocateReadout(0, curves);
  EXPECT_FALSE(p.overData);
  EXPECT_DOUBLE_EQ(InterpolateAt(a.pts, 0, -5), 0);  // before the first point: no index -1
}

TEST(ReadoutLocate, InterpolatesBetweenNeighboursAndSurvivesEqualTimes) {
  std::vector<SChartXYPoint> pts{{0, 0, 0}, {10, 50, 0}, {10, 70, 0}, {20, 10, 0}};
  EXPECT_DOUBLE_EQ(InterpolateAt(pts, 1, 4), 20);
  EXPECT_DOUBLE_EQ(InterpolateAt(pts, 2, 10), 70);  // same time twice: no division by zero
  EXPECT_DOUBLE_EQ(InterpolateAt(pts, 3, 15), 40);
  EXPECT_DOUBLE_EQ(InterpolateAt(pts, 9, 15), 40);  // index past the end: the last segment
}

TEST(ReadoutTexts, EveryQuantityInItsUnits) {
  Log iv({0, 50, 50, 50, 50}), dc({0, 25, 25, 25, 25}), te({0, 50, 50, 50, 50}), dp({0, 10, 10, 10, 10}),
      ot({0, 33.3, 33.3, 33.3, 33.3}), it({0, 50, 50, 50, 50}), rp({0, 20, 20, 20, 20}), pc({0, 25, 25, 25, 25});
  const std::vector<ReadoutCurve> curves{{"IV", true, &iv.pts}, {"PC", true, &pc.pts}, {"TE", true, &te.pts},
                                         {"DC", true, &dc.pts}, {"DP", true, &dp.pts}, {"OT", true, &ot.pts},
                                         {"IT", true, &it.pts}, {"RP", true, &rp.pts}};
  ChartReadoutBlock b = Block();
  ReadoutTexts t = ComputeReadout(15, curves, b, true);
  EXPECT_EQ(Text(t, ReadoutStatic::Time), "15.0s");
  EXPECT_EQ(Text(t, ReadoutStatic::FlightNumber), "1");  // table entry P = 2
  EXPECT_EQ(Text(t, ReadoutStatic::DriveVoltage), "25.0 V");
  EXPECT_EQ(Text(t, ReadoutStatic::DriveCurrent), "9.0 A");
  EXPECT_EQ(Text(t, ReadoutStatic::Temperature), "105.0\xB0" "F");
  EXPECT_EQ(Text(t, ReadoutStatic::DrivePower), "110 W");
  EXPECT_EQ(Text(t, ReadoutStatic::OutputThrottle), "33.3%");
  EXPECT_EQ(Text(t, ReadoutStatic::InputThrottle), "1500.0 us");
  EXPECT_EQ(Text(t, ReadoutStatic::MotorSpeed), "6000 RPM");
  EXPECT_EQ(Text(t, ReadoutStatic::PowerConsumption), "0.50 Ah");

  b.fahrenheit = false;
  b.watts = false;
  b.seconds = false;
  b.capacityUnit = 1;
  t = ComputeReadout(15, curves, b, true);
  EXPECT_EQ(Text(t, ReadoutStatic::Time), "0.2min");
  EXPECT_EQ(Text(t, ReadoutStatic::Temperature), "40.6\xB0" "C");
  EXPECT_EQ(Text(t, ReadoutStatic::DrivePower), "0.15 hp");
  EXPECT_EQ(Text(t, ReadoutStatic::PowerConsumption), "500 mAh");
}

TEST(ReadoutTexts, NumbersRoundAsPrintfDoes) {
  // Ties, values just below a tie, negative zero, a number of 300 digits,
  // and values that are not numbers.
  for (double t : {0.25, 0.35, 0.05, -0.04, 2.5e6, 1e300, std::nan(""), -HUGE_VAL})
    EXPECT_EQ(Text(ComputeReadout(t, {}, Block(), true), ReadoutStatic::Time), strprintf("%.1fs", t)) << t;
}

TEST(ReadoutTexts, PoleCountScalesTheSpeed) {
  Log rp({0, 20, 20, 20, 20});
  const std::vector<ReadoutCurve> curves{{"RP", true, &rp.pts}};
  ChartReadoutBlock b = Block();
  b.appliedPoles = 2;
  EXPECT_EQ(Text(ComputeReadout(15, curves, b, true), ReadoutStatic::MotorSpeed), "12000 RPM");
  b.appliedPoles = 14;
  EXPECT_EQ(Text(ComputeReadout(15, curves, b, true), ReadoutStatic::MotorSpeed), "1714 RPM");
}

TEST(ReadoutTexts, ConsumptionAndEnergyTakeTurnsByUnit) {
  Log pc({0, 25, 25, 25, 25}), wa({0, 50, 50, 50, 50});
  ChartReadoutBlock b = Block();
  // Ah mode: PC shown, WA hidden; the hidden WA must not blank the PC value.
  std::vector<ReadoutCurve> curves{{"PC", true, &pc.pts}, {"WA", false, &wa.pts}};
  EXPECT_EQ(Text(ComputeReadout(15, curves, b, true), ReadoutStatic::PowerConsumption), "0.50 Ah");
  // Wh mode: WA shown, PC hidden.
  b.capacityUnit = 2;
  curves = {{"PC", false, &pc.pts}, {"WA", true, &wa.pts}};
  EXPECT_EQ(Text(ComputeReadout(15, curves, b, true), ReadoutStatic::PowerConsumption), "20.00 Wh");
  // The consumption axis hidden: energy is not available.
  EXPECT_EQ(Text(ComputeReadout(15, curves, b, false), ReadoutStatic::PowerConsumption), "n/a");
}

TEST(ReadoutTexts, OutsideTheDataOnlyTheTimeIsShown) {
  Log ot({0, 10, 20, 30, 40});
  ChartReadoutBlock b = Block();
  for (double t : {-3.0, 45.0}) {
    const ReadoutTexts texts = ComputeReadout(t, {{"OT", true, &ot.pts}}, b, true);
    EXPECT_NE(Text(texts, ReadoutStatic::Time), "n/a");
    for (int i = 0; i < kReadoutStaticCount; ++i)
      if (i != static_cast<int>(ReadoutStatic::Time)) {
        EXPECT_EQ(*texts[i], "n/a") << t << " " << i;
      }
  }
  const ReadoutTexts none = ComputeReadout(5, {}, b, true);  // no data at all
  EXPECT_EQ(Text(none, ReadoutStatic::Time), "5.0s");
  EXPECT_EQ(Text(none, ReadoutStatic::MotorSpeed), "n/a");
}

TEST(ReadoutTexts, HiddenSeriesAndShortTablesShowNotAvailable) {
  Log dc({0, 10, 20, 30, 40});
  ChartReadoutBlock b = Block();
  ReadoutTexts t = ComputeReadout(15, {{"DC", false, &dc.pts}}, b, true);
  EXPECT_EQ(Text(t, ReadoutStatic::DriveCurrent), "n/a");
  EXPECT_EQ(Text(t, ReadoutStatic::DriveVoltage), "<unset>");  // no curve: left as it was
  b.flightNumbers.resize(2);  // P = 2 lies past the table
  t = ComputeReadout(15, {{"DC", true, &dc.pts}}, b, true);
  EXPECT_EQ(Text(t, ReadoutStatic::FlightNumber), "n/a");
  b.useFlightTable = false;
  b.flightNumber = 7;
  t = ComputeReadout(15, {{"DC", true, &dc.pts}}, b, true);
  EXPECT_EQ(Text(t, ReadoutStatic::FlightNumber), "7");
}

}  // namespace
}  // namespace orx
