// The "Cursor:" row of the graph window: the time under the mouse and, over
// the data, each quantity's value there in the chosen units. Pure: the
// control feeds it the curves and puts the texts into the host's labels.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "chart/ChartPoints.h"

namespace orx {

enum class ReadoutStatic {
  MotorSpeed,
  Temperature,
  InputThrottle,
  OutputThrottle,
  DrivePower,
  DriveVoltage,
  DriveCurrent,
  PowerConsumption,
  Time,
  FlightNumber,
};
inline constexpr int kReadoutStaticCount = 10;

inline constexpr int kFlightTableSize = 5888;

// Filled by the graph window; the unit dialogs change the flags.
struct ChartReadoutBlock {
  bool fahrenheit = true;
  bool seconds = true;
  bool watts = true;
  int capacityUnit = 0;  // 0 Ah, 1 mAh, 2 Wh
  std::vector<int> flightNumbers = std::vector<int>(kFlightTableSize, 0);
  bool useFlightTable = true;
  int flightNumber = -1;
  double speedFullScale = 0.0;  // thousands of rpm at 4 poles
  double powerFullScale = 0.0;  // W
  double voltageFullScale = 0.0;
  double currentFullScale = 0.0;
  double consumptionFullScale = 0.0;  // Ah
  double energyFullScale = 0.0;       // Wh
  double timeFullScale = 0.0;         // s
  int appliedPoles = 4;   // the count the speed axis was last scaled for
  int requestedPoles = 4;
};

// One curve as the read-out sees it: its key, whether it is shown, its points
// ordered by time.
struct ReadoutCurve {
  std::string name;
  bool shown = true;
  const std::vector<SChartXYPoint>* points = nullptr;
};

// Time in seconds at pixel x of a time scale running from pixel `left` to
// `right`. The axis range is in minutes unless its title is "Time (s)".
double ReadoutTime(double axisMin, double axisMax, const std::string& axisTitle, int x, int left, int right);

// Where t falls in the data: N is the point count of the first curve with
// points, P the first of its points later than t (N - 1 when none is), tEnd
// the last time of the data. Values are read out only when `overData`.
struct ReadoutPosition {
  unsigned count = 0;
  unsigned p = 0;
  double tEnd = 0.0;
  bool overData = false;
};
ReadoutPosition LocateReadout(double t, const std::vector<ReadoutCurve>& curves);

// A text per static; an empty optional leaves that static as it is.
using ReadoutTexts = std::array<std::optional<std::string>, kReadoutStaticCount>;

// `pcAxisShown`: whether the axis keyed "PC" is shown (the energy read-out
// depends on it).
ReadoutTexts ComputeReadout(double t, const std::vector<ReadoutCurve>& curves, const ChartReadoutBlock& block,
                            bool pcAxisShown);

// The value of a curve at time t between its points P - 1 and P.
double InterpolateAt(const std::vector<SChartXYPoint>& points, unsigned p, double t);

}  // namespace orx
