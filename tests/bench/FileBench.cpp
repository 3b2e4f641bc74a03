// Loading the largest CSV file the program accepts, and decoding a full log
// memory, each beside the time to merely read or copy the same bytes.
#include <cstring>
#include <filesystem>

#include "Bench.h"
#include "BenchLogs.h"
#include "datalog/CsvLogFile.h"
#include "datalog/CsvLogWriter.h"
#include "settingsfile/AtomicFile.h"

namespace orx::bench {
namespace {

// A CSV text of exactly kCsvMaxSize bytes: as many rows as fit, the notes
// padded to fill the rest.
std::string largestCsv() {
  datalog::LogData log = longLog(2);
  const std::tm saved{};
  std::string text;
  while (true) {
    text = datalog::csvText(log, "", saved);
    if (text.size() <= datalog::kCsvMaxSize) break;
    log.samples.resize(log.samples.size() - std::max<size_t>(1, (text.size() - datalog::kCsvMaxSize) / 80));
  }
  std::string notes(datalog::kCsvMaxSize - text.size(), 'n');
  return datalog::csvText(log, notes, saved);
}

}  // namespace

bool fileBench(int rounds) {
  std::printf("files: CPU time, median of %d interleaved runs\n", rounds);
  const std::string text = largestCsv();
  const std::string path = (std::filesystem::temp_directory_path() / "orx-bench-largest.csv").string();
  std::filesystem::remove(path);
  if (datalog::saveCsvFile(path, text) != datalog::CsvSave::Saved) {
    std::printf("  cannot write %s\n", path.c_str());
    return false;
  }
  const std::vector<std::uint8_t> memory = fullLogBytes();
  size_t rows = 0, samples = 0;
  std::vector<std::uint8_t> copy(memory.size());
  const auto t = interleaved({[&] { rows = datalog::loadCsvFile(path).load.log.samples.size(); },
                              [&] { cfg::ReadWholeFile(path, datalog::kCsvMaxSize); },
                              [&] { samples = datalog::decodeLog(memory)->samples.size(); },
                              [&] { std::memcpy(copy.data(), memory.data(), memory.size()); }},
                             rounds);
  std::filesystem::remove(path);
  std::printf("  CSV file of %zu bytes, %zu rows; log of %zu bytes, %zu samples\n", text.size(), rows,
              memory.size(), samples);
  bool met = report("CSV load", median(t[0]), "ms", 1.0, fmt("reading the file alone %.3f ms", median(t[1])));
  met = report("log decode", median(t[2]), "ms", 0.25, fmt("copying the bytes %.3f ms", median(t[3]))) && met;
  return met;
}

}  // namespace orx::bench
