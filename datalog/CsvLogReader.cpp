#include "datalog/CsvLogReader.h"

#include <algorithm>
#include <array>
#include <vector>

#include "datalog/CsvLogWriter.h"
#include "datalog/LogScales.h"
#include "datalog/NumberText.h"

namespace orx::datalog {
namespace {

constexpr size_t kLongHeader = 150;  // the header with ",Protections"
constexpr size_t kPrefixLength = 9;  // "# Note - "

// Lines end at a line feed; a carriage return before it stays in the line.
// Text after the last line feed is a line of its own.
class Lines {
 public:
  explicit Lines(std::string_view text) : text_(text) {}
  bool next(std::string_view& line) {
    if (pos_ >= text_.size()) return false;
    const size_t lf = text_.find('\n', pos_);
    const size_t end = lf == std::string_view::npos ? text_.size() : lf;
    line = text_.substr(pos_, end - pos_);
    pos_ = end + 1;
    ++number_;
    return true;
  }
  int number() const { return number_; }

 private:
  std::string_view text_;
  size_t pos_ = 0;
  int number_ = 0;
};

std::string notesOf(std::string_view text) {
  std::string joined;
  Lines lines(text);
  std::string_view line;
  bool first = true;
  while (lines.next(line) && line.starts_with(kNotePrefix)) {
    line.remove_prefix(kPrefixLength);
    if (line.ends_with('\r')) line.remove_suffix(1);
    if (!first) joined += "\r\n";
    joined += line;
    first = false;
  }
  // The writer joined the notes' own lines with the prefix (after their CR,
  // when they had one).
  std::string notes;
  notes.reserve(joined.size());
  for (size_t i = 0;;) {
    const size_t at = joined.find(kNotePrefix, i);
    notes.append(joined, i, (at == std::string::npos ? joined.size() : at) - i);
    if (at == std::string::npos) return notes;
    if (!notes.empty() && notes.back() == '\r') notes.pop_back();
    notes += "\r\n";
    i = at + kPrefixLength;
  }
}

// Splits at the first `columns - 1` commas; false when the line has fewer.
// One pass over the characters: a search call per field costs more than the
// few bytes of a field.
template <size_t N>
bool split(std::string_view line, std::array<std::string_view, N>& fields, size_t columns) {
  size_t field = 0, start = 0;
  for (size_t i = 0; i < line.size() && field + 1 < columns; ++i) {
    if (line[i] != ',') continue;
    fields[field++] = line.substr(start, i - start);
    start = i + 1;
  }
  if (field + 1 < columns) return false;
  fields[columns - 1] = line.substr(start);
  return true;
}

}  // namespace

CsvLoad parseCsv(std::string_view text) {
  CsvLoad out;
  if (text.find('\n') == std::string_view::npos) out.status = CsvParse::NoLineFeed;
  out.notes = notesOf(text);

  std::vector<PhysicalSample> samples;
  samples.reserve(static_cast<size_t>(std::count(text.begin(), text.end(), '\n')) + 1);
  double time = 0, ampHours = 0, wattHours = 0;
  unsigned tripped = 0;
  bool headerSeen = false;
  size_t columns = 10;
  Lines lines(text);
  std::string_view line;
  while (lines.next(line)) {
    if (line.starts_with('#')) continue;
    if (!headerSeen) {
      headerSeen = true;
      out.hasProtections = line.size() >= kLongHeader;
      columns = out.hasProtections ? 11 : 10;
      continue;
    }
    // A blank line (a spreadsheet's last one) carries no row.
    if (line.empty() || line == "\r") continue;
    std::array<std::string_view, 11> f;
    if (!split(line, f, columns)) {
      out.status = CsvParse::Malformed;
      out.malformedLine = lines.number();
      out.log = {};
      return out;
    }
    const int hz = leadingInt(f[1]);
    if (hz <= 0) continue;  // no interval to place the row on
    PhysicalSample s;
    s.session = leadingInt(f[0]);
    s.frequency = hz;
    s.volts = leadingDouble(f[2]);
    s.amps = leadingDouble(f[3]);
    s.fahrenheit = leadingDouble(f[5]);
    s.inputThrottle = (leadingDouble(f[6]) - 800) * 100 / 1400;
    s.outputThrottle = leadingDouble(f[7]);
    s.kiloRpm4 = leadingDouble(f[8]) * 0.5 / 1000;
    s.watts = s.amps * s.volts;
    time += 1.0 / hz;
    ampHours += s.amps / 3600 / hz;
    wattHours += s.amps / 3600 / hz * s.volts;
    s.time = time;
    s.ampHours = ampHours;
    s.wattHours = wattHours;
    if (out.hasProtections) {
      const int flags = leadingInt(f[10]);
      s.protections = flags > 0 ? static_cast<unsigned>(flags) & 0x3Fu : 0;
      tripped |= s.protections;
    }
    samples.push_back(s);
  }
  const CsvParse status = out.status;
  out.log = normalise(samples, time);
  out.log.tripped = tripped;
  // The top labels of these two axes would otherwise sit on the plot's edge.
  out.log.currentAxisMax = out.log.scales.current + 0.001;
  out.log.consumptionAxisMax = out.log.scales.consumption + 0.001;
  out.status = status;
  return out;
}

}  // namespace orx::datalog
