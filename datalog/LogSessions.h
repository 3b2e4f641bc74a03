// Flight sessions: the list the session chooser shows and the samples of one
// chosen session.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "datalog/LogSample.h"

namespace orx::datalog {

inline constexpr int kMaxSessions = 500;

// Runs of equal session numbers in sample order, at most kMaxSessions. A run
// adds 1/f per sample to its duration, except the first sample of every run
// after the first (that interval lies between two flights).
std::vector<LogSession> sessionsOf(std::span<const LogSample> samples);

// "Session %d: %.2f Seconds (%.0f Hz)" for every entry with a duration.
std::vector<std::string> sessionTexts(std::span<const LogSession> sessions);
std::string sessionText(const LogSession& session);

// The entry number of a text of sessionTexts(): read from its ninth character
// up to the first ":". Nothing for a text shorter than "Session ".
std::optional<int> entryOfText(std::string_view text);

// The samples of entry `entry` (1..), all of them, timed from 0 by their own
// intervals; consumption and energy accumulated afresh from the first of them
// on the log's scales. Nothing when no such entry exists.
std::optional<LogData> sessionView(const LogData& log, int entry);

}  // namespace orx::datalog
