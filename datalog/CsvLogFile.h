// Saving and loading CSV log files. Files are Windows-1252 bytes, kept as
// they are.
#pragma once

#include <ctime>
#include <string>
#include <string_view>

#include "base/Messages.h"
#include "datalog/CsvLogReader.h"

namespace orx::datalog {

enum class CsvSave {
  Saved,
  Exists,    // saving over a file is refused: saveCannotCreate()
  TooLarge,  // the text passes kCsvMaxSize, so it could not be loaded again
  Failed,    // could not be written (nothing is left behind): saveCannotCreate()
};

// Writes `text` to `path` only when no such file exists yet. The file appears
// whole or not at all.
CsvSave saveCsvFile(const std::string& path, const std::string& text);

// The box for a save outcome other than Saved.
Message saveMessage(CsvSave outcome);

// Save Data once the file is chosen: the log and its notes as CSV text into
// `path`; a failure shows its box.
CsvSave saveLogData(const LogData& log, std::string_view notes, const std::string& path, Prompter& prompter);
std::tm localTimeNow();

enum class CsvFileLoad {
  Loaded,
  NoLineFeed,  // loadNoLineFeed(), then a log of no samples
  Malformed,   // loadMalformed(); nothing replaced
  TooLarge,    // above kCsvMaxSize, unreadable or missing: loadTooLarge()
};

struct CsvFileResult {
  CsvFileLoad status = CsvFileLoad::TooLarge;
  CsvLoad load;  // valid for Loaded and NoLineFeed
};

CsvFileResult loadCsvFile(const std::string& path);

}  // namespace orx::datalog
