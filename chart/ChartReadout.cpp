#include "chart/ChartReadout.h"

#include <algorithm>

#include "base/Format.h"

namespace orx {

namespace {

const char kNotAvailable[] = "n/a";

void Put(ReadoutTexts& texts, ReadoutStatic which, std::string text) {
  texts[static_cast<size_t>(which)] = std::move(text);
}

// "%.<decimals>f" followed by `unit`: every mouse move formats each value.
std::string Fixed(double v, int decimals, const char* unit) { return fixed(v, decimals) + unit; }

std::string SpeedText(double v, int appliedPoles) {
  if (appliedPoles == 4 || appliedPoles <= 0) return Fixed(v * 1000.0, 0, " RPM");
  return Fixed(v * 4.0 / appliedPoles * 1000.0, 0, " RPM");
}

}  // namespace

double ReadoutTime(double axisMin, double axisMax, const std::string& axisTitle, int x, int left, int right) {
  if (axisTitle != "Time (s)") {
    // Minutes on the axis; zoomed in, its minimum is minutes too.
    axisMin *= 60.0;
    axisMax *= 60.0;
  }
  if (right == left) return axisMin;
  return axisMin + (x - left) * (axisMax - axisMin) / (right - left);
}

double InterpolateAt(const std::vector<SChartXYPoint>& points, unsigned p, double t) {
  if (points.empty()) return 0.0;
  if (p >= points.size()) p = static_cast<unsigned>(points.size() - 1);
  const SChartXYPoint& b = points[p];
  // Before the first point, or two samples at one time: nothing to lean on.
  if (p == 0) return b.Y;
  const SChartXYPoint& a = points[p - 1];
  if (b.X == a.X) return b.Y;
  return a.Y + (b.Y - a.Y) / (b.X - a.X) * (t - a.X);
}

ReadoutPosition LocateReadout(double t, const std::vector<ReadoutCurve>& curves) {
  ReadoutPosition pos;
  const ReadoutCurve* first = nullptr;
  for (const ReadoutCurve& c : curves) {
    if (c.points && !c.points->empty()) {
      first = &c;
      break;
    }
  }
  if (!first) return pos;
  const auto& pts = *first->points;
  pos.count = static_cast<unsigned>(pts.size());
  // The first sample strictly later than t: a mouse exactly on a sample reads
  // that sample.
  auto later = std::find_if(pts.begin(), pts.end(), [t](const SChartXYPoint& q) { return q.X > t; });
  pos.p = later == pts.end() ? pos.count - 1 : static_cast<unsigned>(later - pts.begin());
  for (const ReadoutCurve& c : curves) {
    if (!c.points || c.points->size() < pos.count) continue;
    const double x = (*c.points)[pos.count - 1].X;
    if (x > 0.0) {
      pos.tEnd = x;
      break;
    }
  }
  pos.overData = t > 0.0 && pos.tEnd > t && pos.count > 0;
  return pos;
}

ReadoutTexts ComputeReadout(double t, const std::vector<ReadoutCurve>& curves, const ChartReadoutBlock& block,
                            bool pcAxisShown) {
  ReadoutTexts texts;
  Put(texts, ReadoutStatic::Time, block.seconds ? Fixed(t, 1, "s") : Fixed(t / 60.0, 1, "min"));
  const ReadoutPosition pos = LocateReadout(t, curves);
  if (!pos.overData) {
    for (int i = 0; i < kReadoutStaticCount; ++i)
      if (i != static_cast<int>(ReadoutStatic::Time)) texts[i] = kNotAvailable;
    return texts;
  }
  if (!block.useFlightTable)
    Put(texts, ReadoutStatic::FlightNumber, strprintf("%d", block.flightNumber));
  else if (pos.p < block.flightNumbers.size())
    Put(texts, ReadoutStatic::FlightNumber, strprintf("%d", block.flightNumbers[pos.p]));
  else
    Put(texts, ReadoutStatic::FlightNumber, kNotAvailable);  // more samples than the table holds

  for (const ReadoutCurve& c : curves) {
    const std::string& n = c.name;
    // Which static this curve fills; PC and WA share one and take turns by unit.
    ReadoutStatic target;
    if (n == "RP") target = ReadoutStatic::MotorSpeed;
    else if (n == "TE") target = ReadoutStatic::Temperature;
    else if (n == "IT") target = ReadoutStatic::InputThrottle;
    else if (n == "OT") target = ReadoutStatic::OutputThrottle;
    else if (n == "DP") target = ReadoutStatic::DrivePower;
    else if (n == "IV") target = ReadoutStatic::DriveVoltage;
    else if (n == "DC") target = ReadoutStatic::DriveCurrent;
    else if (n == "PC" && block.capacityUnit != 2) target = ReadoutStatic::PowerConsumption;
    else if (n == "WA" && block.capacityUnit == 2) target = ReadoutStatic::PowerConsumption;
    else continue;

    if (!c.shown || !c.points || pos.p >= c.points->size()) {
      Put(texts, target, kNotAvailable);
      continue;
    }
    const double y = InterpolateAt(*c.points, pos.p, t);
    std::string text;
    if (n == "RP") {
      text = SpeedText(y / 100.0 * block.speedFullScale, block.appliedPoles);
    } else if (n == "TE") {
      const double f = y / 100.0 * 210.0;
      text = block.fahrenheit ? Fixed(f, 1, "\xB0" "F") : Fixed((f - 32.0) * 5.0 / 9.0, 1, "\xB0" "C");
    } else if (n == "IT") {
      text = Fixed(800.0 + y / 100.0 * (2200.0 - 800.0), 1, " us");
    } else if (n == "OT") {
      text = Fixed(y, 1, "%");
    } else if (n == "DP") {
      const double w = y / 100.0 * block.powerFullScale;
      text = block.watts ? Fixed(w, 0, " W") : Fixed(w * 0.00134102, 2, " hp");
    } else if (n == "IV") {
      text = Fixed(y / 100.0 * block.voltageFullScale, 1, " V");
    } else if (n == "DC") {
      text = Fixed(y / 100.0 * block.currentFullScale, 1, " A");
    } else if (n == "PC") {
      const double ah = y / 100.0 * block.consumptionFullScale;
      text = block.capacityUnit == 1 ? Fixed(ah * 1000.0, 0, " mAh") : Fixed(ah, 2, " Ah");
    } else {  // WA
      text = pcAxisShown ? Fixed(y / 100.0 * block.energyFullScale, 2, " Wh") : kNotAvailable;
    }
    Put(texts, target, std::move(text));
  }
  return texts;
}

}  // namespace orx
