// The decoded log as the graph window keeps it: samples in chart values
// (percent of each quantity's full scale, which is also its axis maximum),
// the full scales, the total duration and the latched protection flags.
#pragma once

#include <vector>

namespace orx::datalog {

// One sample as measured, before it is put on the chart's 0..100 scale.
struct PhysicalSample {
  double time = 0;            // seconds from the start of the log, cumulative
  double volts = 0;
  double amps = 0;
  double watts = 0;
  double fahrenheit = 0;
  double outputThrottle = 0;  // percent
  double inputThrottle = 0;   // percent of 800..2200 us
  double kiloRpm4 = 0;        // thousands of RPM for a 4-pole motor
  double ampHours = 0;        // accumulated from the first sample
  double wattHours = 0;       // accumulated from the first sample
  int session = 1;
  int frequency = 8;          // samples per second
  unsigned protections = 0;   // 0..63
};

struct LogSample {
  double time = 0;            // seconds
  double voltage = 0;         // chart values from here ...
  double consumption = 0;
  double current = 0;
  double temperature = 0;
  double power = 0;
  double outputThrottle = 0;  // percent as recorded
  double inputThrottle = 0;   // percent of 800..2200 us
  double speed = 0;
  double energy = 0;          // ... to here
  int session = 1;            // 1..64 from the ESC; any integer from a file
  int frequency = 8;          // samples per second
  unsigned protections = 0;   // 0..63
};

// Physical value = chart value x full scale / 100. A full scale of 0 means
// the quantity never rose above 0: its chart values are all 0.
struct FullScales {
  double voltage = 0;         // V
  double current = 0;         // A
  double power = 0;           // W
  double temperature = 210;   // degrees F
  double outputThrottle = 100;
  double speed = 0;           // thousands of RPM, 4 poles
  double consumption = 0;     // Ah
  double energy = 0;          // Wh
};

struct LogData {
  std::vector<LogSample> samples;
  FullScales scales;
  double duration = 0;        // seconds; the maximum of the time axes
  unsigned tripped = 0;       // protection flags seen anywhere in the log
  // Axis maxima where they differ from the full scale (a CSV load adds 0.001
  // to the current and consumption axes so their top label is not cut).
  double currentAxisMax = 0;
  double consumptionAxisMax = 0;
};

// One entry of the session list: a run of samples with one session number.
struct LogSession {
  int entry = 0;              // 1.., in order of appearance
  double duration = 0;        // seconds; the run's first interval is not counted
  double frequency = 0;       // Hz of the run's last sample
  int first = 0;              // index of the run's first sample
  int last = 0;               // index of its last sample
};

}  // namespace orx::datalog
