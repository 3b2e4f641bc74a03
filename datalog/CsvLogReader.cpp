#include "datalog/CsvLogReader.h"

#include "datalog/CsvLogWriter.h"
#include "datalog/LogRecord.h"
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

// Line feeds counted in blocks of 255 bytes, whose count fits a byte: the
// compiler then compares and adds 16 or 32 bytes an instruction. memchr
// stopped at every line feed, a call each, and std::count widens every
// byte's count.
size_t lineCount(std::string_view text) {
  size_t lines = 1;
  const auto* p = reinterpret_cast<const unsigned char*>(text.data());
  size_t i = 0;
  for (; i + 255 <= text.size(); i += 255) {
    unsigned char block = 0;
    for (size_t k = 0; k < 255; ++k) block += p[i + k] == '\n';
    lines += block;
  }
  for (; i < text.size(); ++i) lines += p[i] == '\n';
  return lines;
}

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

// Reads a row's fields in one walk over its bytes: each number is read where
// its field starts, and the walk goes on from where the number ended to the
// comma that closes the field (a search call per field would cost more than
// the few bytes of a field). Each step is false when no comma is left, that
// is when the row has too few fields.
class Fields {
 public:
  explicit Fields(std::string_view line) : p_(line.data()), end_(line.data() + line.size()) {}
  bool integer(int& value) {
    p_ = readLeadingInt(p_, end_, value);
    return close();
  }
  bool number(double& value) {
    p_ = readLeadingDouble(p_, end_, value);
    return close();
  }
  bool skip() { return close(); }
  // The row's last field runs to the end of the line: no comma closes it.
  void last(int& value) const { readLeadingInt(p_, end_, value); }

 private:
  bool close() {
    while (p_ != end_ && *p_ != ',') ++p_;
    if (p_ == end_) return false;
    ++p_;
    return true;
  }
  const char* p_;
  const char* end_;
};

// A row's values as written; false when the row cannot be taken apart. With
// protections the row has eleven columns, else ten (whose last is not read).
struct Row {
  int session = 0, hz = 0, flags = 0;
  double volts = 0, amps = 0, fahrenheit = 0, inputUs = 0, output = 0, rpm = 0;
};
bool readRow(std::string_view line, bool withProtections, Row& r) {
  Fields f(line);
  if (!(f.integer(r.session) && f.integer(r.hz) && f.number(r.volts) && f.number(r.amps) && f.skip() &&
        f.number(r.fahrenheit) && f.number(r.inputUs) && f.number(r.output) && f.number(r.rpm)))
    return false;
  if (!withProtections) return true;
  if (!f.skip()) return false;
  f.last(r.flags);
  return true;
}

}  // namespace

CsvLoad parseCsv(std::string_view text) {
  CsvLoad out;
  if (text.find('\n') == std::string_view::npos) out.status = CsvParse::NoLineFeed;
  out.notes = notesOf(text);

  // Every line could be a row: one reservation, whatever the file holds.
  LogBuilder samples(lineCount(text));
  double time = 0, ampHours = 0, wattHours = 0, interval = 0;
  int hz = 0;
  bool headerSeen = false;
  Lines lines(text);
  std::string_view line;
  while (lines.next(line)) {
    if (line.starts_with('#')) continue;
    if (!headerSeen) {
      headerSeen = true;
      out.hasProtections = line.size() >= kLongHeader;
      continue;
    }
    // A blank line (a spreadsheet's last one) carries no row.
    if (line.empty() || line == "\r") continue;
    Row r;
    if (!readRow(line, out.hasProtections, r)) {
      out.status = CsvParse::Malformed;
      out.malformedLine = lines.number();
      out.log = {};
      return out;
    }
    if (r.hz <= 0) continue;  // no interval to place the row on
    PhysicalSample s;
    s.session = r.session;
    s.frequency = r.hz;
    s.volts = r.volts;
    s.amps = r.amps;
    s.fahrenheit = r.fahrenheit;
    s.inputThrottle = (r.inputUs - 800) * 100 / 1400;
    s.outputThrottle = r.output;
    s.kiloRpm4 = r.rpm * 0.5 / 1000;
    s.watts = s.amps * s.volts;
    if (r.hz != hz) {  // rows come in long runs of one frequency: one division per run
      hz = r.hz;
      interval = 1.0 / hz;
    }
    time += interval;
    ampHours += s.amps / 3600 / r.hz;
    wattHours += s.amps / 3600 / r.hz * s.volts;
    s.time = time;
    s.ampHours = ampHours;
    s.wattHours = wattHours;
    s.protections = r.flags > 0 ? static_cast<unsigned>(r.flags) & kAllProtections : 0;
    samples.add(s);
  }
  out.log = samples.finish();
  out.log.duration = time;
  // The top labels of these two axes would otherwise sit on the plot's edge.
  out.log.currentAxisMax = out.log.scales.current + 0.001;
  out.log.consumptionAxisMax = out.log.scales.consumption + 0.001;
  return out;
}

}  // namespace orx::datalog
