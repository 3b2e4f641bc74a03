// The CSV text of a log: notes block, saving date, hint, header, one line per
// sample. Lines end in "\n"; inside the notes block the notes' own lines are
// joined by "# Note - " on one line of the file.
#pragma once

#include <ctime>
#include <string>
#include <string_view>

#include "datalog/LogSample.h"

namespace orx::datalog {

inline constexpr const char* kCsvHeader =
    "LogSession_ID,Log_Frequency,Drive_Voltage,Drive_Current,Drive_Power,Temperature,Input_Throttle,"
    "Output_Throttle,Motor_RPM,Power_Consumption,Protections";
inline constexpr const char* kNotePrefix = "# Note - ";
inline constexpr const char* kDefaultNotes =
    "You may enter notes about your run here. They will be displayed every time this log is loaded.";
// Files above this size are refused by the loader, so none is written.
inline constexpr std::size_t kCsvMaxSize = 518400;

// "# Note - " and the notes, CR CR turned into space CR, every line feed
// replaced by the prefix.
std::string notesBlock(std::string_view notes);

// "# Saved Monday March 07 2024": English names whatever the locale.
std::string savedLine(const std::tm& when);

// One row of the columns of kCsvHeader, with its "\n". Power_Consumption is
// written in Ah on the log's consumption scale.
std::string sampleRow(const LogSample& sample, const FullScales& scales);

// The whole file.
std::string csvText(const LogData& log, std::string_view notes, const std::tm& saved);

}  // namespace orx::datalog
