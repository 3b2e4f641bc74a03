// CSV log files: parse as Load Data does; a log that loads must save and load
// back to the same file text.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "FuzzCheck.h"
#include "datalog/CsvLogReader.h"
#include "datalog/CsvLogWriter.h"
#include "datalog/LogSessions.h"

using namespace orx;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const datalog::CsvLoad first = datalog::parseCsv(std::string_view(reinterpret_cast<const char*>(data), size));
  if (first.status != datalog::CsvParse::Loaded) return 0;
  (void)datalog::sessionsOf(first.log.samples);

  const std::string saved = datalog::csvText(first.log, first.notes, fuzz::savedAt());
  const datalog::CsvLoad second = datalog::parseCsv(saved);
  fuzz::check(second.status == datalog::CsvParse::Loaded, "a saved log loads");
  fuzz::check(second.log.samples.size() == first.log.samples.size(), "save and load keep every sample");
  fuzz::check(datalog::csvText(second.log, second.notes, fuzz::savedAt()) == saved, "save, load, save gives the same file");
  return 0;
}
