#include "datalog/LogSessions.h"

#include "datalog/LogScales.h"
#include "datalog/NumberText.h"

namespace orx::datalog {

std::vector<LogSession> sessionsOf(std::span<const LogSample> samples) {
  std::vector<LogSession> out;
  if (samples.empty()) return out;
  out.push_back({1, 0, 0, 0, 0});
  int current = samples.front().session;
  for (size_t i = 0; i < samples.size(); ++i) {
    const LogSample& s = samples[i];
    if (s.session == current) {
      LogSession& e = out.back();
      if (s.frequency > 0) e.duration += 1.0 / s.frequency;
      e.frequency = s.frequency;
      e.last = static_cast<int>(i);
      continue;
    }
    if (static_cast<int>(out.size()) == kMaxSessions) break;
    current = s.session;
    const int at = static_cast<int>(i);
    out.push_back({static_cast<int>(out.size()) + 1, 0, 0, at, at});
  }
  return out;
}

std::string sessionText(const LogSession& s) {
  std::string t = "Session " + std::to_string(s.entry) + ": ";
  appendFixed(t, s.duration, 2);
  t += " Seconds (";
  appendFixed(t, s.frequency, 0);
  t += " Hz)";
  return t;
}

std::vector<std::string> sessionTexts(std::span<const LogSession> sessions) {
  std::vector<std::string> out;
  for (const LogSession& s : sessions)
    if (s.duration != 0) out.push_back(sessionText(s));
  return out;
}

std::optional<int> entryOfText(std::string_view text) {
  constexpr size_t kStart = 8;  // after "Session "
  if (text.size() < kStart) return std::nullopt;
  std::string_view rest = text.substr(kStart);
  const size_t colon = rest.find(':');
  if (colon != std::string_view::npos) rest = rest.substr(0, colon);
  return leadingInt(rest);
}

std::optional<LogData> sessionView(const LogData& log, int entry) {
  const std::vector<LogSession> sessions = sessionsOf(log.samples);
  if (entry < 1 || entry > static_cast<int>(sessions.size())) return std::nullopt;
  const LogSession& chosen = sessions[static_cast<size_t>(entry - 1)];

  LogData out;
  out.scales = log.scales;
  out.currentAxisMax = log.currentAxisMax;
  out.consumptionAxisMax = log.consumptionAxisMax;
  out.tripped = log.tripped;
  const FullScales& f = log.scales;
  double time = 0, ampHours = 0, wattHours = 0;
  for (int i = chosen.first; i <= chosen.last; ++i) {
    LogSample s = log.samples[static_cast<size_t>(i)];
    const double hz = s.frequency > 0 ? s.frequency : 1;
    if (i > chosen.first) time += 1 / hz;
    const double amps = fromChart(s.current, f.current);
    const double volts = fromChart(s.voltage, f.voltage);
    ampHours += amps / 3600 / hz;
    wattHours += amps / 3600 / hz * volts;
    s.time = time;
    s.consumption = toChart(ampHours, f.consumption);
    s.energy = toChart(wattHours, f.energy);
    out.samples.push_back(s);
  }
  out.duration = time;
  return out;
}

}  // namespace orx::datalog
