#include "tools/LogGenerator.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "tools/LogRecord.h"

namespace orx::sim {

namespace {

// Small deterministic generator: the same seed gives the same log everywhere.
class Noise {
 public:
  explicit Noise(std::uint32_t seed) : state_(seed == 0 ? 0x9E3779B9u : seed) {}
  double uniform() {  // 0..1
    state_ ^= state_ << 13;
    state_ ^= state_ >> 17;
    state_ ^= state_ << 5;
    return (state_ & 0xFFFFFF) / double(0x1000000);
  }
  double around(double spread) { return (uniform() * 2.0 - 1.0) * spread; }

 private:
  std::uint32_t state_;
};

// Pilot's stick over the flight, as input throttle in microseconds, for the
// fraction x (0..1) of the session.
double stickAt(double x, Noise& noise) {
  struct Phase {
    double end;
    double from;
    double to;
  };
  static constexpr Phase kPhases[] = {
      {0.05, 1050, 1060},  // armed, props idling
      {0.10, 1060, 1560},  // take-off
      {0.32, 1480, 1500},  // hover
      {0.40, 1500, 1760},  // climb
      {0.46, 1760, 1540},  // level off
      {0.66, 1470, 1530},  // cruise / hover
      {0.74, 1530, 1800},  // second climb
      {0.86, 1420, 1380},  // descent
      {0.94, 1380, 1250},  // landing
      {1.00, 1100, 1050},  // touched down, disarming
  };
  double start = 0.0;
  for (const Phase& p : kPhases) {
    if (x <= p.end) {
      const double t = (x - start) / (p.end - start);
      return p.from + (p.to - p.from) * t + noise.around(12.0);
    }
    start = p.end;
  }
  return 1050;
}

struct Sample {
  double inputUs;
  double output;   // percent
  double amps;
};

constexpr double kCells = 12.0;
constexpr double kInternalOhms = 0.022;
constexpr double kKv = 110.0;
constexpr double kPolePairs = 7.0;

double cellVoltage(double stateOfCharge) {
  // A LiPo discharge curve: steep at both ends, flat in the middle.
  const double s = std::clamp(stateOfCharge, 0.0, 1.0);
  return 3.45 + 0.55 * s + 0.2 * std::pow(s, 6.0) - 0.25 * std::exp(-18.0 * s);
}

// Appends one session's records.
void writeSession(std::vector<RecordBytes>& out, std::size_t count, unsigned session,
                  unsigned freqCode, int changeToCode, bool lastSession,
                  const LogFill& fill, Noise& noise) {
  std::vector<Sample> samples(count);
  std::vector<unsigned> codes(count, freqCode);
  if (changeToCode >= 0) {
    for (std::size_t i = count / 2; i < count; ++i) codes[i] = static_cast<unsigned>(changeToCode);
  }
  double output = 0.0;
  double chargeAh = 0.0;
  for (std::size_t i = 0; i < count; ++i) {
    const double x = count > 1 ? double(i) / double(count - 1) : 0.0;
    Sample& s = samples[i];
    s.inputUs = std::clamp(stickAt(x, noise), 1000.0, 2000.0);
    const double target = std::clamp((s.inputUs - 1040.0) / 9.6, 0.0, 100.0);
    output += (target - output) * 0.6;  // the ESC ramps the motor
    s.output = output;
    s.amps = 0.35 + 62.0 * std::pow(output / 100.0, 1.6) + std::abs(noise.around(0.8));
    chargeAh += s.amps / 3600.0 / frequencyHz(codes[i]);
  }
  // The battery is sized so a normal flight lands with a quarter left; the
  // last one (with protection events) is flown down to the cutoff.
  const bool drainBattery = lastSession && fill.protectionEvents;
  const double capacityAh = std::max(chargeAh / (drainBattery ? 0.97 : 0.72), 0.05);

  double temperature = 24.0 + noise.around(2.0);
  double used = 0.0;
  for (std::size_t i = 0; i < count; ++i) {
    const Sample& s = samples[i];
    const double dt = 1.0 / frequencyHz(codes[i]);
    used += s.amps / 3600.0 * dt;
    const double soc = 1.0 - used / capacityAh;
    const double volts = kCells * cellVoltage(soc) - s.amps * kInternalOhms + noise.around(0.04);
    temperature += (26.0 + s.amps * 0.75 - temperature) * std::min(dt / 45.0, 1.0);
    const double rpm = kKv * volts * s.output / 100.0 * 0.92;

    LogRecord r;
    r.temperatureC = static_cast<unsigned>(std::lround(std::clamp(temperature, 0.0, 200.0)));
    r.currentCentiAmps = static_cast<unsigned>(std::lround(s.amps * 100.0));
    r.outputThrottle = static_cast<unsigned>(std::lround(s.output));
    r.speedValue = static_cast<unsigned>(std::lround(rpm * kPolePairs / 60.0));
    r.voltageCentiVolts = static_cast<unsigned>(std::lround(std::max(volts, 0.0) * 100.0));
    r.inputThrottleUs = static_cast<unsigned>(std::lround(s.inputUs));
    r.session = session;
    r.frequencyCode = codes[i];
    if (fill.protectionEvents) {
      const double x = count > 1 ? double(i) / double(count - 1) : 0.0;
      // A hot moment at the top of the second climb of the second flight.
      if (session == 2 && x > 0.72 && x < 0.74) r.protections |= kOverTemp;
      if (drainBattery && soc < 0.12) r.protections |= kUnderVoltage;
      if (drainBattery && soc < 0.06) r.protections |= kVoltageCutoff;
    }
    out.push_back(encodeRecord(r));
  }
}

}  // namespace

Bytes erasedLog() { return Bytes(kLogMemorySize, 0xFF); }

Bytes generateLog(const LogFill& fill) {
  Bytes memory = erasedLog();
  const std::size_t total = std::min(fill.bytes, kLogMemorySize) / kRecordSize;
  if (total == 0) return memory;  // erased memory starts with the end marker
  const unsigned sessions =
      static_cast<unsigned>(std::clamp<std::size_t>(fill.sessions, 1, std::min<std::size_t>(64, total)));

  Noise noise(fill.seed);
  std::vector<RecordBytes> records;
  records.reserve(total);
  // Sessions get uneven shares, as real batteries do.
  std::vector<double> weights(sessions);
  double weightSum = 0.0;
  for (unsigned s = 0; s < sessions; ++s) {
    weights[s] = 0.7 + noise.uniform() * 0.6;
    weightSum += weights[s];
  }
  static constexpr unsigned kCodes[] = {0, 1, 2, 3, 0, 0, 1, 0};
  std::size_t used = 0;
  for (unsigned s = 0; s < sessions; ++s) {
    // A couple of filler records mark where the ESC was powered up again.
    const std::size_t fillers = s == 0 ? 0 : 1 + (s % 3);
    for (std::size_t f = 0; f < fillers && used < total; ++f, ++used) records.push_back(fillerRecord());
    const std::size_t left = total - used;
    std::size_t count = s + 1 == sessions
                            ? left
                            : std::min(left, static_cast<std::size_t>(double(total) * weights[s] / weightSum));
    if (count == 0) continue;
    const unsigned code = kCodes[s % 8];
    const int changeTo = (s == 1) ? 1 : -1;  // second flight: 8 Hz, then 4 Hz
    writeSession(records, count, s + 1, s == 1 ? 0 : code, changeTo, s + 1 == sessions, fill, noise);
    used += count;
  }
  for (std::size_t i = 0; i < records.size() && i < kMaxRecords; ++i) {
    std::copy(records[i].begin(), records[i].end(), memory.begin() + static_cast<std::ptrdiff_t>(i * kRecordSize));
  }
  return memory;  // the record after the last one still reads 0xFF: the end marker
}

}  // namespace orx::sim
