// Raw log memory as a download delivers it: decode the records, split the
// sessions and view each one, as the graph window does.
#include <cstddef>
#include <cstdint>
#include <span>

#include "datalog/LogDecode.h"
#include "datalog/LogRecord.h"
#include "datalog/LogSessions.h"

using namespace orx;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::span<const uint8_t> bytes(data, size);
  if (size >= 11) {
    (void)datalog::decodeRecord(bytes.first(11));
    (void)datalog::isFillerRecord(bytes.first(11));
    (void)datalog::isEndMarker(bytes.first(11));
  }
  const auto log = datalog::decodeLog(bytes);
  if (!log) return 0;
  const auto sessions = datalog::sessionsOf(log->samples);
  for (const std::string& text : datalog::sessionTexts(sessions))
    if (const auto entry = datalog::entryOfText(text)) (void)datalog::sessionView(*log, *entry);
  return 0;
}
