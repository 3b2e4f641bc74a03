#include "datalog/LogDecode.h"

#include <algorithm>

#include "datalog/LogLayout.h"
#include "datalog/LogRecord.h"
#include "datalog/LogScales.h"

namespace orx::datalog {

namespace {

PhysicalSample measured(const RawRecord& r, double& time, double& ampHours, double& wattHours) {
  PhysicalSample s;
  const double f = r.frequencyHz;
  s.frequency = r.frequencyHz;
  s.session = r.session;
  s.protections = r.protections;
  s.volts = r.voltageCentiVolts / 100.0;
  s.amps = r.currentCentiAmps / 100.0;
  s.watts = s.volts * s.amps;
  s.fahrenheit = r.temperatureC * 1.8 + 32;
  s.outputThrottle = r.outputThrottle;
  s.inputThrottle = (static_cast<double>(r.inputThrottleUs) - 800) * 100 / 1400;
  s.kiloRpm4 = r.speedValue * 60.0 * 0.5 / 1000;
  time += 1 / f;
  ampHours += s.amps / 3600 / f;
  wattHours += s.amps / 3600 / f * s.volts;
  s.time = time;
  s.ampHours = ampHours;
  s.wattHours = wattHours;
  return s;
}

}  // namespace

double durationOf(std::span<const LogSample> samples) {
  if (samples.empty()) return 0;
  double total = 0, run = 0;
  int previous = samples.front().frequency;
  for (const LogSample& s : samples) {
    if (s.frequency == previous) {
      run += 1.0 / s.frequency;
    } else {
      total += run;
      run = 0;
    }
    previous = s.frequency;
  }
  return total + run;
}

std::optional<LogData> decodeLog(std::span<const std::uint8_t> bytes) {
  if (bytes.empty()) return std::nullopt;
  // The ESC's last record is not used, but its flags count.
  const size_t records = bytes.size() / kRecordSize;
  const size_t usable = records == 0 ? 0 : records - 1;
  LogBuilder builder(usable);
  double time = 0, ampHours = 0, wattHours = 0;
  size_t used = 0;
  unsigned tripped = 0;
  for (size_t i = 0; i < records; ++i) {
    const auto record = bytes.subspan(i * kRecordSize, kRecordSize);
    if (isFillerRecord(record)) continue;
    const RawRecord r = decodeRecord(record);
    tripped |= r.protections;
    if (used == usable) continue;
    ++used;
    builder.add(measured(r, time, ampHours, wattHours));
  }
  LogData out = builder.finish();
  out.duration = durationOf(out.samples);
  out.tripped = tripped;
  return out;
}

}  // namespace orx::datalog
