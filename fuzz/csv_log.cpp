// CSV log files: parse as Load Data does. A log that loads must save and load
// again with every sample; from the first save on, load and save give the same
// file. (The first save may differ from the input: the file keeps two
// decimals, and the power is worked out from the voltage and current read.)
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "FuzzCheck.h"
#include "datalog/CsvLogReader.h"
#include "datalog/CsvLogWriter.h"
#include "datalog/LogSessions.h"

using namespace orx;

namespace {

datalog::CsvLoad loadSaved(const std::string& saved, size_t samples) {
  datalog::CsvLoad load = datalog::parseCsv(saved);
  fuzz::check(load.status == datalog::CsvParse::Loaded, "a saved log loads");
  fuzz::check(load.log.samples.size() == samples, "save and load keep every sample");
  return load;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const datalog::CsvLoad first = datalog::parseCsv(std::string_view(reinterpret_cast<const char*>(data), size));
  if (first.status != datalog::CsvParse::Loaded) return 0;
  (void)datalog::sessionsOf(first.log.samples);

  const size_t samples = first.log.samples.size();
  const std::string saved = datalog::csvText(first.log, first.notes, fuzz::savedAt());
  const datalog::CsvLoad second = loadSaved(saved, samples);
  const std::string savedAgain = datalog::csvText(second.log, second.notes, fuzz::savedAt());
  const datalog::CsvLoad third = loadSaved(savedAgain, samples);
  fuzz::checkSame(savedAgain, datalog::csvText(third.log, third.notes, fuzz::savedAt()),
                  "a saved log loads and saves to the same file");
  return 0;
}
