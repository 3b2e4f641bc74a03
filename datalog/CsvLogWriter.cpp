#include "datalog/CsvLogWriter.h"

#include <cmath>

#include "datalog/LogScales.h"
#include "datalog/NumberText.h"

namespace orx::datalog {
namespace {

constexpr const char* kWeekdays[] = {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};
constexpr const char* kMonths[] = {"January", "February", "March",     "April",   "May",      "June",
                                   "July",    "August",   "September", "October", "November", "December"};

void field(std::string& row, double value, int decimals) {
  if (!row.empty()) row += ',';
  appendFixed(row, std::isfinite(value) ? value : 0, decimals);
}

}  // namespace

std::string notesBlock(std::string_view notes) {
  std::string out = kNotePrefix;
  for (size_t i = 0; i < notes.size(); ++i) {
    const char c = notes[i];
    if (c == '\r' && i + 1 < notes.size() && notes[i + 1] == '\r')
      out += ' ';
    else if (c == '\n')
      out += kNotePrefix;
    else
      out += c;
  }
  return out;
}

std::string savedLine(const std::tm& when) {
  const int wday = when.tm_wday >= 0 && when.tm_wday < 7 ? when.tm_wday : 0;
  const int mon = when.tm_mon >= 0 && when.tm_mon < 12 ? when.tm_mon : 0;
  const int day = when.tm_mday >= 0 && when.tm_mday <= 99 ? when.tm_mday : 0;
  std::string out = "# Saved ";
  out += kWeekdays[wday];
  out += ' ';
  out += kMonths[mon];
  out += ' ';
  out += static_cast<char>('0' + day / 10);
  out += static_cast<char>('0' + day % 10);
  out += ' ';
  out += std::to_string(1900LL + when.tm_year);
  return out;
}

std::string sampleRow(const LogSample& s, const FullScales& f) {
  std::string row;
  field(row, s.session, 0);
  field(row, s.frequency, 0);
  field(row, fromChart(s.voltage, f.voltage), 2);
  field(row, fromChart(s.current, f.current), 2);
  field(row, fromChart(s.power, f.power), 2);
  field(row, fromChart(s.temperature, f.temperature), 2);
  field(row, 800 + s.inputThrottle * 1400 / 100, 0);
  field(row, fromChart(s.outputThrottle, f.outputThrottle), 2);
  // Thousands of RPM for 4 poles back to the electrical RPM the ESC logs.
  field(row, fromChart(s.speed, f.speed) * 2000, 0);
  field(row, fromChart(s.consumption, f.consumption), 2);
  field(row, s.protections & 0x3Fu, 0);
  row += '\n';
  return row;
}

std::string csvText(const LogData& log, std::string_view notes, const std::tm& saved) {
  std::string out = notesBlock(notes);
  out += '\n';
  out += savedLine(saved);
  out += "\n# To calculate the rpm of your motor: take the Motor_RPM and divide by the number of motor poles / 2";
  out += '\n';
  out += kCsvHeader;
  out += '\n';
  for (const LogSample& s : log.samples) out += sampleRow(s, log.scales);
  return out;
}

}  // namespace orx::datalog
