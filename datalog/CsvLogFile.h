// Saving and loading CSV log files. Files are Windows-1252 bytes, kept as
// they are.
#pragma once

#include <ctime>
#include <string>

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
