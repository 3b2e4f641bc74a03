// Turns the bytes of a download into the log the graph window shows.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "datalog/LogSample.h"

namespace orx::datalog {

// Total duration: the sum of the sample intervals, leaving out the interval of
// each sample whose frequency differs from the one before it.
double durationOf(std::span<const LogSample> samples);

// The whole decode. No value (nullopt) for an empty download (0 bytes): the
// caller shows emptyLogMessage() and keeps the log it had. Otherwise the
// samples are one fewer than the records delivered (the ESC's last record is
// not used), and never more than the records that are not fillers.
std::optional<LogData> decodeLog(std::span<const std::uint8_t> bytes);

}  // namespace orx::datalog
