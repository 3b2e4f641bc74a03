// Reads the CSV text back into a log. Only a row that cannot be taken apart
// is an error; unreadable numbers read as far as their leading digits go.
#pragma once

#include <string>
#include <string_view>

#include "datalog/LogSample.h"

namespace orx::datalog {

enum class CsvParse {
  Loaded,
  NoLineFeed,  // show loadNoLineFeed(); the result is still a log, of no samples
  Malformed,   // show loadMalformed(); keep the log and notes shown before
};

struct CsvLoad {
  CsvParse status = CsvParse::Loaded;
  LogData log;
  std::string notes;             // lines joined by CR LF
  bool hasProtections = false;   // the header was long enough for that column
  int malformedLine = 0;         // 1-based line of the row that failed
};

CsvLoad parseCsv(std::string_view text);

}  // namespace orx::datalog
